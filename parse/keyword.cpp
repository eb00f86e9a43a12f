// Keyword lookup, word by word through chained keyword tables.
#include "ktutil.h"
#include "parse/chars.h"

// Header and entries share one record; the i686 layout is four 32-bit fields.
static_assert(sizeof(void *) != 4 || sizeof(KTKEYWORD) == 16, "keyword record layout");

namespace {

// Tables are sorted without regard to case. Folding to lower case puts "_"
// and "-" before the letters, as the platform's comparison does.
int CompareNoCase(const char *a, const char *b) {
  for (;; ++a, ++b) {
    int ca = kt::ToLower(static_cast<unsigned char>(*a));
    int cb = kt::ToLower(static_cast<unsigned char>(*b));
    if (ca != cb || ca == 0) return ca - cb;
  }
}

}  // namespace

extern "C" DWORD KTAPI GetTokenID(LPCSTR text, DWORD *cursor, const KTKEYWORD *table) {
  if (text == nullptr || cursor == nullptr) return 0;
  DWORD result = 0;  // the identifier of the words read so far
  while (table != nullptr) {
    const DWORD wordStart = *cursor;
    const DWORD flags = table[0].id;
    char token[65];
    if (GetToken(text, cursor, token, flags) == 0) {
      *cursor = wordStart;
      return result;
    }
    const KTKEYWORD *match = nullptr;
    for (const KTKEYWORD *entry = table + 1; entry->id != 0 && entry->keyword != nullptr;
         ++entry) {
      int order = CompareNoCase(entry->keyword, token);
      if (order > 0) break;
      if (order < 0) continue;
      unsigned char follow = static_cast<unsigned char>(entry->follow & 0xFF);
      if (follow == 0) {
        match = entry;
        break;
      }
      if (static_cast<unsigned char>(text[*cursor]) == follow) {
        ++*cursor;
        match = entry;
        break;
      }
      if (flags & KTTOKEN_PARTIAL) result = entry->id;
    }
    if (match == nullptr) {
      *cursor = wordStart;
      return result;
    }
    result = match->id;
    table = match->next;
  }
  return result;
}
