#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <utility>

#include "ktutil.h"
#include "support/canary.h"

namespace {

// What an operation returned and where it left the cursor, from 0.
using Scan = std::pair<DWORD, DWORD>;
template <typename Op>
Scan At(const char *text, Op op) {
  DWORD c = 0;
  DWORD result = static_cast<DWORD>(op(text, &c));
  return {result, c};
}

char g_token[65];
Scan Token(const char *text, DWORD flags) {
  return At(text, [flags](LPCSTR t, DWORD *c) { return GetToken(t, c, g_token, flags); });
}
Scan Space(const char *text) {
  return At(text,
            [](LPCSTR t, DWORD *c) { return GetWhiteSpace(t, c, KTTOKEN_COMMENTS); });
}

// Keyword tables: header (id = flags), sorted entries, id 0 at the end.
const KTKEYWORD kVerbs[] = {
    {nullptr, 0, 0, nullptr}, {"now", 21, 0, nullptr}, {"then", 22, 0, nullptr}, {}};
const KTKEYWORD kWords[] = {{nullptr, KTTOKEN_DASH, 0, nullptr},
                            {"get", 1, '(', nullptr},
                            {"get", 2, '[', nullptr},
                            {"run", 3, 0, kVerbs},
                            {"set-up", 4, 0, nullptr},
                            {}};
const KTKEYWORD kPartial[] = {
    {nullptr, KTTOKEN_PARTIAL, 0, nullptr}, {"get", 1, '(', nullptr}, {}};
const KTKEYWORD kSchemes[] = {
    {nullptr, 0, 0, nullptr}, {"ftp", 2, 0, nullptr}, {"http", 1, 0, nullptr}, {}};

Scan Id(const char *text, const KTKEYWORD *table) {
  return At(text, [table](LPCSTR t, DWORD *c) { return GetTokenID(t, c, table); });
}

TEST(Tokenizer, TokensWhiteSpaceNumbersStringsLinesKeywordsAndVersions) {
  EXPECT_EQ(Token("_name", 0), Scan(0, 0));
  EXPECT_EQ(Token("_name", KTTOKEN_ANYSTART), Scan(5, 5));
  EXPECT_EQ(Token("  a-b_c1", 0), Scan(1, 3));  // "-" needs its flag
  EXPECT_EQ(Token("  a-b_c1", KTTOKEN_DASH), Scan(5, 7));
  EXPECT_STREQ(g_token, "a-b_c");
  // Overlong tokens are read over but stored cut; bytes above 127 end them.
  const std::string long70(70, 'q');
  EXPECT_EQ(Token((long70 + "\xe9").c_str(), 0), Scan(64, 70));
  EXPECT_EQ(std::string(g_token), long70.substr(0, 64));
  // Comments nest but stop at an unmatched ")" and at the end of the text.
  EXPECT_EQ(Space("  (a (b) c) key"), Scan('k', 12));
  EXPECT_EQ(Space("(open"), Scan(0, 5));
  EXPECT_EQ(Space(" ) x"), Scan(')', 1));
  // Plain blanks only: no comments, no line ends; peeking does not move.
  EXPECT_TRUE(IsSpace(' ') && IsSpace('\t') && !IsSpace('\n') && !IsSpace('\0'));
  EXPECT_EQ(At(" \t (a)", GetSpace), Scan('(', 3));
  EXPECT_EQ(At("xy", [](LPCSTR t, DWORD *c) { return ++*c, GetChar(t, c); }),
            Scan('y', 1));
  EXPECT_EQ(At("", GetChar), Scan(0, 0));
  EXPECT_EQ(At("ab,c,", [](LPCSTR t, DWORD *c) { return SeekChar(t, c, ','); }),
            Scan(TRUE, 2));
  EXPECT_EQ(At("ab", [](LPCSTR t, DWORD *c) { return SeekChar(t, c, ','); }),
            Scan(FALSE, 2));
  EXPECT_EQ(At("123456789", GetTokenHexNum), Scan(305419896, 8));
  EXPECT_EQ(At(" \t4294967297x", GetTokenNum), Scan(1, 12));  // modulo 2^32
  char dest[32];
  auto str = [&dest](const char *text, char quote) {
    return At(text, [&](LPCSTR t, DWORD *c) { return GetString(t, c, dest, 31, quote); });
  };
  EXPECT_EQ(str(" \"say \"\"hi\"\"  \" rest", '"'), Scan(8, 15));
  EXPECT_STREQ(dest, "say \"hi\"");           // trailing blanks dropped
  EXPECT_EQ(str("\"open", '"'), Scan(4, 5));  // runs to the end
  EXPECT_EQ(str("a\r\nb\t ", 0), Scan(5, 6));
  EXPECT_STREQ(dest, "a\r\nb\t");  // tabs stay
  // A zero inside the length ends a line; a CR at the very end has no LF.
  const char text[] = {'x', '\0', 'y', '\r'};
  DWORD c = 0;
  EXPECT_TRUE(GetLine(text, &c, 4, nullptr, 0) == 1 && c == 2) << c;
  EXPECT_TRUE(GetLine(text, &c, 4, dest, 7) == 1 && c == 4) << c;
  EXPECT_EQ(GetLine(text, &c, 4, dest, 7), 0u);

  // Keywords: longest words, follow characters, sequences and partial matches.
  EXPECT_EQ(Id("GET[x", kWords), Scan(2, 4));  // same word, second follow char
  EXPECT_EQ(Id("get (x", kWords), Scan(1, 5));
  EXPECT_EQ(Id("Set-Up", kWords), Scan(4, 6));
  EXPECT_EQ(Id("get x", kWords), Scan(0, 0));
  // Sequences: the next word comes from the further table; an unknown next
  // word is left unread.
  EXPECT_EQ(Id("run then.", kWords), Scan(22, 8));
  EXPECT_EQ(Id("run  later", kWords), Scan(3, 5));
  // The partial-match flag gives the id but leaves the word unread.
  EXPECT_EQ(Id("get x", kPartial), Scan(1, 0));

  // Versions: major and minor after a keyword.
  static const KTKEYWORD protocols[] = {
      {nullptr, 0, 0, nullptr}, {"HTTP", 1, 0, nullptr}, {}};
  // Text, version (0 = refused), cursor after (where a failure was seen).
  const std::tuple<const char *, DWORD, DWORD> cases[] = {
      {"http/2.10 200", 0x2000A, 9},
      {"HTTP/1.", 0x10000, 7},
      {"HTTP/0.9", 0, 6},
      {"HTTP/1", 0, 6},
      {"FTP/1.0", 0, 0},
      {"HTTP/4294967297.0", 0x10000, 17},  // numbers wrap
  };
  for (const auto &[text, version, cursor] : cases)
    EXPECT_EQ(At(text, [](LPCSTR t, DWORD *c) { return ParseVersion(protocols, t, c); }),
              Scan(version, cursor))
        << text;
}

// One parse into buffers holding "x" and an address record with port 80: the
// flags in hex (1 host, 2 address, 4 path, 8 port, 10 query), the cursor after
// a success, path|host|query, and the address in hex with the port.
std::string Parse(const char *text) {
  DWORD cursor = 0;
  char path[64] = "x", host[64] = "x", query[64] = "x", out[256];
  URLADDRESS addr{2, 80, 0, {}};
  const DWORD flags =
      ParseURL(kSchemes, text, &cursor, path, 63, host, 63, query, 63, &addr);
  snprintf(out, sizeof out, "%X %u %s|%s|%s %X:%u", unsigned{flags},
           unsigned{flags ? cursor : 0}, path, host, query, unsigned{addr.address},
           unsigned{addr.port});
  return out;
}

TEST(ParseURL, SplitsTargetsAndAuthoritiesRefusesHostileOnesAndCutsLongParts) {
  const std::pair<const char *, const char *> urls[] = {
      {"/dir/page.asp?a=1&b=%41 HTTP/1.0", "14 23 /dir/page.asp||?a=1&b=A 0:80"},
      {"  HTTP://WWW.Example-Site.com:80/A%2f%4?x",  // the port as preset
       "15 41 /A/%4|www.example-site.com|?x 0:80"},
      {"ftp://10.1.255.7:8021", "A 21 || A01FF07:8021"},
      {"192.168/", "6 8 /|| C0A80000:80"},  // parts fill from the top
      {"10.0.256.1/", "0 0 x|x|x 0:80"},    // failures leave the buffers alone
      {"1.2.3.4294967296", "0 0 x|x|x 0:80"},
      {"http//:x", "0 0 x|x|x 0:80"},
      {"h:99999999999/", "5 14 /|h| 0:80"},
  };
  for (const auto &[text, parsed] : urls) EXPECT_EQ(Parse(text), parsed) << text;
  DWORD c = 0;
  EXPECT_EQ(ParseURL(nullptr, "/p?q", &c, nullptr, 0, nullptr, 0, nullptr, 0, nullptr),
            DWORD{KTURL_PATH | KTURL_QUERY});

  // The HTTP form splits in place and cuts long parts.
  char url[300] = "http://host:8080/dir/file?q=1", noSlash[300] = "mailto:x";
  char scheme[KT_URLPART_SIZE], hostPort[KT_URLPART_SIZE], path[KT_URLPART_SIZE];
  EXPECT_TRUE(ParseHTTPUrl(url, scheme, hostPort, path));
  EXPECT_EQ(std::string(scheme) + "|" + hostPort + "|" + path + "|" + url,
            "http|host:8080|/dir/file?q=1|http://host:8080/dir/file?q=1 ");
  EXPECT_FALSE(ParseHTTPUrl(noSlash, scheme, hostPort, path));
  EXPECT_STREQ(noSlash, "mailto:x");
  // Over-long parts are cut to fit (room for the appended blank included).
  kttest::CanaryBuffer s(KT_URLPART_SIZE), h(KT_URLPART_SIZE), p(KT_URLPART_SIZE);
  std::string longHost = "http://" + std::string(400, 'h') + "/p" + '\0';
  EXPECT_TRUE(ParseHTTPUrl(&longHost[0], s.raw(), h.raw(), p.raw()));
  EXPECT_EQ(h.text(), std::string(255, 'h'));
  std::string longScheme = std::string(400, 's') + ":/x" + '\0';
  EXPECT_TRUE(ParseHTTPUrl(&longScheme[0], s.raw(), h.raw(), p.raw()));
  EXPECT_EQ(s.text(), std::string(255, 's'));
  EXPECT_TRUE(s.Intact() && h.Intact() && p.Intact());
}

}  // namespace
