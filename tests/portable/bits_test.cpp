#include <gtest/gtest.h>

#include "ktutil.h"

namespace {

TEST(Rotate, CountIsTakenModulo32) {
  EXPECT_EQ(RotateLeft(0x80000001u, 1), 0x00000003u);
  EXPECT_EQ(RotateRight(0x80000001u, 1), 0xC0000000u);
  EXPECT_EQ(RotateLeft(0x12345678u, 0), 0x12345678u);
  EXPECT_EQ(RotateLeft(0x12345678u, 32), 0x12345678u);
  EXPECT_EQ(RotateLeft(0x12345678u, 36), RotateLeft(0x12345678u, 4));
  EXPECT_EQ(RotateRight(0x12345678u, -4), RotateLeft(0x12345678u, 4));
  for (int n = 0; n < 40; ++n)
    EXPECT_EQ(RotateRight(RotateLeft(0xDEADBEEFu, n), n), 0xDEADBEEFu) << n;
}

TEST(StatusFlags, SharedBitsRiseOnceAndFallOnce) {
  WORD counters[31] = {};
  EXPECT_EQ(AddStatusFlags(5, counters), 5u);
  EXPECT_EQ(AddStatusFlags(5, counters), 0u);
  EXPECT_EQ(counters[0], 2);
  EXPECT_EQ(counters[2], 2);
  EXPECT_EQ(DelStatusFlags(1, counters), 0u);
  EXPECT_EQ(counters[0], 1);
  EXPECT_EQ(DelStatusFlags(1 | 0x80000000u, counters), 1u);
  EXPECT_EQ(counters[0], 0);
  // Bits whose counter is already 0 are ignored.
  EXPECT_EQ(DelStatusFlags(1, counters), 0u);
  EXPECT_EQ(counters[0], 0);
  EXPECT_EQ(DelStatusFlags(4, counters), 0u);
  EXPECT_EQ(DelStatusFlags(4, counters), 4u);
}

TEST(StatusFlags, Bit31IsNeverAStatusBit) {
  WORD counters[32] = {};
  counters[31] = 0x7777;  // one past the caller's 31 counters
  EXPECT_EQ(AddStatusFlags(0xFFFFFFFFu, counters), 0x7FFFFFFFu);
  EXPECT_EQ(counters[31], 0x7777);
  EXPECT_EQ(DelStatusFlags(0xFFFFFFFFu, counters), 0x7FFFFFFFu);
  EXPECT_EQ(counters[31], 0x7777);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(counters[i], 0) << i;
}

TEST(StatusFlags, CountersWrapAt16Bits) {
  WORD counters[31] = {};
  counters[3] = 0xFFFF;
  EXPECT_EQ(AddStatusFlags(8, counters), 0u);
  EXPECT_EQ(counters[3], 0);
  EXPECT_EQ(AddStatusFlags(8, counters), 8u);
}

}  // namespace
