#include <gtest/gtest.h>

#include <string>

#include "support/canary.h"
#include "web/update_answer.h"

namespace {

TEST(UpdateAnswer, TheFirstLineWithTheWholeKeyGivesItsValueCutToTheRoom) {
  const std::string k127(127, 'k'), k300(300, 'u');
  const struct {
    std::string answer;
    const char *key;
    int room;
    const char *value;  // null: not found, destination untouched
  } cases[] = {
      {"UpdateAvailableSoon=No\nUpdateAvailable=Yes\n", "UpdateAvailable", 128, "Yes"},
      {"UpdateAvailable \t = Yes", "UpdateAvailable", 128, " Yes"},
      {"A=1\r\nB=two words \r\nB=3", "B", 256, "two words "},
      {"A=1\rB=2\n", "B", 256, nullptr},  // a lone CR ends the value, not the line
      {" B=1\nb=2\nB 3=4\nB\n=5", "B", 256, nullptr},
      {"B=x\0\nC=y", "C", 256, nullptr},  // the text ends at its NUL
      {"B=\n", "B", 256, ""},
      {"B=" + k127, "B", 128, k127.c_str()},
      {"B=" + k300 + "\n", "B", 256, k300.substr(0, 255).c_str()},
      {"B=1", "B", 0, nullptr},
  };
  for (const auto &c : cases) {
    kttest::CanaryBuffer dest(c.room);
    if (c.room > 0) dest.raw()[0] = '\0';
    const bool found = kt::FindAnswerValue(c.answer.c_str(), c.key, dest.raw(), c.room);
    EXPECT_EQ(found, c.value != nullptr) << c.answer;
    EXPECT_TRUE(dest.Intact()) << c.answer;
    EXPECT_EQ(dest.text(), found ? c.value : "") << c.answer;
  }
}

}  // namespace
