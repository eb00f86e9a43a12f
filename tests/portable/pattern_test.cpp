#include <gtest/gtest.h>

#include <string>

#include "ktutil.h"
#include "portable/pattern_reference.h"

namespace {

// Agreement with backtracking on short inputs is checked by the fuzzer
// (fuzz/pattern_fuzz.cpp); here what its inputs do not reach.
TEST(MatchWithPattern, NullsLongSegmentsAndHostilePatterns) {
  EXPECT_FALSE(MatchWithPattern(nullptr, "A"));
  EXPECT_FALSE(MatchWithPattern("*", nullptr));
  // Long segments go through the bit-parallel search.
  const std::string seg = "ABCDEFGHIJ?LMNOPQRSTU";
  const std::string text = std::string(500, 'x') + "abcdefghijklmnopqrstu" + "yz";
  for (const char *tail : {"*", "YZ", "*Q", "Y"}) {
    EXPECT_EQ(MatchWithPattern(("*" + seg + tail).c_str(), text.c_str()) != FALSE,
              kttest::ReferenceMatch("*" + seg + tail, text))
        << tail;
  }
  // Twenty star-separated letters against 100,000 characters: backtracking
  // would try every way of placing the A's; the answer comes at once (no
  // timing asserted). The final "!" keeps the text from running out before
  // a star, which would match at once.
  std::string hostile;
  for (int i = 0; i < 19; ++i) hostile += "*A";
  hostile += "*B";
  std::string many = std::string(100000, 'a') + "!";
  EXPECT_FALSE(MatchWithPattern(hostile.c_str(), many.c_str()));
  many.insert(many.size() - 1, "b");
  EXPECT_TRUE(MatchWithPattern((hostile + "*").c_str(), many.c_str()));
  EXPECT_FALSE(MatchWithPattern((hostile + "*C").c_str(), many.c_str()));
}

}  // namespace
