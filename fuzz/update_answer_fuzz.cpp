// The update server's answer over arbitrary text, against a plain reading
// of the rule: the first line that starts with the key, blanks, "=".
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "web/update_answer.h"

namespace {

bool Expected(const std::string &answer, const std::string &key, std::string *value) {
  std::istringstream lines(answer.c_str());  // up to the first NUL
  for (std::string line; std::getline(lines, line);) {
    if (line.compare(0, key.size(), key) != 0) continue;
    const size_t equals = line.find_first_not_of(" \t", key.size());
    if (equals == std::string::npos || line[equals] != '=') continue;
    *value = line.substr(equals + 1, line.find('\r', equals) - equals - 1).substr(0, 127);
    return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string answer(reinterpret_cast<const char *>(data), size);
  for (const char *key : {"UpdateAvailable", "U", ""}) {
    char value[129];
    value[128] = '\x5A';  // a write past the room given shows here
    std::string expected;
    const bool found = kt::FindAnswerValue(answer.c_str(), key, value, 128);
    if (found != Expected(answer, key, &expected) || value[128] != '\x5A' ||
        (found && expected != value))
      std::abort();
  }
  return 0;
}
