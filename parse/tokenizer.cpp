// Cursor scanner over zero-terminated text: the text and the caller's cursor
// are the whole state. Nothing moves the cursor past the terminator.
#include "ktutil.h"
#include "parse/chars.h"

using kt::IsBlank;

namespace {

constexpr DWORD kTokenStored = 64;

unsigned char At(LPCSTR text, DWORD index) {
  return static_cast<unsigned char>(text[index]);
}

bool IsLineEnd(unsigned char c) { return c == '\r' || c == '\n' || c == '\0'; }

// Characters after the first; with the any-start flag, the first as well.
bool TakesInToken(unsigned char c, DWORD flags) {
  return c == '_' || (c == '-' && (flags & KTTOKEN_DASH)) ||
         (kt::IsDigit(c) && (flags & KTTOKEN_DIGITS));
}

}  // namespace

extern "C" int KTAPI GetChar(LPCSTR text, DWORD *cursor) {
  if (text == nullptr || cursor == nullptr) return 0;
  return At(text, *cursor);
}

extern "C" BOOL KTAPI IsSpace(int character) { return IsBlank(character & 0xFF); }

extern "C" int KTAPI GetSpace(LPCSTR text, DWORD *cursor) {
  if (text == nullptr || cursor == nullptr) return 0;
  while (IsBlank(At(text, *cursor))) ++*cursor;
  return At(text, *cursor);
}

extern "C" int KTAPI GetWhiteSpace(LPCSTR text, DWORD *cursor, DWORD flags) {
  if (!(flags & KTTOKEN_COMMENTS)) return GetSpace(text, cursor);
  if (text == nullptr || cursor == nullptr) return 0;
  // Parenthesised comments nest, but never run over a line end.
  DWORD depth = 0;
  for (;;) {
    unsigned char c = At(text, *cursor);
    if (IsLineEnd(c)) break;
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth == 0) break;
      --depth;
    } else if (!IsBlank(c) && depth == 0) {
      break;
    }
    ++*cursor;
  }
  return At(text, *cursor);
}

extern "C" BOOL KTAPI SeekChar(LPCSTR text, DWORD *cursor, int character) {
  if (text == nullptr || cursor == nullptr) return FALSE;
  unsigned char wanted = static_cast<unsigned char>(character);
  while (At(text, *cursor) != '\0' && At(text, *cursor) != wanted) ++*cursor;
  return At(text, *cursor) != '\0';
}

extern "C" DWORD KTAPI GetString(LPCSTR text, DWORD *cursor, LPSTR dest, DWORD maxChars,
                                 int quote) {
  if (text == nullptr || cursor == nullptr || dest == nullptr) return 0;
  unsigned char q = static_cast<unsigned char>(quote);
  dest[0] = '\0';
  GetSpace(text, cursor);
  DWORD c = *cursor;
  if (q != 0) {
    if (At(text, c) != q) return 0;
    ++c;
  }
  DWORD n = 0;
  while (At(text, c) != '\0' && n < maxChars) {
    if (q != 0 && At(text, c) == q) {
      if (At(text, c + 1) != q) {
        ++c;  // the closing quote
        break;
      }
      ++c;  // a doubled quote stands for one
    }
    dest[n++] = text[c++];
  }
  while (n > 0 && dest[n - 1] == ' ') --n;
  dest[n] = '\0';
  *cursor = c;
  return n;
}

extern "C" DWORD KTAPI GetToken(LPCSTR text, DWORD *cursor, LPSTR dest, DWORD flags) {
  if (text == nullptr || cursor == nullptr) return 0;
  GetWhiteSpace(text, cursor, flags);
  DWORD taken = 0;
  DWORD stored = 0;
  for (;; ++*cursor, ++taken) {
    unsigned char c = At(text, *cursor);
    bool accepted = kt::IsLetter(c) ||
                    ((taken > 0 || (flags & KTTOKEN_ANYSTART)) && TakesInToken(c, flags));
    if (!accepted) break;
    if (stored == kTokenStored) continue;  // consumed, not stored
    if (dest != nullptr) dest[stored] = static_cast<char>(c);
    ++stored;
  }
  GetWhiteSpace(text, cursor, flags);
  if (dest != nullptr) dest[stored] = '\0';
  return stored;
}

extern "C" DWORD KTAPI GetTokenNum(LPCSTR text, DWORD *cursor) {
  if (text == nullptr || cursor == nullptr) return 0;
  GetSpace(text, cursor);
  DWORD value = 0;  // wraps modulo 2^32, as documented
  while (kt::IsDigit(At(text, *cursor))) value = value * 10 + (text[(*cursor)++] - '0');
  return value;
}

extern "C" DWORD KTAPI GetTokenHexNum(LPCSTR text, DWORD *cursor) {
  if (text == nullptr || cursor == nullptr) return 0;
  GetSpace(text, cursor);
  DWORD value = 0;
  for (int digits = 0; digits < 8; ++digits) {
    int v = kt::HexValue(At(text, *cursor));
    if (v < 0) break;
    value = value * 16 + static_cast<DWORD>(v);
    ++*cursor;
  }
  return value;
}

extern "C" DWORD KTAPI GetLine(LPCSTR text, DWORD *cursor, DWORD textLength, LPSTR dest,
                               DWORD maxChars) {
  if (dest != nullptr) dest[0] = '\0';
  if (text == nullptr || cursor == nullptr || *cursor >= textLength) return 0;
  DWORD length = 0;
  DWORD copied = 0;
  while (*cursor < textLength) {
    char c = text[(*cursor)++];
    if (c == '\r') {
      if (*cursor < textLength && text[*cursor] == '\n') ++*cursor;
      break;
    }
    if (c == '\0') break;
    if (dest != nullptr && copied < maxChars) dest[copied++] = c;
    ++length;
  }
  if (dest != nullptr) dest[copied] = '\0';
  return length;
}
