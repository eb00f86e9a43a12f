// URL and request-target splitting.
#include <cstddef>
#include <cstring>

#include "ktutil.h"
#include "parse/chars.h"

// The platform's IPv4 socket address layout.
static_assert(sizeof(URLADDRESS) == 16, "URLADDRESS layout");
static_assert(offsetof(URLADDRESS, port) == 2 && offsetof(URLADDRESS, address) == 4,
              "URLADDRESS layout");

namespace {

// A caller buffer of max characters plus the terminator, or none.
class Sink {
 public:
  Sink(LPSTR dest, DWORD max) : dest_(dest), max_(max) {}
  void Put(char c) {
    if (dest_ != nullptr && length_ < max_) dest_[length_++] = c;
  }
  void Terminate() {
    if (dest_ != nullptr) dest_[length_] = '\0';
  }

 private:
  LPSTR dest_;
  DWORD max_;
  DWORD length_ = 0;
};

unsigned char At(LPCSTR text, DWORD index) {
  return static_cast<unsigned char>(text[index]);
}

// Decimal digits, saturating instead of wrapping so that no overlong number
// can pass for a small one.
DWORD ReadDecimal(LPCSTR text, DWORD *cursor) {
  DWORD value = 0;
  while (kt::IsDigit(At(text, *cursor))) {
    DWORD digit = At(text, (*cursor)++) - '0';
    value = value > (0xFFFFFFFFu - digit) / 10 ? 0xFFFFFFFFu : value * 10 + digit;
  }
  return value;
}

// Up to four dotted parts, the first in the top byte; false on a part
// above 255.
bool ReadDottedAddress(LPCSTR text, DWORD *cursor, DWORD *address) {
  *address = 0;
  for (int part = 0; part < 4; ++part) {
    DWORD value = ReadDecimal(text, cursor);
    if (value > 255) return false;
    *address |= value << (24 - 8 * part);
    if (At(text, *cursor) != '.' || part == 3) break;
    ++*cursor;
  }
  return true;
}

bool IsHostChar(unsigned char c) {
  return kt::IsLetter(c) || kt::IsDigit(c) || c == '.' || c == '-' || c == '_';
}

bool EndsTarget(unsigned char c) {
  return c == '\0' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

extern "C" DWORD KTAPI ParseURL(const KTKEYWORD *schemes, LPCSTR text, DWORD *cursor,
                                LPSTR path, DWORD pathMax, LPSTR host, DWORD hostMax,
                                LPSTR query, DWORD queryMax, URLADDRESS *address) {
  if (text == nullptr || cursor == nullptr) return 0;
  Sink pathOut(path, pathMax), hostOut(host, hostMax), queryOut(query, queryMax);
  DWORD flags = 0;
  DWORD &c = *cursor;
  GetSpace(text, cursor);
  if (At(text, c) != '/') {
    if (schemes != nullptr && GetTokenID(text, cursor, schemes) != 0) {
      if (At(text, c) == '/' && At(text, c + 1) == '/' && At(text, c + 2) == ':')
        return 0;
      for (int i = 0; i < 3 && At(text, c) != '\0'; ++i) ++c;  // the separator
    }
    if (kt::IsDigit(At(text, c))) {
      DWORD ip;
      if (!ReadDottedAddress(text, cursor, &ip)) return 0;
      if (address != nullptr) address->address = ip;
      flags |= KTURL_IPADDRESS;
    } else if (kt::IsLetter(At(text, c))) {
      while (IsHostChar(At(text, c)))
        hostOut.Put(static_cast<char>(kt::ToLower(At(text, c++))));
      flags |= KTURL_HOST;
    }
    if (At(text, c) == ':') {
      ++c;
      DWORD port = ReadDecimal(text, cursor);
      // A number that is no port is read over and not reported.
      if (port != 0 && port <= 0xFFFF && address != nullptr && address->port != port) {
        address->port = static_cast<WORD>(port);
        flags |= KTURL_PORT;
      }
    }
  }
  bool inQuery = false;
  while (!EndsTarget(At(text, c))) {
    char ch = text[c++];
    if (ch == '?' && !inQuery) {
      inQuery = true;
      flags |= KTURL_QUERY;
    } else if (!inQuery) {
      flags |= KTURL_PATH;
    }
    if (ch == '%') {
      int high = kt::HexValue(At(text, c));
      int low = high < 0 ? -1 : kt::HexValue(At(text, c + 1));
      if (low >= 0) {
        ch = static_cast<char>(high * 16 + low);
        c += 2;
      }
    }
    (inQuery ? queryOut : pathOut).Put(ch);
  }
  pathOut.Terminate();
  hostOut.Terminate();
  queryOut.Terminate();
  return flags;
}

namespace {

constexpr size_t kUrlPartMax = KT_URLPART_SIZE - 1;

void CopyPart(LPSTR dest, const char *from, size_t length) {
  if (dest == nullptr) return;
  if (length > kUrlPartMax) length = kUrlPartMax;
  std::memcpy(dest, from, length);
  dest[length] = '\0';
}

}  // namespace

extern "C" BOOL KTAPI ParseHTTPUrl(LPSTR url, LPSTR scheme, LPSTR hostPort, LPSTR path) {
  if (url == nullptr) return FALSE;
  char *host = url;
  if (char *colon = std::strchr(url, ':')) {
    CopyPart(scheme, url, static_cast<size_t>(colon - url));
    if (colon[1] != '/') return FALSE;
    if (colon[2] == '/') host = colon + 3;
  }
  // The blank appended ends the host-and-path text for good.
  size_t length = std::strlen(url);
  url[length] = ' ';
  url[length + 1] = '\0';
  size_t span = static_cast<size_t>(std::strchr(host, ' ') - host);
  if (span > kUrlPartMax) span = kUrlPartMax;
  const char *slash = static_cast<const char *>(std::memchr(host, '/', span));
  if (slash == nullptr) {
    CopyPart(hostPort, host, span);
  } else {
    CopyPart(hostPort, host, static_cast<size_t>(slash - host));
    CopyPart(path, slash, span - static_cast<size_t>(slash - host));
  }
  return TRUE;
}
