#include "support/kt_test_support.h"
#include "win_helpers.h"

using kttest::CanaryBuffer;
using kttest::KtModule;

namespace {

// Library string-table texts the tests lean on.
constexpr UINT kNone = 15;      // "none"
constexpr UINT kPage = 16;      // "page %d"
constexpr UINT kFromTo = 26;    // "From %s to %s"
constexpr UINT kMissing = 999;  // not in the table

std::string R(const char *format, ...) {
  char buf[256];
  va_list args;
  va_start(args, format);
  int n = wsrprintf_arglist(buf, sizeof buf, KtModule(), format, args);
  va_end(args);
  EXPECT_EQ(n, static_cast<int>(strlen(buf)));
  return buf;
}

// wsnprintf formats with the same platform function: its conversions
// ("%I64d") are checked here.
TEST(Wsrprintf, InsertsTextsMovesArgumentsByConversionSizeAndCutsAtEverySize) {
  char buf[32];
  EXPECT_EQ(fmtmsg(buf, sizeof buf, KtModule(), kPage, 12), 7);
  EXPECT_STREQ(buf, "page 12");
  // A missing id formats the empty template.
  EXPECT_EQ(fmtmsg(buf, sizeof buf, KtModule(), kMissing, 12), 0);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(fmtrmsg(buf, sizeof buf, KtModule(), kFromTo, "x", "y"), 11);
  EXPECT_STREQ(buf, "From x to y");
  EXPECT_EQ(R("[%r][%d]", kMissing, 4), "[][4]");
  // 8-byte conversions among 4-byte ones and pointers, with "%r" ids between.
  EXPECT_EQ(R("%r %d %.2f %s %r %u %e", kNone, 3, 2.5, "x", kNone, 9u, 1e10),
            "none 3 2.50 x none 9 1.000000e+010");
  EXPECT_EQ(R("%5.1f|%-4d|%c|%x|%g", -0.26, 42, 'q', 255u, 0.5), " -0.3|42  |q|ff|0.5");
  EXPECT_EQ(R("%I64d|%p", 0x123456789LL, reinterpret_cast<void *>(0)),
            sizeof(void *) == 8 ? "4886718345|0000000000000000" : "4886718345|00000000");
  // In step: the doubled sign and the conversion after it are one run.
  EXPECT_EQ(R("%%%d", 42), "%42");
  // "%%d" moves an argument the final format never uses, so the "%r" after
  // it takes the caller's second argument as its id.
  EXPECT_EQ(R("%%d %r", kPage, kNone), "%d none");
  // A doubled sign before "r" keeps "%r" from being expanded; the run ends
  // at the "d" and moves 15 for it.
  EXPECT_EQ(R("%%r|%d", 15), "%r|15");
  // Inserted text is not walked, so its "%d" has no argument moved for it:
  // it must read an empty slot, never the stack beyond the list.
  EXPECT_EQ(R("%r", kPage, 3), "page 0");
  EXPECT_EQ(R("%r|%d|%r", kPage, 3, kPage), "page 3|0|page 0");

  // Cuts: -1 for no room, else the length written.
  kttest::CheckBounded(
      "0123456789",
      [](char *d, int n) {
        EXPECT_EQ(wsnprintf(d, n, "%s%d", "01234", 56789),
                  n == 0 ? -1 : std::min(n - 1, 10));
      },
      true);
  EXPECT_EQ(wsnprintf(nullptr, 0, "x"), -1);
  // The rebuilt format "none=%d" is cut to size - 1 before formatting, so
  // size 7 loses the conversion although "none=7" itself would fit.
  // Size 2 and 5 cut the "%r" text to the room left, or fill it exactly.
  const std::pair<int, std::string> cases[] = {{0, ""},     {1, ""},      {2, "n"},
                                               {5, "none"}, {7, "none="}, {8, "none=7"}};
  for (const auto &[size, text] : cases) {
    CanaryBuffer out(size);
    int n = wsrprintf(out.raw(), size, KtModule(), "%r=%d", kNone, 7);
    EXPECT_TRUE(out.Intact()) << size;
    EXPECT_EQ(out.text(), text) << size;
    EXPECT_EQ(n, size == 0 ? -1 : static_cast<int>(text.size())) << size;
  }
}

}  // namespace
