#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "ktutil.h"
#include "support/canary.h"
#include "web/update_answer.h"

namespace {

// Rotation counts are taken modulo 32; shared status bits rise once and fall
// once.
TEST(Bits, RotationsAndStatusFlags) {
  EXPECT_EQ(RotateLeft(0x80000001u, 1), 0x00000003u);
  EXPECT_EQ(RotateLeft(0x12345678u, 32), 0x12345678u);
  EXPECT_EQ(RotateRight(0x12345678u, -4), RotateLeft(0x12345678u, 36));
  WORD counters[32] = {};
  counters[31] = 0x7777;  // one past the caller's 31 counters
  EXPECT_EQ(AddStatusFlags(5, counters), 5u);
  EXPECT_EQ(AddStatusFlags(5, counters), 0u);
  EXPECT_EQ(DelStatusFlags(1, counters), 0u);
  EXPECT_EQ(DelStatusFlags(1 | 0x80000000u, counters), 1u);
  EXPECT_EQ(DelStatusFlags(1, counters), 0u);  // already down: ignored
  // Bit 31 is never a status bit, and counters wrap at 16 bits.
  EXPECT_EQ(AddStatusFlags(0xFFFFFFFFu, counters), 0x7FFFFFFBu);
  EXPECT_EQ(counters[31], 0x7777);
  counters[3] = 0xFFFF;
  EXPECT_EQ(AddStatusFlags(8, counters), 0u);
  EXPECT_EQ(AddStatusFlags(8, counters), 8u);
}

// Every bounded writer at sizes 0, 1, exact - 1 and exact (counting the
// terminator) into a canary buffer: the text is cut, never overrun. Writers
// that take a maximum length get size - 1, from maximum 0.
TEST(PortableWriters, CutAndTerminateAtEverySize) {
  // The full text, whether the writer takes a maximum, the call.
  const std::tuple<std::string, bool, void (*)(char *, int)> writers[] = {
      {std::string(300, 'v'), false,
       [](char *d, int n) {
         kt::FindAnswerValue(("K=" + std::string(300, 'v')).c_str(), "K", d, n);
       }},
      {"firewall", false,
       [](char *d, int n) { EXPECT_EQ(strncpy0(d, "firewall", n), d); }},
      {"name.ext", false,
       [](char *d, int n) { ExtractFileBase("C:\\dir\\name.ext", d, n); }},
      {"2001/07/04 13.45.36", false,
       [](char *d, int n) {
         EXPECT_EQ(NormDateTimeToStr(0x2AE46DB2u, d, n), std::min(n, 20) - 1);
       }},
      {"255.255.255.255", false,
       [](char *d, int n) { EXPECT_TRUE(n == 0 || *IPAddrToStr(~0u, d, n) == '\0'); }},
      {"255.255.255.255:65535", false,
       [](char *d, int n) { IPInfoToStr(~0u, 0xFFFF, d, n); }},
      {"10.0.0.1", false,
       [](char *d, int n) { IPInfoToStr(ToggleNetHostL(0x0A000001, FALSE), 0, d, n); }},
      {"UAPRSF", false, [](char *d, int n) { GetTCPFlags(0xFF, d, n); }},
      {"hello", true,  // stops reading at the maximum
       [](char *d, int n) {
         DWORD c = 0;
         EXPECT_EQ(GetString("\"hello\"", &c, d, n - 1, '"'), DWORD(n - 1));
         EXPECT_EQ(c, DWORD(n));
       }},
      {"hello", true,  // reads the whole line
       [](char *d, int n) {
         DWORD c = 0;
         EXPECT_EQ(GetLine("hello\r\nnext", &c, 11, d, n - 1), 5u);
         EXPECT_EQ(c, 7u);
       }},
      {std::string(300, 'h'), true,  // the host; reads the whole URL
       [](char *d, int n) {
         const std::string url = std::string(300, 'h') + "/p?q";
         DWORD c = 0;
         ParseURL(nullptr, url.c_str(), &c, nullptr, 0, d, n - 1, nullptr, 0, nullptr);
         EXPECT_EQ(c, url.size());
       }}};
  for (const auto &[full, takesMax, write] : writers) {
    const int exact = static_cast<int>(full.size()) + 1;
    for (int size : {takesMax ? 2 : 0, 1, exact - 1, exact}) {
      kttest::CanaryBuffer buf(size);
      write(buf.raw(), size);
      EXPECT_TRUE(buf.Intact()) << full.substr(0, 20) << " size " << size;
      EXPECT_EQ(buf.text(), full.substr(0, size > 0 ? size - 1 : 0)) << size;
    }
  }
}

TEST(FileNamesAndSearch, BasesSplitAfterDriveAndLastSeparator) {
  char buf[260];
  for (auto [path, base, newBase, changed] :
       {std::tuple{"C:\\dir\\old.txt", "old.txt", "new.log", "C:\\dir\\new.log"},
        {"C:old.txt", "old.txt", "new", "C:new"},
        {"a/b\\c/old", "old", "n.x", "a/b\\c/n.x"},
        {"C:\\dir\\", "", "n", "C:\\dir\\n"}}) {
    EXPECT_STREQ(ExtractFileBase(path, buf, sizeof buf), base) << path;
    strncpy0(buf, path, sizeof buf);
    EXPECT_STREQ(ChangeFileBase(buf, newBase), changed) << path;
  }
  EXPECT_STREQ(strncpy0(buf, nullptr, sizeof buf), "");
  // The buffer is promised 260 characters: a long new base is cut there.
  std::string dir = "C:\\" + std::string(250, 'd') + "\\";
  kttest::CanaryBuffer cut(260);
  strncpy0(cut.raw(), (dir + "old").c_str(), 260);
  ChangeFileBase(cut.raw(), std::string(40, 'n').c_str());
  EXPECT_TRUE(cut.Intact());
  EXPECT_EQ(cut.text(), dir + std::string(259 - dir.size(), 'n'));

  // The search folds only ASCII letters.
  const char *text = "aab";
  EXPECT_EQ(stristr(text, "AB"), text + 1);
  EXPECT_EQ(stristr(text, ""), text);
  // Not found: past the terminator, in empty or no text, and no folding
  // above 127 nor of "[" against "{".
  for (auto [t, p] : {std::pair<const char *, const char *>{"abc", "abcd"},
                      {"", ""},
                      {nullptr, "a"},
                      {"\xe9t\xe9", "\xc9"},
                      {"[", "{"}})
    EXPECT_EQ(stristr(t, p), nullptr) << p;
}

}  // namespace
