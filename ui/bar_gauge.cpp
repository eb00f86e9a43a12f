// The bar gauge: two values as segmented bars with peak markers that fall
// back on a timer, like a level meter.
#include <algorithm>
#include <cstring>
#include <new>

#include "control_common.h"
#include "core/attach_steps.h"
#include "core/lifecycle.h"
#include "ktutil.h"

namespace kt {
namespace {

constexpr UINT_PTR kPeakTimer = 101;
constexpr UINT kPeakPeriod = 2000;
constexpr int kBlock = 6, kPitch = 7;  // a block and the gap after it

struct BarGauge {
  HWND window;
  HFONT font;
  int textHeight;
  int barHeight = 8;
  LONG scaleMin = 0;
  LONG scaleMax = 100;
  LONG current[2] = {0, 0};
  LONG peak[2] = {0, 0};
  char label[kLabelSize] = "";
};

const COLORREF kBarColour[2] = {RGB(255, 0, 0), RGB(0, 255, 0)};
const COLORREF kTextColour = RGB(0, 0, 255);

BarGauge *Get(HWND window) { return StateOf<BarGauge>(window); }

bool HasStyle(HWND window, LONG style) {
  return (GetWindowLongA(window, GWL_STYLE) & style) != 0;
}

// The strip of caption and label at the top, and the bars below it.
RECT CaptionStrip(const BarGauge &g) {
  RECT r;
  GetClientRect(g.window, &r);
  r.bottom = g.textHeight + (g.textHeight > 0 ? 1 : 0);  // the text starts one row down
  return r;
}
void InvalidateBars(const BarGauge &g) {
  RECT r;
  GetClientRect(g.window, &r);
  r.top = g.textHeight;
  InvalidateRect(g.window, &r, TRUE);
}

// Pixels of a value on a bar of the given width: an empty bar below the
// scale, a full one above it.
int Length(const BarGauge &g, LONG value, int width) {
  if (g.scaleMax <= g.scaleMin) return 0;
  const double perUnit = double(width) / (double(g.scaleMax) - g.scaleMin);
  const double length = (double(value) - g.scaleMin) * perUnit;
  return static_cast<int>(std::clamp(length, 0.0, double(std::max(width, 0))));
}

void DrawBar(HDC dc, const BarGauge &g, int bar, const RECT &r, HBRUSH brush) {
  const int width = r.right - r.left;
  const int length = Length(g, g.current[bar], width);
  const int blocks = length > 0 && length < kPitch ? 1 : length / kPitch;
  for (int i = 0; i < blocks; ++i) {
    RECT block = {r.left + kPitch * i, r.top, r.left + kPitch * i + kBlock, r.bottom};
    FillRect(dc, &block, brush);
  }
  // The marker sits in client columns, against the last block the peak lit.
  const int k = Length(g, g.peak[bar], width) / kPitch;
  RECT marker = {kPitch * k - 2, r.top, kPitch * k, r.bottom};
  FillRect(dc, &marker, brush);

  char number[128];
  wsnprintf(number, sizeof number, "%d", static_cast<int>(g.current[bar]));
  RECT place = {r.left, r.bottom - g.textHeight, r.right, r.bottom};
  DrawTextA(dc, number, -1, &place, DT_RIGHT | DT_SINGLELINE | DT_BOTTOM);
}

void Paint(BarGauge &g) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(g.window, &ps);
  const int saved = SaveDC(dc);
  GdiObject<HBRUSH> brushes[2] = {GdiObject<HBRUSH>(CreateSolidBrush(kBarColour[0])),
                                  GdiObject<HBRUSH>(CreateSolidBrush(kBarColour[1]))};
  SelectObject(dc, g.font);
  SetTextColor(dc, kTextColour);
  SetBkMode(dc, OPAQUE);

  RECT client;
  GetClientRect(g.window, &client);
  int areaTop = client.top;
  if (!HasStyle(g.window, BGS_NOTEXT)) {
    RECT strip = client;
    InflateRect(&strip, -1, -1);
    strip.bottom = strip.top + g.textHeight;
    DrawTextA(dc, g.label, -1, &strip, DT_RIGHT);
    char caption[256];
    GetWindowTextA(g.window, caption, sizeof caption);
    DrawTextA(dc, caption, -1, &strip, DT_LEFT);
    areaTop = strip.bottom;
  }
  SetBkMode(dc, TRANSPARENT);
  RECT bar = {client.left + 2, areaTop + 2, client.right - 2, areaTop + 2 + g.barHeight};
  for (int i = 0; i < 2; ++i) {
    DrawBar(dc, g, i, bar, brushes[i].get());
    OffsetRect(&bar, 0, g.barHeight + 2);
  }
  RestoreDC(dc, saved);
  EndPaint(g.window, &ps);
}

LRESULT CreateState(HWND window) {
  auto *g = new (std::nothrow) BarGauge;
  if (g == nullptr) return -1;
  g->window = window;
  SetState(window, g);
  g->font = CreateControlFont(8);
  g->textHeight = HasStyle(window, BGS_NOTEXT) ? 0 : FontTextHeight(g->font);
  SetTimer(window, kPeakTimer, kPeakPeriod, nullptr);
  RemoveTabStop(window);

  RECT r;
  GetWindowRect(window, &r);
  int height = g->textHeight + 2 * g->barHeight + 7;
  if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
    height += 2 * GetSystemMetrics(SM_CXEDGE);
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left, height,
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  return 0;
}

void DestroyState(HWND window, BarGauge *g) {
  KillTimer(window, kPeakTimer);
  SetState(window, nullptr);
  DeleteObject(g->font);
  delete g;
}

LRESULT CALLBACK BarGaugeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) return CreateState(window);
  BarGauge *g = Get(window);
  if (g == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_DESTROY:
      DestroyState(window, g);
      return 0;
    case WM_PAINT:
      Paint(*g);
      return 0;
    case WM_ERASEBKGND:
      if (!HasStyle(window, BGS_BLACKBACKGROUND)) break;
      {
        RECT r;
        GetClientRect(window, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r,
                 static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      }
      return 1;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_TIMER: {
      bool fell = false;
      for (int i = 0; i < 2; ++i) {
        if (g->peak[i] == g->current[i]) continue;
        g->peak[i] = g->current[i];
        fell = true;
      }
      if (fell) InvalidateBars(*g);
      return 0;
    }
    case BGM_SETMIN:
    case BGM_SETMAX: {
      LONG &bound = message == BGM_SETMIN ? g->scaleMin : g->scaleMax;
      if (bound != static_cast<LONG>(wParam)) {
        bound = static_cast<LONG>(wParam);
        InvalidateBars(*g);
      }
      return 0;
    }
    case BGM_SETVALUE: {
      const LONG value = static_cast<LONG>(lParam);
      if (wParam > 1 || g->current[wParam] == value) return 0;
      g->current[wParam] = value;
      g->peak[wParam] = std::max(g->peak[wParam], value);
      InvalidateBars(*g);
      return 0;
    }
    case BGM_GETVALUE:
      return wParam < 2 ? g->current[wParam] : 0;
    case BGM_SETLABEL: {
      const char *text = reinterpret_cast<const char *>(lParam);
      if (text == nullptr || strncmp(text, g->label, kLabelKeep - 1) == 0) return 0;
      strncpy0(g->label, text, kLabelKeep);
      RECT strip = CaptionStrip(*g);
      InvalidateRect(window, &strip, TRUE);
      return 0;
    }
    case BGM_GETLABEL:
      CopyLabelOut(g->label, wParam, lParam);
      return 0;
    case BGM_SETPEAKTIME:
      SetTimer(window, kPeakTimer, static_cast<UINT>(wParam), nullptr);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void RegisterBarGaugeClass() { RegisterControlClass(KT_BARGAUGE_CLASS, BarGaugeProc); }

}  // namespace kt
