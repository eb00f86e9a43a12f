#include "config/scramble.h"

#include <gtest/gtest.h>

#include <string>

#include "support/canary.h"

namespace {

std::string Scramble(const std::string &text) {
  std::string out(kt::ScrambledSize(text.size()), '\0');
  kt::ScrambleText(text.c_str(), &out[0]);
  return out.c_str();
}

TEST(Scramble, StoredFormsNeverChangeEveryByteRoundTripsAndReadsStayWithinSize) {
  // Texts stored by earlier installations must read back: these bytes are fixed.
  EXPECT_EQ(Scramble("secret"), "~\x05\x68\x26\x7E\x68\x73");
  EXPECT_EQ(Scramble("Tessaly 7"), "~\x52\x68\x05\x05\x4C\x1C\x42\x7D\x72");
  EXPECT_EQ(Scramble("\x01~\xE9"), "~\x75\x2C\xE9");
  // Every byte round-trips, and none below 128 stays itself.
  std::string all;
  for (int c = 1; c <= 255; ++c) all += static_cast<char>(c);
  std::string stored = Scramble(all), back(stored.size() + 1, 'x');
  ASSERT_EQ(stored.size(), all.size() + 1);  // no zero byte inside
  for (int i = 0; i < 127; ++i) EXPECT_NE(stored[i + 1], all[i]) << i + 1;
  EXPECT_EQ(stored.substr(128), all.substr(127));
  kt::UnscrambleText(stored.c_str(), back.size(), &back[0]);
  EXPECT_EQ(back.c_str(), all);

  // Sizes 0, 1, exact - 1 and exact, for a stored form (which may fill the size
  // unterminated) and a plain text.
  for (const std::string &form : {Scramble("abc"), std::string("abc")}) {
    for (int size : {0, 1, 3, 4}) {
      kttest::CanaryBuffer out(size);
      kt::UnscrambleText(form.c_str(), size, out.raw());
      EXPECT_EQ(out.text(), std::string("abc", size > 0 ? size - 1 : 0)) << size;
      EXPECT_TRUE(out.Intact()) << form << " size " << size;
    }
  }
}

}  // namespace
