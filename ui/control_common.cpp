// Class registration, font and focus handling shared by the two controls.
#include "control_common.h"

#include <algorithm>
#include <climits>

#include "core/lifecycle.h"
#include "ktutil.h"

namespace kt {

bool RegisterControlClass(const char *name, WNDPROC proc) {
  WNDCLASSA wc = {};
  wc.style = CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = ModuleHandle();
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

int PointsToFontHeight(int points) {
  HDC screen = ScreenDC();
  return screen != nullptr ? MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72) : 14;
}

HFONT CreateControlFont(int points) {
  return CreateFontA(PointsToFontHeight(points), 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0,
                     0, "Small Fonts");
}

int FontTextHeight(HFONT font) {
  // Without the library's screen context, one borrowed for the measure.
  HDC screen = ScreenDC();
  HDC dc = screen != nullptr ? screen : GetDC(nullptr);
  TEXTMETRICA tm = {};
  {
    Selected chosen(dc, font);
    GetTextMetricsA(dc, &tm);
  }
  if (screen == nullptr) ReleaseDC(nullptr, dc);
  return tm.tmHeight;
}

void CopyLabelOut(const char *label, WPARAM size, LPARAM buffer) {
  if (buffer != 0)
    strncpy0(reinterpret_cast<LPSTR>(buffer), label,
             static_cast<int>(std::min<WPARAM>(size, INT_MAX)));
}

void RemoveTabStop(HWND window) {
  SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) & ~WS_TABSTOP);
}

}  // namespace kt
