// Windows for the control tests and their pixels, read back through the
// control's own device context.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kttest {

// A visible top-level window at a fixed place, so its children get painted.
struct TestParent {
  HWND window;
  explicit TestParent(WNDPROC proc = DefWindowProcA, int w = 600, int h = 400) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    const std::string name = "kt-test-parent-" + std::to_string(reinterpret_cast<UINT_PTR>(proc));
    wc.lpszClassName = name.c_str();
    RegisterClassA(&wc);
    window = CreateWindowExA(0, name.c_str(), "", WS_POPUP | WS_VISIBLE, 10, 10, w, h, nullptr,
                             nullptr, nullptr, nullptr);
  }
  ~TestParent() { DestroyWindow(window); }
  HWND Child(const char *cls, DWORD style, int x, int y, int w, int h, DWORD ex = 0) const {
    return CreateWindowExA(ex, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, window,
                           nullptr, nullptr, nullptr);
  }
};

// The client area as 0x00RRGGBB values, painted first.
struct Pixels {
  int w = 0, h = 0;
  std::vector<DWORD> bits;
  explicit Pixels(HWND window) {
    UpdateWindow(window);
    RECT r;
    GetClientRect(window, &r);
    w = r.right;
    h = r.bottom;
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void *data = nullptr;
    HDC dc = GetDC(window), memory = CreateCompatibleDC(dc);
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &data, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    bits.assign(static_cast<DWORD *>(data), static_cast<DWORD *>(data) + w * h);
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(window, dc);
  }
  DWORD at(int x, int y) const { return bits[y * w + x] & 0xFFFFFF; }
  int Count(DWORD colour, int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += at(x, y) == colour;
    return n;
  }
  // The rows (or columns) of a column (row) that have the colour, as "a-b,c".
  std::string Runs(int fixed, bool column, DWORD colour) const {
    std::string out;
    const int n = column ? h : w;
    for (int i = 0; i < n; ++i) {
      if ((column ? at(fixed, i) : at(i, fixed)) != colour) continue;
      int j = i;
      while (j + 1 < n && (column ? at(fixed, j + 1) : at(j + 1, fixed)) == colour) ++j;
      out += (out.empty() ? "" : ",") + std::to_string(i) +
             (j > i ? "-" + std::to_string(j) : "");
      i = j;
    }
    return out;
  }
};

constexpr DWORD kRed = 0xFF0000, kGreen = 0x00FF00, kDarkGreen = 0x008000,
                kBlack = 0x000000, kBlue = 0x0000FF;

}  // namespace kttest
