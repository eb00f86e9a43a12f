#include "web/update_answer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(UpdateAnswer, TheFirstLineWithTheWholeKeyThenEqualsGivesTheValue) {
  const std::string k300(300, 'k'), none = "untouched";
  const std::pair<std::string, std::string> cases[] = {
      {"KeySoon=No\r\nKey \t= Yes \r\nKey=2", " Yes "},
      {"A=1\rKey=2\n Key=3\nkey=4\nKey 5=6\nKey\n=7", none},  // a lone CR ends no line
      {"Key=\n", ""},
      {std::string("A=1\0\nKey=2", 11), none},  // the text ends at its NUL
      {"Key=" + k300, k300.substr(0, 255)},
  };
  for (const auto &[answer, value] : cases) {
    char found[256] = "untouched";
    EXPECT_EQ(kt::FindAnswerValue(answer.c_str(), "Key", found, sizeof found),
              value != none);
    EXPECT_EQ(found, value) << answer;
  }
}

}  // namespace
