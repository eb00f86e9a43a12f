// Chains tokenizer operations over arbitrary text: the cursor must never pass
// the terminator and no output may pass its buffer.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "ktutil.h"

namespace {

const KTKEYWORD kNext[] = {
    {nullptr, KTTOKEN_DIGITS, 0, nullptr},
    {"a1", 11, 0, nullptr},
    {"b", 12, ';', nullptr},
    {nullptr, 0, 0, nullptr},
};
const KTKEYWORD kTable[] = {
    {nullptr, KTTOKEN_PARTIAL | KTTOKEN_COMMENTS, 0, nullptr},
    {"a", 1, '=', kNext},
    {"a", 2, ':', nullptr},
    {"ab", 3, 0, kNext},
    {"b", 4, 0, kTable},
    {nullptr, 0, 0, nullptr},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2) return 0;
  const DWORD flags = (data[0] & 0x3) | (data[0] & 0x4 ? KTTOKEN_COMMENTS : 0) |
                      (data[0] & 0x8 ? KTTOKEN_ANYSTART : 0);
  const DWORD maxChars = data[1] % 9;
  const int quote = data[1] & 0x80 ? '"' : 0;
  data += 2;
  size -= 2;
  // Exactly the input plus a terminator, so that any read past it is caught.
  std::unique_ptr<char[]> text(new char[size + 1]);
  std::memcpy(text.get(), data, size);
  text[size] = '\0';
  const DWORD length = static_cast<DWORD>(std::strlen(text.get()));

  std::unique_ptr<char[]> token(new char[65]);
  std::unique_ptr<char[]> dest(new char[maxChars + 1]);
  DWORD cursor = 0;
  for (size_t step = 0; cursor < length && step < 4 * size; ++step) {
    const DWORD before = cursor;
    switch ((step + data[cursor]) % 7) {
      case 0:
        if (GetToken(text.get(), &cursor, token.get(), flags) > 64) std::abort();
        break;
      case 1:
        if (GetString(text.get(), &cursor, dest.get(), maxChars, quote) > maxChars)
          std::abort();
        break;
      case 2:
        GetTokenID(text.get(), &cursor, kTable);
        break;
      case 3:
        GetTokenNum(text.get(), &cursor);
        GetTokenHexNum(text.get(), &cursor);
        break;
      case 4:
        GetWhiteSpace(text.get(), &cursor, flags);
        break;
      case 5:
        SeekChar(text.get(), &cursor, data[size - 1]);
        break;
      default:
        cursor += (GetChar(text.get(), &cursor) != 0);
        break;
    }
    if (cursor > length) std::abort();
    if (cursor == before) ++cursor;
  }
  // Lines run against the whole input, zeros included.
  cursor = 0;
  while (cursor < size) {
    DWORD before = cursor;
    GetLine(text.get(), &cursor, static_cast<DWORD>(size), dest.get(), maxChars);
    if (cursor <= before || cursor > size) std::abort();
  }
  return 0;
}
