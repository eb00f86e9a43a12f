// The wildcard matcher against plain backtracking on short inputs; longer
// ones must simply finish.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ktutil.h"
#include "tests/portable/pattern_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  const size_t split = input.find('\n');
  if (split == std::string::npos) return 0;
  // Texts end at their first zero, as the matcher sees them.
  const std::string pattern = input.substr(0, split).c_str();
  const std::string text = input.substr(split + 1).c_str();
  const bool fast = MatchWithPattern(pattern.c_str(), text.c_str()) != FALSE;
  if (pattern.size() <= 12 && text.size() <= 24 &&
      fast != kttest::ReferenceMatch(pattern, text))
    std::abort();
  return 0;
}
