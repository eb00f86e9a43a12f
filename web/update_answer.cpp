#include "web/update_answer.h"

#include <string.h>

namespace kt {

bool FindAnswerValue(const char *answer, const char *key, char *dest, size_t room) {
  if (answer == nullptr || key == nullptr || dest == nullptr || room == 0) return false;
  const size_t keyLength = strlen(key);
  for (const char *line = answer; *line != '\0';) {
    const char *end = line + strcspn(line, "\n");
    if (strncmp(line, key, keyLength) == 0) {
      const char *at = line + keyLength;
      at += strspn(at, " \t");
      if (*at == '=') {
        ++at;
        size_t length = strcspn(at, "\r\n");
        if (length > room - 1) length = room - 1;
        memcpy(dest, at, length);
        dest[length] = '\0';
        return true;
      }
    }
    line = *end == '\n' ? end + 1 : end;
  }
  return false;
}

}  // namespace kt
