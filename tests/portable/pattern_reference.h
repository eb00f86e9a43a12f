// Wildcard matching written as plain backtracking: the answer the fast
// matcher must give. Exponential on hostile input; short inputs only.
#pragma once

#include <string>

namespace kttest {

// text is already in upper case.
inline bool BacktrackMatch(const char *p, const char *t) {
  if (*t == '\0') return *p == '\0' || *p == '*';
  if (*p == '*') {
    while (*p == '*') ++p;
    if (*p == '\0') return true;
    for (; *t != '\0'; ++t)
      if ((*p == '?' || *p == *t) && BacktrackMatch(p + 1, t + 1)) return true;
    return false;
  }
  return (*p == '?' || *p == *t) && *p != '\0' && BacktrackMatch(p + 1, t + 1);
}

// a-z folded only: the native build's conversion.
inline bool ReferenceMatch(const std::string &pattern, std::string text) {
  if (pattern.empty()) return false;
  for (char &c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return BacktrackMatch(pattern.c_str(), text.c_str());
}

}  // namespace kttest
