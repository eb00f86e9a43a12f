// Protocol versions of the form NAME/major.minor.
#include "ktutil.h"

extern "C" DWORD KTAPI ParseVersion(const KTKEYWORD *table, LPCSTR text, DWORD *cursor) {
  if (text == nullptr || cursor == nullptr) return 0;
  if (GetTokenID(text, cursor, table) == 0) return 0;
  if (text[*cursor] != '/') return 0;
  ++*cursor;
  DWORD major = GetTokenNum(text, cursor);
  if (major == 0 || text[*cursor] != '.') return 0;
  ++*cursor;
  DWORD minor = GetTokenNum(text, cursor);
  return (major << 16) + minor;
}
