#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/text_buffer.h"
#include "ktutil.h"
#include "support/canary.h"

namespace {

// Network order is memory order: 1.2.3.4 is stored as the bytes 1, 2, 3, 4.
DWORD Address(DWORD hostOrder) { return ToggleNetHostL(hostOrder, FALSE); }

TEST(AddressValidity, ByteOrderAndMasks) {
  const DWORD address = Address(0xC0A80001u);
  EXPECT_EQ(memcmp(&address, "\xC0\xA8\x00\x01", 4), 0);
  EXPECT_EQ(ToggleNetHostL(address, TRUE), 0xC0A80001u);
  EXPECT_TRUE(InvalidIPAddress(0));
  EXPECT_FALSE(InvalidIPAddress(Address(1)));
  // Valid masks are one run of ones from the top.
  for (const char *mask : {"255.255.255.0", "255.255.255.255", "255.255.254.0"})
    EXPECT_FALSE(InvalidSubnetMask(StrToIPAddr(mask))) << mask;
  for (const char *mask : {"0.0.0.0", "255.0.255.0", "0.255.255.255", "255.255.255.1"})
    EXPECT_TRUE(InvalidSubnetMask(StrToIPAddr(mask))) << mask;
}

// Every writer at sizes 0, 1, exact - 1 and exact (counting the terminator)
// into a canary buffer: the text is cut, never overrun.
TEST(NetText, WritersCutAtEverySize) {
  using Write = void (*)(char *, int);
  const std::pair<std::string, Write> cases[] = {
      {"1.2.3.4",
       [](char *d, int n) {
         char *end = IPAddrToStr(Address(0x01020304), d, n);
         EXPECT_TRUE(n == 0 || *end == '\0');
       }},
      {"255.255.255.255", [](char *d, int n) { IPAddrToStr(0xFFFFFFFFu, d, n); }},
      {"255.255.255.255:65535", [](char *d, int n) { IPInfoToStr(~0u, 0xFFFF, d, n); }},
      {"10.0.0.1", [](char *d, int n) { IPInfoToStr(Address(0x0A000001), 0, d, n); }},
      {"UAPRSF", [](char *d, int n) { GetTCPFlags(0xFF, d, n); }},
      {"AS", [](char *d, int n) { GetTCPFlags(0x12, d, n); }}};
  for (const auto &[full, write] : cases) {
    const int exact = static_cast<int>(full.size()) + 1;
    for (int size : {0, 1, exact - 1, exact}) {
      kttest::CanaryBuffer buf(size);
      write(buf.raw(), size);
      EXPECT_TRUE(buf.Intact()) << full << " size " << size;
      if (size > 0) {
        EXPECT_EQ(buf.text(), full.substr(0, size - 1)) << size;
      }
    }
  }
  const BYTE mac[6] = {0x00, 0x1A, 0x2b, 0xC3, 0xff, 0x09};
  char eth[18];
  EXPECT_EQ(EthAddrToStr(mac, eth), 17);
  EXPECT_STREQ(eth, "00-1a-2b-c3-ff-09");
  // Whether any flag is set, whatever the room for the letters.
  EXPECT_FALSE(GetTCPFlags(0xC0, eth, sizeof eth));
  EXPECT_STREQ(eth, "");
  EXPECT_TRUE(GetTCPFlags(0x01, eth, 1));
}

// The text sits in storage of exactly its size: the sanitizer catches a
// read past the terminator.
std::string Parsed(const std::string &text) {
  std::vector<char> exact(text.c_str(), text.c_str() + text.size() + 1);
  char dotted[16];
  IPAddrToStr(StrToIPAddr(exact.data()), dotted, sizeof dotted);
  return dotted;
}

TEST(StrToIPAddr, PartsShiftInFromTheRight) {
  EXPECT_EQ(StrToIPAddr(nullptr), 0u);
  // Trailing text ends the address; a leading part beyond four falls off; a
  // part above 255 spills into the next higher one, and huge ones wrap.
  const char *const cases[][2] = {
      {"", "0.0.0.0"},          {"192.168.0.1", "192.168.0.1"},
      {"1.2.3", "0.1.2.3"},     {"1.2.3.4 5", "1.2.3.4"},
      {"-1.2.3.4", "0.0.0.0"},  {"1.2.3.4.5", "2.3.4.5"},
      {"1..2", "0.1.0.2"},      {"0.0.0.65537", "0.1.0.1"},
      {"4294967296", "0.0.0.0"}};
  for (const auto &c : cases) EXPECT_EQ(Parsed(c[0]), c[1]) << c[0];
  EXPECT_EQ(Parsed(std::string(5000, '.') + "7"), "0.0.0.7");
}

TEST(SubProtocol, OneBitCodesBothWays) {
  const DWORD ip[] = {17, 6, 2, 1};
  for (DWORD bit = 0; bit < 4; ++bit) {
    EXPECT_EQ(IPProtoToSubProto(ip[bit]), 1u << bit);
    EXPECT_EQ(SubProtoToIPProto(0x100 | 1u << bit), ip[bit]);  // only the low byte counts
  }
  EXPECT_EQ(IPProtoToSubProto(273) | SubProtoToIPProto(3) | SubProtoToIPProto(0), 0u);
}

TEST(GetProtocolType, ConditionsDropToNoProtocol) {
  // {port, noProxy, noTerminal, type}; host-order 80 reads as port 20480.
  const int cases[][4] = {{80, 1, 1, 0x2002},   {8080, 0, 1, 0x2002},
                          {8080, 1, 0, 0x2000}, {23, 1, 0, 0x2181},
                          {23, 0, 1, 0x2000},   {20480, 0, 0, 0x2000}};
  for (const auto &c : cases)
    EXPECT_EQ(GetProtocolType(ToggleNetHostS(WORD(c[0]), FALSE), c[1], c[2]), DWORD(c[3]))
        << c[0];
}

struct Buffer : TextBuffer {
  Buffer() : TextBuffer{nullptr, 0, 0} {}
  ~Buffer() { kt::TextClear(this); }
};

TEST(TextBuffer, ReservesExactlyTerminatesAndRefusesWithoutChange) {
  Buffer buf;
  EXPECT_STREQ(kt::TextOf(&buf), "");
  ASSERT_TRUE(kt::TextAppend(&buf, "abc", 3));
  EXPECT_EQ(buf.capacity, 4u);  // length + count + 1, no doubling
  ASSERT_TRUE(kt::TextAppend(&buf, "defgh", 2));
  EXPECT_EQ(buf.capacity, 6u);
  EXPECT_TRUE(kt::TextReserve(&buf, 100));
  char *const data = buf.data;
  EXPECT_FALSE(kt::TextAppend(&buf, "y", 0xFFFFFFFFu));  // the size would wrap
  EXPECT_FALSE(kt::TextAppend(&buf, nullptr, 5));
  EXPECT_TRUE(kt::TextReserve(&buf, 2));  // no shrinking
  EXPECT_TRUE(buf.data == data && buf.capacity == 100 && buf.length == 5);
  EXPECT_STREQ(buf.data, "abcde");
  Buffer empty;  // an empty append still gives storage and a terminator
  EXPECT_TRUE(kt::TextAppend(&empty, nullptr, 0));
  EXPECT_STREQ(kt::TextOf(&empty), "");
  EXPECT_NE(empty.data, nullptr);
  // Pairs join after the text already there.
  const PortPair pairs[] = {{80, 0}, {1024, 2048}, {53, 0}, {65535, 65535}};
  PortPairDataToString(&empty, pairs, 3);
  PortPairDataToString(&empty, pairs + 3, 1);
  PortPairDataToString(nullptr, pairs, 3);
  EXPECT_STREQ(empty.data, "80, 1024-2048, 5365535-65535");
}

}  // namespace
