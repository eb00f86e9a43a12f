// Addresses to text and back; portable.
#include <string.h>

#include "net/bounded_text.h"
#include "net/byte_order.h"

namespace {

// Each octet's digits followed by '.', so that an address is four fixed
// 4-byte copies; the next copy or the terminator overwrites the spare '.'.
struct Octet {
  char text[4];
  unsigned char length;
};

struct OctetTable {
  Octet octets[256];
  constexpr OctetTable() : octets() {
    for (int v = 0; v < 256; ++v) {
      Octet &o = octets[v];
      int n = 0;
      if (v >= 100) o.text[n++] = static_cast<char>('0' + v / 100);
      if (v >= 10) o.text[n++] = static_cast<char>('0' + v / 10 % 10);
      o.text[n++] = static_cast<char>('0' + v % 10);
      for (int i = n; i < 4; ++i) o.text[i] = '.';
      o.length = static_cast<unsigned char>(n);
    }
  }
};

constexpr OctetTable kOctets;
constexpr int kAddressBytes = 16;  // "255.255.255.255" and its terminator

// Writes at most 16 bytes and returns the text's length.
int WriteAddress(DWORD address, char *dest) {
  BYTE b[4];
  memcpy(b, &address, 4);
  char *p = dest;
  for (int i = 0; i < 4; ++i) {
    const Octet &o = kOctets.octets[b[i]];
    memcpy(p, o.text, 4);
    p += o.length + 1;
  }
  p[-1] = '\0';
  return static_cast<int>(p - 1 - dest);
}

// The dotted address cut to size, through a scratch copy when the
// destination is too small for the fixed-width copies.
int WriteAddressBounded(DWORD address, char *dest, int size) {
  if (dest == nullptr || size <= 0) return -1;
  if (size >= kAddressBytes) return WriteAddress(address, dest);
  char scratch[kAddressBytes];
  int length = WriteAddress(address, scratch);
  if (length > size - 1) length = size - 1;
  memcpy(dest, scratch, length);
  dest[length] = '\0';
  return length;
}

}  // namespace

extern "C" DWORD KTAPI ToggleNetHostL(DWORD value, BOOL toHost) {
  return toHost ? kt::NetToHostL(value) : kt::HostToNetL(value);
}

extern "C" WORD KTAPI ToggleNetHostS(WORD value, BOOL toHost) {
  return toHost ? kt::NetToHostS(value) : kt::HostToNetS(value);
}

extern "C" BOOL KTAPI InvalidIPAddress(DWORD address) { return address == 0; }

extern "C" BOOL KTAPI InvalidSubnetMask(DWORD mask) {
  // Valid masks have their zero bits as one run at the bottom: the
  // complement plus one is then a power of two (or wraps to 0).
  DWORD zeros = ~kt::NetToHostL(mask);
  return zeros == 0xFFFFFFFFu || (zeros & (zeros + 1)) != 0;
}

extern "C" int KTAPI EthAddrToStr(const BYTE *hardware, LPSTR dest) {
  static const char kHex[] = "0123456789abcdef";
  if (dest == nullptr) return 0;
  if (hardware == nullptr) {
    dest[0] = '\0';
    return 0;
  }
  char *p = dest;
  for (int i = 0; i < 6; ++i) {
    if (i > 0) *p++ = '-';
    *p++ = kHex[hardware[i] >> 4];
    *p++ = kHex[hardware[i] & 0xF];
  }
  *p = '\0';
  return static_cast<int>(p - dest);
}

extern "C" LPSTR KTAPI IPAddrToStr(DWORD address, LPSTR dest, int size) {
  int length = WriteAddressBounded(address, dest, size);
  return length < 0 ? dest : dest + length;
}

extern "C" void KTAPI IPInfoToStr(DWORD address, WORD port, LPSTR dest, int size) {
  if (port == 0) {
    WriteAddressBounded(address, dest, size);
    return;
  }
  char text[kAddressBytes];
  WriteAddress(address, text);
  kt::BoundedText out(dest, size);
  out.Put(text);
  out.Put(':');
  out.PutDecimal(kt::NetToHostS(port));
  out.Finish();
}

extern "C" DWORD KTAPI StrToIPAddr(LPCSTR text) {
  if (text == nullptr) return 0;
  // Unsigned arithmetic: overlong parts wrap instead of overflowing.
  DWORD value = 0;
  DWORD part = 0;
  for (;; ++text) {
    unsigned char c = static_cast<unsigned char>(*text);
    if (c >= '0' && c <= '9') {
      part = part * 10 + (c - '0');
      continue;
    }
    value = (value << 8) + part;
    part = 0;
    if (c != '.') break;
  }
  return kt::HostToNetL(value);
}
