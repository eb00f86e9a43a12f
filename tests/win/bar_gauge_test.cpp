// The bar gauge as a user sees it, and what both measuring controls share:
// labels, dialogs, focus.
#include <tuple>

#include "win/window_pixels.h"

namespace {

using kttest::kRed;
using kttest::Pixels;

// Block i of a bar covers columns 2 + 7i to 7 + 7i.
std::string Blocks(int n) {
  std::string out;
  for (int i = 0; i < n; ++i)
    out += (i ? "," : "") + std::to_string(2 + 7 * i) + "-" + std::to_string(7 + 7 * i);
  return out;
}

struct Gauge : kttest::Control {
  explicit Gauge(DWORD style = BGS_NOTEXT, DWORD ex = 0)
      : Control(KT_BARGAUGE_CLASS, style, 104, 100, ex) {}  // 100 pixels of bar
  // Without the text strip the bars lie on rows 2-9 and 12-19.
  std::string Bar(int bar, COLORREF colour) {
    return Pixels(c).Runs(5 + 10 * bar, false, colour);
  }
};

TEST(BarGauge, ValuesLightSevenPixelBlocksThePeakHoldsAndItSetsItsOwnHeight) {
  Gauge gauge;
  gauge.Send(BGM_SETVALUE, 0, 80);
  gauge.Send(BGM_SETVALUE, 0, 20);
  EXPECT_EQ(gauge.Bar(0, kRed), Blocks(2) + ",75-76");  // 2 columns left of block 11
  // Resending the value changes nothing, so nothing is repainted.
  ValidateRect(gauge.c, nullptr);
  gauge.Send(BGM_SETVALUE, 0, 20);
  EXPECT_FALSE(GetUpdateRect(gauge.c, nullptr, FALSE));
  // A shorter period: the marker falls back to the value within it.
  gauge.Send(BGM_SETPEAKTIME, 50);
  const DWORD start = GetTickCount();
  for (MSG msg; gauge.Bar(0, kRed) != Blocks(2) && GetTickCount() - start < 1000;
       Sleep(10))
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_LT(GetTickCount() - start, 500u);
  // It sets its own height, a client edge's too, and paints its background:
  // the window colour (white on Wine) or black, seen between two blocks and
  // below the bars.
  auto looks = [](HWND g, int height, COLORREF background) {
    RECT r;
    GetWindowRect(g, &r);
    EXPECT_EQ(r.bottom - r.top, height);
    const Pixels p(g);
    EXPECT_TRUE(p.at(8, 5) == background && p.at(50, 21) == background) << height;
  };
  looks(gauge.c, 23, RGB(255, 255, 255));
  // Bar 1 over other scales, its peak following at once.
  const std::tuple<int, int, int, std::string> cases[] = {
      // min, max, value, lit
      {0, 100, 50, Blocks(7)},   {0, 100, 3, Blocks(1)},     {0, 100, 0, ""},
      {0, 100, 100, Blocks(14)}, {0, 100, 5000, Blocks(14)}, {0, 100, -5, ""},
      {50, 100, 75, Blocks(7)},  {100, 100, 80, ""},         {100, 0, 80, ""},
  };
  for (auto &[min, max, value, lit] : cases) {
    gauge.Send(BGM_SETMIN, min);
    gauge.Send(BGM_SETMAX, max);
    gauge.Send(BGM_SETVALUE, 1, value);
    gauge.Send(WM_TIMER, 101);
    EXPECT_EQ(gauge.Bar(1, kttest::kGreen), lit) << min << ' ' << value;
  }

  Gauge black(BGS_NOTEXT | BGS_BLACKBACKGROUND, WS_EX_CLIENTEDGE);
  black.Send(BGM_SETVALUE, 0, 50);
  looks(black.c, 23 + 2 * GetSystemMetrics(SM_CXEDGE), RGB(0, 0, 0));

  // The text strip adds the font's height; caption and label stand in it.
  Gauge text(0);
  SetWindowTextA(text.c, "Caption");
  text.Send(BGM_SETLABEL, 0, reinterpret_cast<LPARAM>("label"));
  text.Send(BGM_SETVALUE, 0, 50);
  const Pixels p(text.c);
  const int strip = p.h - 23;
  EXPECT_GT(p.Count(kttest::kBlue, 0, 0, 40, strip), 0);
  EXPECT_GT(p.Count(kttest::kBlue, 64, 0, 104, 10), 0);  // the label, above the value
  EXPECT_EQ(p.Runs(strip + 3, false, kRed), Blocks(7));
}

// Both controls keep a label of up to 254 characters and, in a dialog, stay
// out of the tab order.
TEST(MeterControls, LabelsAndDialogs) {
  for (const char *cls : {KT_STRIPGRAPH_CLASS, KT_BARGAUGE_CLASS}) {
    kttest::Control control(cls, 0, 60, 60);
    control.Send(SGM_SETVALUE, 2, 9);  // no third series or bar
    EXPECT_EQ(control.Send(SGM_GETVALUE, 2), 0);
    for (size_t n : {0, 254, 255, 300}) {
      const std::string text(n, 'x');
      control.Send(SGM_SETLABEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
      control.Send(SGM_SETLABEL);  // NULL: ignored
      auto get = [&](char *to, int n) { control.Send(SGM_GETLABEL, n, LPARAM(to)); };
      kttest::CheckBounded(text.substr(0, 254), get, true);
    }
    control.Send(SGM_GETLABEL, 10);
  }

  // Both classes and a button, all marked as tab stops, from a template.
  HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2001),
                                   nullptr, nullptr, 0);
  ASSERT_TRUE(dialog != nullptr);
  EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), GetDlgItem(dialog, 102));
  DestroyWindow(dialog);
}

}  // namespace
