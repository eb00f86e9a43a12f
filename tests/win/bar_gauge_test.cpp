// The bar gauge as a user sees it, and what both measuring controls share:
// labels, dialogs, focus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ktutil.h"
#include "win/win_helpers.h"
#include "win/window_pixels.h"

namespace {

using kttest::Pixels;

// Block i of a bar covers columns 2 + 7i to 7 + 7i.
std::string Blocks(int n) {
  std::string out;
  for (int i = 0; i < n; ++i)
    out += (i ? "," : "") + std::to_string(2 + 7 * i) + "-" + std::to_string(7 + 7 * i);
  return out;
}

struct Gauge {
  kttest::TestParent parent;
  HWND g;
  explicit Gauge(DWORD style = BGS_NOTEXT, DWORD ex = 0, int w = 104)
      : g(parent.Child(KT_BARGAUGE_CLASS, style, 0, 0, w, 100, ex)) {}
  LRESULT Send(UINT m, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageA(g, m, wp, lp); }
  // Bars at rows 2-9 and 12-19 without the text strip.
  std::string Bar(int bar, DWORD colour) { return Pixels(g).Runs(5 + 10 * bar, false, colour); }
};

TEST(BarGauge, ValuesLightSevenPixelBlocks) {
  Gauge gauge;  // 100 pixels of bar: one per unit
  struct { int min, max, value; std::string lit; } cases[] = {
      {0, 100, 50, Blocks(7)}, {0, 100, 3, Blocks(1)},      {0, 100, 0, ""},
      {0, 100, 100, Blocks(14)}, {0, 100, 5000, Blocks(14)}, {0, 100, -5, ""},
      {50, 100, 75, Blocks(7)},  {100, 100, 80, ""},         {100, 0, 80, ""},
  };
  for (auto &c : cases) {
    gauge.Send(BGM_SETMIN, c.min);
    gauge.Send(BGM_SETMAX, c.max);
    gauge.Send(BGM_SETVALUE, 1, c.value);
    gauge.Send(WM_TIMER, 101);  // the peak follows at once
    EXPECT_EQ(gauge.Bar(1, kttest::kGreen), c.lit) << c.min << ' ' << c.max << ' ' << c.value;
  }
  EXPECT_EQ(gauge.Bar(0, kttest::kRed), "");
  EXPECT_EQ(gauge.Send(BGM_GETVALUE, 1), 80);
  gauge.Send(BGM_SETVALUE, 2, 40);  // no third bar
  EXPECT_EQ(gauge.Send(BGM_GETVALUE, 2), 0);
}

TEST(BarGauge, PeakMarkerHoldsUntilTheTimerTicks) {
  Gauge gauge;
  gauge.Send(BGM_SETVALUE, 0, 80);
  gauge.Send(BGM_SETVALUE, 0, 20);
  EXPECT_EQ(gauge.Bar(0, kttest::kRed), Blocks(2) + ",75-76");  // 2 columns left of block 11
  // Resending the value changes nothing, so nothing is repainted.
  ValidateRect(gauge.g, nullptr);
  gauge.Send(BGM_SETVALUE, 0, 20);
  EXPECT_FALSE(GetUpdateRect(gauge.g, nullptr, FALSE));
  // A shorter period: the marker falls back to the value within it.
  gauge.Send(BGM_SETPEAKTIME, 50);
  const DWORD start = GetTickCount();
  MSG msg;
  while (gauge.Bar(0, kttest::kRed) != Blocks(2) && GetTickCount() - start < 1000) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
  EXPECT_EQ(gauge.Bar(0, kttest::kRed), Blocks(2));
  EXPECT_LT(GetTickCount() - start, 500u);
}

TEST(BarGauge, SetsItsOwnHeightAndBackground) {
  const int edge = GetSystemMetrics(SM_CXEDGE);
  struct { DWORD style, ex; int height; DWORD gap; } cases[] = {
      {BGS_NOTEXT, 0, 23, GetSysColor(COLOR_WINDOW)},
      {BGS_NOTEXT | BGS_BLACKBACKGROUND, WS_EX_CLIENTEDGE, 23 + 2 * edge, kttest::kBlack},
  };
  for (auto &c : cases) {
    Gauge gauge(c.style, c.ex);
    RECT r;
    GetWindowRect(gauge.g, &r);
    EXPECT_EQ(r.bottom - r.top, c.height);
    gauge.Send(BGM_SETVALUE, 0, 50);
    // Between the blocks and below the bars: the background.
    const Pixels p(gauge.g);
    const DWORD gap = (c.gap & 0xFF) << 16 | (c.gap & 0xFF00) | (c.gap >> 16 & 0xFF);
    EXPECT_EQ(p.at(8, 5), gap);
    EXPECT_EQ(p.at(50, 21), gap);
  }
  // The text strip adds the font's height; caption and label stand in it.
  Gauge text(0);
  RECT r;
  GetClientRect(text.g, &r);
  const int strip = r.bottom - 23;
  EXPECT_GT(strip, 6);
  SetWindowTextA(text.g, "Caption");
  text.Send(BGM_SETLABEL, 0, reinterpret_cast<LPARAM>("label"));
  text.Send(BGM_SETVALUE, 0, 50);
  const Pixels p(text.g);
  EXPECT_GT(p.Count(kttest::kBlue, 0, 0, 40, strip), 0);   // the caption
  EXPECT_GT(p.Count(kttest::kBlue, 64, 0, 104, 10), 0);    // the label, above the value
  EXPECT_EQ(p.Count(kttest::kRed, 0, 0, 104, strip + 3), 0);  // the bars start below
  EXPECT_EQ(p.Runs(strip + 3, false, kttest::kRed), Blocks(7));
}

// Both controls keep a label of up to 254 characters and stay out of the
// tab order, made from a dialog template like the product's own.
TEST(MeterControls, LabelsAndDialogs) {
  for (const char *cls : {KT_STRIPGRAPH_CLASS, KT_BARGAUGE_CLASS}) {
    kttest::TestParent parent;
    HWND c = parent.Child(cls, WS_TABSTOP, 0, 0, 60, 60);
    EXPECT_EQ(GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP, 0) << cls;
    EXPECT_EQ(SendMessageA(c, WM_GETDLGCODE, 0, 0), DLGC_STATIC) << cls;
    for (size_t n : {0, 254, 255, 300}) {
      const std::string text(n, 'x');
      SendMessageA(c, SGM_SETLABEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
      SendMessageA(c, SGM_SETLABEL, 0, 0);  // NULL is ignored
      kttest::CheckBounded(
          text.substr(0, 254),
          [&](char *buf, int size) {
            SendMessageA(c, SGM_GETLABEL, size, reinterpret_cast<LPARAM>(buf));
          },
          true);
    }
    SendMessageA(c, SGM_GETLABEL, 10, 0);
  }

  // A dialog with one control of each class and a button: only the button
  // is a tab stop. Items start on 4-byte boundaries; texts are UTF-16.
  std::vector<WORD> t;
  auto words = [&](const void *p, size_t bytes) {
    auto w = static_cast<const WORD *>(p);
    t.insert(t.end(), w, w + bytes / 2);
  };
  auto text = [&](const char *s) {
    for (; *s; ++s) t.push_back(*s);
    t.push_back(0);
  };
  const DLGTEMPLATE head{WS_POPUP | WS_VISIBLE, 0, 3, 0, 0, 120, 80};
  words(&head, sizeof head);
  t.insert(t.end(), {0, 0, 0});  // no menu, standard class, no title
  const struct { const char *cls; WORD id; } items[] = {
      {KT_STRIPGRAPH_CLASS, 100}, {KT_BARGAUGE_CLASS, 101}, {"BUTTON", 102}};
  for (auto &item : items) {
    if (t.size() % 2) t.push_back(0);
    const DLGITEMTEMPLATE it{WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 5, 5, 100, 20, item.id};
    words(&it, sizeof it);
    text(item.cls);
    text("");
    t.push_back(0);
  }
  HWND dialog = CreateDialogIndirectParamA(nullptr, reinterpret_cast<DLGTEMPLATE *>(t.data()),
                                          nullptr, nullptr, 0);
  ASSERT_TRUE(dialog != nullptr);
  EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), GetDlgItem(dialog, 102));
  RECT r;
  GetWindowRect(GetDlgItem(dialog, 101), &r);
  EXPECT_GT(r.bottom - r.top, 23);  // the gauge set its own height
  DestroyWindow(dialog);
}

}  // namespace
