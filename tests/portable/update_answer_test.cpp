#include "web/update_answer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(UpdateAnswer, TheFirstLineWithTheWholeKeyThenEqualsGivesTheValue) {
  const std::string k300(300, 'k');
  const struct {
    std::string answer;
    const char *value;  // null: not found, the destination untouched
  } cases[] = {
      {"KeySoon=No\r\nKey \t= Yes \r\nKey=2", " Yes "},
      {"A=1\rKey=2\n Key=3\nkey=4\nKey 5=6\nKey\n=7", nullptr},  // a lone CR ends no line
      {"Key=\n", ""},
      {"A=1\0\nKey=2", nullptr},  // the text ends at its NUL
      {"Key=" + k300, k300.substr(0, 255).c_str()},
  };
  for (const auto &c : cases) {
    char value[256] = "untouched";
    EXPECT_EQ(kt::FindAnswerValue(c.answer.c_str(), "Key", value, sizeof value),
              c.value != nullptr);
    EXPECT_STREQ(value, c.value ? c.value : "untouched") << c.answer;
  }
}

}  // namespace
