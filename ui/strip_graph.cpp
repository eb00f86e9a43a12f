// The strip graph: two series of samples scrolling from right to left, one
// pixel column per sample, kept in rings as wide as the window.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#include "control_common.h"
#include "core/attach_steps.h"
#include "core/lifecycle.h"
#include "ktutil.h"

namespace kt {
namespace {

using Ring = std::unique_ptr<LONG[]>;

struct StripGraph {
  HWND window;
  HFONT font;
  int fontHeight;
  LONG scaleMin = 0;
  LONG scaleMax = 100;
  Ring rings[2];
  UINT committed = 0;
  UINT capacity = 0;
  UINT oldest = 0;
  UINT open = 0;
  char label[kLabelSize] = "";
  int gridX = 10;
  int gridY = 10;
  HBITMAP backBuffer = nullptr;
  COLORREF background = RGB(0, 0, 0);
  COLORREF grid = RGB(0, 128, 0);
  COLORREF text = RGB(0, 255, 0);
  COLORREF series[2] = {RGB(255, 0, 0), RGB(0, 255, 0)};
};

StripGraph *Get(HWND window) { return StateOf<StripGraph>(window); }

void DiscardBackBuffer(StripGraph &g) {
  if (g.backBuffer != nullptr) DeleteObject(g.backBuffer);
  g.backBuffer = nullptr;
}

// Keeps the newest samples that fit, oldest first from column 0. The open
// sample's value is dropped. A ring that cannot be had leaves the chart
// empty, as at width 0.
void Resize(StripGraph &g, UINT capacity) {
  if (capacity == g.capacity) return;
  Ring fresh[2];
  if (capacity != 0) {
    for (Ring &ring : fresh) ring.reset(new (std::nothrow) LONG[capacity]());
  }
  const UINT before = g.capacity == 0 ? 0 : (g.open - g.oldest + g.capacity) % g.capacity;
  const UINT kept = capacity == 0 ? 0 : std::min(before, capacity - 1);
  if (capacity != 0 && fresh[0] && fresh[1]) {
    for (int s = 0; s < 2; ++s) {
      for (UINT i = 0; g.rings[s] && i < kept; ++i)
        fresh[s][i] = g.rings[s][(g.oldest + before - kept + i) % g.capacity];
    }
    g.capacity = capacity;
    g.committed = g.open = kept;
  } else {
    fresh[0].reset();
    fresh[1].reset();
    g.capacity = g.committed = g.open = 0;
  }
  g.oldest = 0;
  g.rings[0] = std::move(fresh[0]);
  g.rings[1] = std::move(fresh[1]);
}

// Length of a value's bar from baseline towards an edge span pixels away
// (negative span: upwards). A bar that is not empty is at least 3 pixels.
int BarLength(const StripGraph &g, LONG value, int span) {
  if (g.scaleMax == g.scaleMin) return 0;
  int64_t d = (int64_t{value} - g.scaleMin) * span / (int64_t{g.scaleMax} - g.scaleMin);
  if (d >= 1 && d <= 3) d = 3;
  if (d >= -3 && d <= -1) d = -3;
  // Far beyond the scale: past the far edge either way, cut by the window.
  const int64_t limit = 2 * (std::abs(span) + 3);
  return static_cast<int>(std::clamp<int64_t>(d, -limit, limit));
}

bool Inside(int v, int from, int to) { return v >= from && v <= to; }

// The committed samples from column 0 on; the open one is never drawn. A
// chart that has not yet committed a sample shows every (zero) entry.
void DrawSeries(HDC dc, const StripGraph &g, int s, int y0, int y1, const RECT &clip) {
  if (!g.rings[s] || g.committed == 1) return;
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, g.series[s]));
  Selected chosen(dc, pen.get());
  const UINT count = g.committed == 0 ? g.capacity : g.committed;
  const UINT last = std::min<UINT>(count, clip.right + 1);
  for (UINT x = std::max<LONG>(clip.left, 0); x < last; ++x) {
    const int d = BarLength(g, g.rings[s][(g.oldest + x) % g.capacity], y1 - y0);
    MoveToEx(dc, x, y0, nullptr);
    LineTo(dc, x, y0 + d);
  }
}

// The whole chart over area; lines and columns outside clip (edges
// inclusive) are left out.
void DrawChart(HDC dc, const StripGraph &g, const RECT &area, const RECT &clip) {
  const int w = area.right, h = area.bottom;
  SetBkColor(dc, g.background);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
  {
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, g.grid));
    Selected chosen(dc, pen.get());
    // Vertical lines move left with the oldest sample.
    const int s = g.gridX, t = g.gridY;
    for (int x = s - static_cast<int>(g.oldest % s); x < w; x += s) {
      if (!Inside(x, clip.left, clip.right)) continue;
      MoveToEx(dc, x, 0, nullptr);
      LineTo(dc, x, h);
    }
    auto row = [&](int y) {
      if (!Inside(y, clip.top, clip.bottom)) return;
      MoveToEx(dc, 0, y, nullptr);
      LineTo(dc, w, y);
    };
    row(h / 2);
    for (int y = h / 2 - t; t > 0 && y > 0; y -= t) row(y);
    for (int y = h / 2 + t; t > 0 && y <= h; y += t) row(y);
  }
  DrawSeries(dc, g, 0, h / 2 - 1, 0, clip);
  DrawSeries(dc, g, 1, h / 2 + 1, h, clip);
}

void Advance(StripGraph &g) {
  if (g.capacity == 0) return;
  bool scrolled = false;
  if (++g.committed == g.capacity) {
    --g.committed;
    g.oldest = (g.oldest + 1) % g.capacity;
    scrolled = true;
  }
  g.open = (g.open + 1) % g.capacity;
  InvalidateRect(g.window, nullptr, FALSE);
  if (g.backBuffer == nullptr) return;

  // Only the new column is drawn into the back buffer; a full chart first
  // moves one pixel to the left.
  RECT client, area;
  GetClientRect(g.window, &client);
  area = client;
  area.right -= 1;
  HDC windowDC = GetDC(g.window);
  HDC memory = CreateCompatibleDC(windowDC);
  ReleaseDC(g.window, windowDC);
  {
    Selected buffer(memory, g.backBuffer);
    RECT update = area;
    if (scrolled) {
      ScrollDC(memory, -1, 0, &area, &area, nullptr, nullptr);
      update.left = area.right - 1;
    } else {
      update.left = g.committed - 1;
    }
    IntersectClipRect(memory, update.left, update.top, update.right + 1,
                      update.bottom + 1);
    DrawChart(memory, g, client, update);
  }
  DeleteDC(memory);
}

void Paint(StripGraph &g) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(g.window, &ps);
  RECT client;
  GetClientRect(g.window, &client);
  if (client.right > 0 && client.bottom > 0) {
    HDC memory = CreateCompatibleDC(dc);
    if (g.backBuffer == nullptr) {
      // Drawn whole, not just the paint rectangle: parts of the window that
      // were covered now are copied from it later.
      g.backBuffer = CreateCompatibleBitmap(dc, client.right, client.bottom);
      Selected buffer(memory, g.backBuffer);
      RECT all = {0, 0, client.right - 1, client.bottom - 1};
      DrawChart(memory, g, client, all);
    }
    {
      Selected buffer(memory, g.backBuffer);
      BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    }
    DeleteDC(memory);

    char caption[256];
    const int captionLength = GetWindowTextA(g.window, caption, sizeof caption);
    Selected font(dc, g.font);
    SetTextColor(dc, g.text);
    SetBkColor(dc, g.background);
    SetBkMode(dc, OPAQUE);
    SetTextAlign(dc, TA_RIGHT | TA_TOP);
    TextOutA(dc, client.right - 1, 1, g.label, lstrlenA(g.label));
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    TextOutA(dc, 1, 1, caption, captionLength);
  }
  EndPaint(g.window, &ps);
}

bool ValidSeries(const StripGraph &g, WPARAM series) {
  return series < 2 && g.rings[series] && g.capacity != 0 && g.committed != 0;
}

LRESULT CreateState(HWND window) {
  auto *g = new (std::nothrow) StripGraph;
  if (g == nullptr) return -1;
  g->window = window;
  g->font = CreateControlFont(8);
  g->fontHeight = FontTextHeight(g->font);
  SetState(window, g);
  RemoveTabStop(window);
  // Square grid cells on screens whose pixels are not.
  if (HDC screen = ScreenDC()) {
    const int ax = GetDeviceCaps(screen, ASPECTX), ay = GetDeviceCaps(screen, ASPECTY);
    if (ax > 0 && ay > 0) g->gridY = 10 * ay / ax;
  }
  return 0;
}

void DestroyState(HWND window, StripGraph *g) {
  DiscardBackBuffer(*g);
  SetState(window, nullptr);
  DeleteObject(g->font);
  delete g;
}

LRESULT CALLBACK StripGraphProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) return CreateState(window);
  StripGraph *g = Get(window);
  if (g == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_DESTROY:
      DestroyState(window, g);
      return 0;
    case WM_SIZE:
      DiscardBackBuffer(*g);
      Resize(*g, LOWORD(lParam));
      return 0;
    case WM_PAINT:
      Paint(*g);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_TIMER:
      return 0;
    case SGM_SETRANGE: {
      const LONG low = static_cast<LONG>(wParam), high = static_cast<LONG>(lParam);
      if (low != g->scaleMin || high != g->scaleMax) {
        g->scaleMin = low;
        g->scaleMax = high;
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    }
    case SGM_GETMAX: {
      if (!ValidSeries(*g, wParam)) return 0;
      LONG most = 0;
      for (UINT i = 0; i < g->committed; ++i)
        most = std::max(most, g->rings[wParam][(g->oldest + i) % g->capacity]);
      return most;
    }
    case SGM_SETVALUE:
      if (ValidSeries(*g, wParam)) {
        g->rings[wParam][g->open] = static_cast<LONG>(lParam);
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case SGM_GETVALUE:
      return ValidSeries(*g, wParam) ? g->rings[wParam][g->open] : 0;
    case SGM_SETLABEL: {
      if (lParam == 0) return 0;
      strncpy0(g->label, reinterpret_cast<LPCSTR>(lParam), kLabelKeep);
      RECT strip;
      GetClientRect(window, &strip);
      strip.bottom = g->fontHeight + 1;  // the text starts one row down
      InvalidateRect(window, &strip, TRUE);
      return 0;
    }
    case SGM_GETLABEL:
      CopyLabelOut(g->label, wParam, lParam);
      return 0;
    case SGM_ADVANCE:
      Advance(*g);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void RegisterStripGraphClass() {
  RegisterControlClass(KT_STRIPGRAPH_CLASS, StripGraphProc);
}

}  // namespace kt
