#include <gtest/gtest.h>

#include <string>

#include "ktutil.h"
#include "support/canary.h"

using kttest::CanaryBuffer;

namespace {

TEST(Strncpy0, CutsAndTerminatesAtEverySize) {
  const std::string src = "firewall";  // 8 characters, exact size 9
  for (int size : {1, 2, 8, 9, 10}) {
    CanaryBuffer buf(size);
    EXPECT_EQ(strncpy0(buf.raw(), src.c_str(), size), buf.raw());
    EXPECT_TRUE(buf.Intact()) << size;
    EXPECT_EQ(buf.text(), src.substr(0, size - 1)) << size;
    EXPECT_TRUE(buf.Terminated()) << size;
  }
  CanaryBuffer none(0);
  strncpy0(none.raw(), src.c_str(), 0);
  EXPECT_TRUE(none.Intact());
  EXPECT_EQ(strncpy0(nullptr, src.c_str(), 0), nullptr);
  EXPECT_EQ(strncpy0(nullptr, src.c_str(), -3), nullptr);
}

TEST(Strncpy0, NullSourceGivesEmptyText) {
  char buf[4] = "xyz";
  strncpy0(buf, nullptr, sizeof buf);
  EXPECT_STREQ(buf, "");
}

TEST(Stristr, FoldsOnlyAsciiLetters) {
  const char *text = "aab";
  EXPECT_EQ(stristr(text, "AB"), text + 1);
  EXPECT_EQ(stristr("Monitor Service", "SERVICE"), std::string("Service"));
  EXPECT_EQ(stristr("abc", "abcd"), nullptr);  // runs off the end
  EXPECT_EQ(stristr("abc", "x"), nullptr);
  // Bytes above 127 compare as they are: no code-page folding.
  EXPECT_EQ(stristr("\xe9t\xe9", "\xc9"), nullptr);
  EXPECT_NE(stristr("\xe9t\xe9", "T\xe9"), nullptr);
  // Brackets and the like sit between the cases and must not fold.
  EXPECT_EQ(stristr("[", "{"), nullptr);
}

TEST(Stristr, EmptyAndNullArguments) {
  const char *text = "text";
  EXPECT_EQ(stristr(text, ""), text);
  EXPECT_EQ(stristr("", ""), nullptr);
  EXPECT_EQ(stristr("", "a"), nullptr);
  EXPECT_EQ(stristr(nullptr, "a"), nullptr);
  EXPECT_EQ(stristr(text, nullptr), text);
}

}  // namespace
