// Windows for the control tests and their pixels, read back through the
// control's own device context.
#pragma once

#include "win/win_helpers.h"

namespace kttest {

// A visible window at a fixed place (client area at screen 10, 10), so that
// its children get painted, with a control of the library in it.
struct Control {
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 600, 400,
                                nullptr, nullptr, nullptr, nullptr);
  HWND c = nullptr;
  Control(const char *cls, DWORD style, int w, int h, DWORD ex = 0)
      : c(CreateWindowExA(ex, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, w, h, parent,
                          nullptr, nullptr, nullptr)) {}
  explicit Control(WNDPROC parentProc) {
    SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(parentProc));
  }
  ~Control() { DestroyWindow(parent); }
  LRESULT Send(UINT m, WPARAM w = 0, LPARAM l = 0) { return SendMessageA(c, m, w, l); }
};

// The client area's colours, painted first.
struct Pixels {
  int w = 0, h = 0;
  std::vector<COLORREF> bits;
  explicit Pixels(HWND window) {
    UpdateWindow(window);
    RECT r;
    GetClientRect(window, &r);
    w = r.right, h = r.bottom;
    HDC dc = GetDC(window);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) bits.push_back(GetPixel(dc, x, y));
    ReleaseDC(window, dc);
  }
  COLORREF at(int x, int y) const { return bits[y * w + x]; }
  int Count(COLORREF colour, int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += at(x, y) == colour;
    return n;
  }
  // Where a column (or row) has the colour, as "a-b,c".
  std::string Runs(int fixed, bool column, COLORREF colour) const {
    std::string out;
    for (int i = 0, n = column ? h : w, start = -1; i <= n; ++i) {
      const bool is = i < n && (column ? at(fixed, i) : at(i, fixed)) == colour;
      if (is && start < 0) start = i;
      if (is || start < 0) continue;
      out += (out.empty() ? "" : ",") + std::to_string(start) +
             (i - 1 > start ? "-" + std::to_string(i - 1) : "");
      start = -1;
    }
    return out;
  }
};

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kDarkGreen = RGB(0, 128, 0);

}  // namespace kttest
