#include <gtest/gtest.h>

#include <string>
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
  return At(text, [](LPCSTR t, DWORD *c) { return GetWhiteSpace(t, c, KTTOKEN_COMMENTS); });
}

TEST(Tokenizer, TokensWhiteSpaceAndNumbers) {
  EXPECT_EQ(Token("_name", 0), Scan(0, 0));
  EXPECT_EQ(Token("_name", KTTOKEN_ANYSTART), Scan(5, 5));
  EXPECT_EQ(Token("  a-b_c1", 0), Scan(1, 3));  // "-" needs its flag
  EXPECT_EQ(Token("  a-b_c1", KTTOKEN_DASH), Scan(5, 7));
  EXPECT_STREQ(g_token, "a-b_c");
  // Overlong tokens are read over but stored cut; bytes above 127 end them.
  const std::string long70(70, 'q');
  EXPECT_EQ(Token((long70 + "\xe9").c_str(), 0), Scan(64, 70));
  EXPECT_EQ(std::string(g_token), long70.substr(0, 64));
  EXPECT_EQ(Space("  (a (b) c) key"), Scan('k', 12));
  EXPECT_EQ(Space("(open"), Scan(0, 5));
  EXPECT_EQ(Space(" ) x"), Scan(')', 1));
  EXPECT_EQ(At("\xff", GetChar), Scan(0xFF, 0));
  EXPECT_EQ(At("123456789", GetTokenHexNum), Scan(305419896, 8));
  EXPECT_EQ(At(" \t4294967297x", GetTokenNum), Scan(1, 12));  // modulo 2^32
  EXPECT_EQ(At("-5", GetTokenNum), Scan(0, 0));
}

TEST(Tokenizer, QuotedAndPlainStrings) {
  char dest[32];
  DWORD c = 0;
  const char *quoted = " \"say \"\"hi\"\"  \" rest";
  EXPECT_EQ(GetString(quoted, &c, dest, 31, '"'), 8u);
  EXPECT_STREQ(dest, "say \"hi\"");  // trailing blanks dropped
  EXPECT_STREQ(quoted + c, " rest");
  c = 0;
  EXPECT_EQ(GetString("\"open", &c, dest, 31, '"'), 4u);  // runs to the end
  EXPECT_EQ(c, 5u);
  c = 0;
  EXPECT_EQ(GetString("a\r\nb\t ", &c, dest, 31, 0), 5u);  // tabs stay
  EXPECT_STREQ(dest, "a\r\nb\t");
  // A zero inside the length ends a line; a CR at the very end has no LF.
  const char text[] = {'x', '\0', 'y', '\r'};
  c = 0;
  EXPECT_EQ(GetLine(text, &c, 4, nullptr, 0), 1u);
  EXPECT_EQ(c, 2u);
  EXPECT_EQ(GetLine(text, &c, 4, dest, 7), 1u);
  EXPECT_EQ(c, 4u);
  EXPECT_EQ(GetLine(text, &c, 4, dest, 7), 0u);
}

// dest holds max + 1: maxima 0, 1, exact - 1 and exact. GetString stops
// copying (and reading) at the maximum; GetLine reads the whole line.
TEST(Tokenizer, BoundedWritersKeepToTheirMaximum) {
  for (DWORD max : {0u, 1u, 4u, 5u}) {
    kttest::CanaryBuffer str(max + 1), line(max + 1);
    DWORD sc = 0, lc = 0;
    EXPECT_EQ(GetString("\"hello\"", &sc, str.raw(), max, '"'), max);
    EXPECT_EQ(GetLine("hello\r\nnext", &lc, 11, line.raw(), max), 5u);
    EXPECT_TRUE(str.Intact() && line.Intact()) << max;
    EXPECT_EQ(str.text(), std::string("hello").substr(0, max));
    EXPECT_EQ(line.text(), std::string("hello").substr(0, max));
    EXPECT_EQ(sc, 1 + max);
    EXPECT_EQ(lc, 7u);
  }
}

// Keyword tables: header (id = flags), sorted entries, id 0 at the end.
const KTKEYWORD kVerbs[] = {
    {nullptr, 0, 0, nullptr}, {"now", 21, 0, nullptr},
    {"then", 22, 0, nullptr}, {nullptr, 0, 0, nullptr}};
const KTKEYWORD kWords[] = {
    {nullptr, KTTOKEN_DASH, 0, nullptr}, {"get", 1, '(', nullptr},
    {"get", 2, '[', nullptr},            {"run", 3, 0, kVerbs},
    {"set-up", 4, 0, nullptr},           {nullptr, 0, 0, nullptr}};
const KTKEYWORD kPartial[] = {
    {nullptr, KTTOKEN_PARTIAL, 0, nullptr}, {"get", 1, '(', nullptr},
    {nullptr, 0, 0, nullptr}};

Scan Id(const char *text, const KTKEYWORD *table) {
  return At(text, [table](LPCSTR t, DWORD *c) { return GetTokenID(t, c, table); });
}

TEST(Tokenizer, KeywordIdentifiers) {
  EXPECT_EQ(Id("GET[x", kWords), Scan(2, 4));  // same word, second follow char
  EXPECT_EQ(Id("get (x", kWords), Scan(1, 5));
  EXPECT_EQ(Id("Set-Up", kWords), Scan(4, 6));
  EXPECT_EQ(Id("get x", kWords), Scan(0, 0));
  EXPECT_EQ(Id("  abc", kWords), Scan(0, 0));  // sorts before the first entry
  // Sequences: the next word comes from the further table; an unknown next
  // word is left unread.
  EXPECT_EQ(Id("run then.", kWords), Scan(22, 8));
  EXPECT_EQ(Id("run  later", kWords), Scan(3, 5));
  // The partial-match flag gives the id but leaves the word unread.
  EXPECT_EQ(Id("get x", kPartial), Scan(1, 0));
}

}  // namespace
