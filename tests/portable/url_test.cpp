#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "ktutil.h"
#include "support/canary.h"

using kttest::CanaryBuffer;

namespace {

const KTKEYWORD kSchemes[] = {
    {nullptr, 0, 0, nullptr}, {"ftp", 2, 0, nullptr},
    {"http", 1, 0, nullptr},  {nullptr, 0, 0, nullptr}};

struct Parsed {
  DWORD flags, cursor = 0;
  char path[64] = "x", host[64] = "x", query[64] = "x";
  URLADDRESS addr{2, 80, 0, {}};
  explicit Parsed(const char *text) {
    flags = ParseURL(kSchemes, text, &cursor, path, 63, host, 63, query, 63, &addr);
  }
};

TEST(ParseURL, SplitsTargetsAndAuthorities) {
  Parsed bare("/dir/page.asp?a=1&b=%41 HTTP/1.0");
  EXPECT_EQ(bare.flags, DWORD{KTURL_PATH | KTURL_QUERY});
  EXPECT_STREQ(bare.path, "/dir/page.asp");
  EXPECT_STREQ(bare.query, "?a=1&b=A");
  EXPECT_EQ(bare.cursor, 23u);
  Parsed named("  HTTP://WWW.Example-Site.com:80/A%2f%4?x");
  EXPECT_EQ(named.flags, DWORD{KTURL_HOST | KTURL_PATH | KTURL_QUERY});  // port as preset
  EXPECT_STREQ(named.host, "www.example-site.com");
  EXPECT_STREQ(named.path, "/A/%4");
  Parsed numeric("ftp://10.1.255.7:8021");
  EXPECT_EQ(numeric.flags, DWORD{KTURL_IPADDRESS | KTURL_PORT});
  EXPECT_EQ(numeric.addr.address, 0x0A01FF07u);
  EXPECT_EQ(numeric.addr.port, 8021);
  EXPECT_STREQ(Parsed("/a%").path, "/a%");
  EXPECT_EQ(Parsed("192.168/").addr.address, 0xC0A80000u);
}

TEST(ParseURL, HostileInputFails) {
  for (const char *text : {"10.0.256.1/", "1.2.3.4294967296", "http//:x"}) {
    Parsed p(text);
    EXPECT_EQ(p.flags, 0u) << text;
    EXPECT_STREQ(p.path, "x") << text;  // failures leave the buffers alone
  }
  Parsed hugePort("h:99999999999/");
  EXPECT_EQ(hugePort.flags, DWORD{KTURL_HOST | KTURL_PATH});
  EXPECT_EQ(hugePort.addr.port, 80);
  DWORD c = 0;
  EXPECT_EQ(ParseURL(nullptr, "/p?q", &c, nullptr, 0, nullptr, 0, nullptr, 0, nullptr),
            DWORD{KTURL_PATH | KTURL_QUERY});
}

// Each buffer holds max + 1: maxima 0, 1, exact - 1 and exact.
TEST(ParseURL, BuffersKeepToTheirMaximum) {
  const std::string host(300, 'h');
  const std::string text = "http://" + host + "/path?query";
  for (DWORD max : {0u, 1u, 4u, 5u}) {
    CanaryBuffer path(max + 1), query(max + 1), hostBuf(max + 1);
    DWORD c = 0;
    EXPECT_EQ(ParseURL(kSchemes, text.c_str(), &c, path.raw(), max, hostBuf.raw(), max,
                       query.raw(), max, nullptr),
              DWORD{KTURL_HOST | KTURL_PATH | KTURL_QUERY});
    EXPECT_TRUE(path.Intact() && query.Intact() && hostBuf.Intact()) << max;
    EXPECT_EQ(path.text(), std::string("/path").substr(0, max));
    EXPECT_EQ(query.text(), std::string("?query").substr(0, max));
    EXPECT_EQ(hostBuf.text(), host.substr(0, max));
    EXPECT_EQ(c, text.size());
  }
}

TEST(ParseHTTPUrl, SplitsAndCutsLongParts) {
  char url[300] = "http://host:8080/dir/file?q=1";
  char scheme[KT_URLPART_SIZE], hostPort[KT_URLPART_SIZE], path[KT_URLPART_SIZE];
  EXPECT_TRUE(ParseHTTPUrl(url, scheme, hostPort, path));
  EXPECT_STREQ(scheme, "http");
  EXPECT_STREQ(hostPort, "host:8080");
  EXPECT_STREQ(path, "/dir/file?q=1");
  EXPECT_STREQ(url, "http://host:8080/dir/file?q=1 ");
  char noSlash[300] = "mailto:x";
  EXPECT_FALSE(ParseHTTPUrl(noSlash, scheme, hostPort, path));
  EXPECT_STREQ(noSlash, "mailto:x");
  // Over-long parts are cut to fit (room for the appended blank included).
  CanaryBuffer s(KT_URLPART_SIZE), h(KT_URLPART_SIZE), p(KT_URLPART_SIZE);
  std::string longHost = "http://" + std::string(400, 'h') + "/p" + '\0';
  EXPECT_TRUE(ParseHTTPUrl(&longHost[0], s.raw(), h.raw(), p.raw()));
  EXPECT_EQ(h.text(), std::string(255, 'h'));
  std::string longScheme = std::string(400, 's') + ":/x" + '\0';
  EXPECT_TRUE(ParseHTTPUrl(&longScheme[0], s.raw(), h.raw(), p.raw()));
  EXPECT_EQ(s.text(), std::string(255, 's'));
  EXPECT_TRUE(s.Intact() && h.Intact() && p.Intact());
}

const KTKEYWORD kProtocols[] = {
    {nullptr, 0, 0, nullptr}, {"HTTP", 1, 0, nullptr}, {nullptr, 0, 0, nullptr}};

TEST(ParseVersion, ReadsMajorAndMinor) {
  // Text, version (0 = refused), cursor after (where a failure was seen).
  const struct { const char *text; DWORD version, cursor; } cases[] = {
      {"HTTP/1.1", 0x10001, 8},          {"http/2.10 200", 0x2000A, 9},
      {"HTTP/1.", 0x10000, 7},           {"HTTP/0.9", 0, 6},
      {"HTTP/1", 0, 6},                  {"FTP/1.0", 0, 0},
      {"HTTP/4294967297.0", 0x10000, 17},  // numbers wrap
  };
  for (const auto &k : cases) {
    DWORD c = 0;
    EXPECT_EQ(std::make_pair(ParseVersion(kProtocols, k.text, &c), c),
              std::make_pair(k.version, k.cursor)) << k.text;
  }
}

}  // namespace
