#include <gtest/gtest.h>

#include <string>

#include "ktutil.h"
#include "support/canary.h"

namespace {

TEST(Strncpy0, CutsAndTerminatesAtEverySize) {
  const std::string src = "firewall";  // exact size 9
  for (int size : {0, 1, 8, 9, 10}) {
    kttest::CanaryBuffer buf(size);
    EXPECT_EQ(strncpy0(buf.raw(), src.c_str(), size), buf.raw());
    EXPECT_TRUE(buf.Intact()) << size;
    if (size > 0) {
      EXPECT_EQ(buf.text(), src.substr(0, size - 1)) << size;
    }
  }
  char buf[4] = "xyz";
  EXPECT_STREQ(strncpy0(buf, nullptr, sizeof buf), "");
}

TEST(Stristr, FoldsOnlyAsciiLetters) {
  const char *text = "aab";
  EXPECT_EQ(stristr(text, "AB"), text + 1);
  EXPECT_EQ(stristr(text, ""), text);
  EXPECT_EQ(stristr("abc", "abcd"), nullptr);  // runs into the terminator
  EXPECT_EQ(stristr("", ""), nullptr);
  EXPECT_EQ(stristr(nullptr, "a"), nullptr);
  // No code-page folding above 127, and no folding of "[" against "{".
  EXPECT_EQ(stristr("\xe9t\xe9", "\xc9"), nullptr);
  EXPECT_EQ(stristr("[", "{"), nullptr);
}

}  // namespace
