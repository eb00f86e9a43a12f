#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/text_buffer.h"
#include "ktutil.h"

namespace {

// Network order is memory order: 1.2.3.4 is stored as the bytes 1, 2, 3, 4.
DWORD Address(DWORD hostOrder) { return ToggleNetHostL(hostOrder, FALSE); }

TEST(AddressText, ByteOrderMasksEthernetFlagsParsingAndProtocolTypes) {
  const DWORD address = Address(0xC0A80001u);
  EXPECT_EQ(memcmp(&address, "\xC0\xA8\x00\x01", 4), 0);
  EXPECT_EQ(ToggleNetHostL(address, TRUE), 0xC0A80001u);
  EXPECT_TRUE(InvalidIPAddress(0) && !InvalidIPAddress(Address(1)));
  // Valid masks are one run of ones from the top.
  for (const char *mask : {"255.255.255.0", "255.255.255.255", "255.255.254.0"})
    EXPECT_FALSE(InvalidSubnetMask(StrToIPAddr(mask))) << mask;
  for (const char *mask : {"0.0.0.0", "255.0.255.0", "0.255.255.255", "255.255.255.1"})
    EXPECT_TRUE(InvalidSubnetMask(StrToIPAddr(mask))) << mask;
  // The writers' cuts are checked with the other bounded writers (core_test.cpp).
  const BYTE mac[6] = {0x00, 0x1A, 0x2b, 0xC3, 0xff, 0x09};
  char eth[18];
  EXPECT_EQ(EthAddrToStr(mac, eth), 17);
  EXPECT_STREQ(eth, "00-1a-2b-c3-ff-09");
  // Whether any flag is set, whatever the room for the letters.
  EXPECT_TRUE(!GetTCPFlags(0xC0, eth, sizeof eth) && GetTCPFlags(0x01, eth, 1));

  // Each text sits in storage of exactly its size: the sanitizer catches a read past the
  // terminator. Trailing text ends the address; a leading part beyond four falls off; a
  // part above 255 spills into the next higher one, and huge ones wrap.
  EXPECT_EQ(StrToIPAddr(nullptr), 0u);
  const std::pair<std::string, const char *> cases[] = {
      {"", "0.0.0.0"},           {"192.168.0.1", "192.168.0.1"},
      {"1.2.3", "0.1.2.3"},      {"1.2.3.4 5", "1.2.3.4"},
      {"-1.2.3.4", "0.0.0.0"},   {"1.2.3.4.5", "2.3.4.5"},
      {"1..2", "0.1.0.2"},       {"0.0.0.65537", "0.1.0.1"},
      {"4294967296", "0.0.0.0"}, {std::string(5000, '.') + "7", "0.0.0.7"}};
  for (const auto &[text, dotted] : cases) {
    std::vector<char> exact(text.c_str(), text.c_str() + text.size() + 1);
    char out[16];
    IPAddrToStr(StrToIPAddr(exact.data()), out, sizeof out);
    EXPECT_STREQ(out, dotted) << text.substr(0, 20);
  }

  // {port, noProxy, noTerminal, type}; host-order 80 reads as port 20480.
  const int ports[][4] = {{80, 1, 1, 0x2002},   {8080, 0, 1, 0x2002},
                          {8080, 1, 0, 0x2000}, {23, 1, 0, 0x2181},
                          {23, 0, 1, 0x2000},   {20480, 0, 0, 0x2000}};
  for (const auto &c : ports)
    EXPECT_EQ(GetProtocolType(ToggleNetHostS(WORD(c[0]), FALSE), c[1], c[2]), DWORD(c[3]))
        << c[0];
  // Sub-protocol bits both ways; a combination of bits names no protocol.
  for (auto [proto, bit] : {std::pair{17u, 1u}, {6u, 2u}, {2u, 4u}, {1u, 8u}, {0u, 0u}}) {
    EXPECT_EQ(IPProtoToSubProto(proto), bit) << proto;
    EXPECT_EQ(SubProtoToIPProto(bit | 0x100), proto) << bit;  // low 8 bits count
  }
  EXPECT_TRUE(IPProtoToSubProto(0x111) == 0 && SubProtoToIPProto(3) == 0);
}

TEST(TextBuffer, ReservesExactlyTerminatesAndRefusesWithoutChange) {
  TextBuffer buf{nullptr, 0, 0}, empty{nullptr, 0, 0};
  EXPECT_STREQ(kt::TextOf(&buf), "");
  ASSERT_TRUE(kt::TextAppend(&buf, "abc", 3) && kt::TextAppend(&buf, "defgh", 2));
  EXPECT_EQ(buf.capacity, 6u);  // length + count + 1, no doubling
  EXPECT_TRUE(kt::TextReserve(&buf, 100));
  char *const data = buf.data;
  EXPECT_FALSE(kt::TextAppend(&buf, "y", 0xFFFFFFFFu));  // the size would wrap
  EXPECT_FALSE(kt::TextAppend(&buf, nullptr, 5));
  EXPECT_TRUE(kt::TextReserve(&buf, 2));  // no shrinking
  EXPECT_TRUE(buf.data == data && buf.capacity == 100 && buf.length == 5);
  EXPECT_STREQ(buf.data, "abcde");
  // An empty append still gives storage and a terminator.
  EXPECT_TRUE(kt::TextAppend(&empty, nullptr, 0) && empty.data != nullptr);
  EXPECT_STREQ(empty.data, "");
  const PortPair pair = {80, 0};
  PortPairDataToString(nullptr, &pair, 1);  // no buffer: nothing to do
  kt::TextClear(&buf);
  kt::TextClear(&empty);
}

}  // namespace
