#include <gtest/gtest.h>

#include "ktutil.h"

namespace {

TEST(Rotate, CountIsTakenModulo32) {
  EXPECT_EQ(RotateLeft(0x80000001u, 1), 0x00000003u);
  EXPECT_EQ(RotateRight(0x80000001u, 1), 0xC0000000u);
  EXPECT_EQ(RotateLeft(0x12345678u, 32), 0x12345678u);
  EXPECT_EQ(RotateRight(0x12345678u, -4), RotateLeft(0x12345678u, 36));
}

TEST(StatusFlags, SharedBitsRiseOnceAndFallOnce) {
  WORD counters[32] = {};
  counters[31] = 0x7777;  // one past the caller's 31 counters
  EXPECT_EQ(AddStatusFlags(5, counters), 5u);
  EXPECT_EQ(AddStatusFlags(5, counters), 0u);
  EXPECT_EQ(DelStatusFlags(1, counters), 0u);
  EXPECT_EQ(DelStatusFlags(1 | 0x80000000u, counters), 1u);
  EXPECT_EQ(DelStatusFlags(1, counters), 0u);  // already down: ignored
  EXPECT_EQ(counters[0], 0);
  EXPECT_EQ(counters[2], 2);
  // Bit 31 is never a status bit, and counters wrap at 16 bits.
  EXPECT_EQ(AddStatusFlags(0xFFFFFFFFu, counters), 0x7FFFFFFBu);
  EXPECT_EQ(counters[31], 0x7777);
  counters[3] = 0xFFFF;
  EXPECT_EQ(AddStatusFlags(8, counters), 0u);
  EXPECT_EQ(AddStatusFlags(8, counters), 8u);
}

}  // namespace
