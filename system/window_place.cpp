// Placing windows: centred on the work area, or relative to their parent.
#include "ktutil.h"

namespace {

// Starts at the area's start when it does not fit, else ends by its end.
int Clamp(int pos, int length, int start, int end) {
  if (pos < start) return start;
  if (pos + length > end) return end - length;
  return pos;
}

}  // namespace

extern "C" BOOL KTAPI GetParentRect(HWND window, RECT *rect) {
  RECT screen = {};
  GetWindowRect(window, &screen);
  POINT corner = {screen.left, screen.top};
  BOOL converted = ScreenToClient(GetParent(window), &corner);
  rect->left = corner.x;
  rect->top = corner.y;
  rect->right = corner.x + (screen.right - screen.left);
  rect->bottom = corner.y + (screen.bottom - screen.top);
  return converted;
}

extern "C" BOOL KTAPI CenterWindow(HWND window) {
  RECT work = {}, own = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(window, &own);
  const int width = own.right - own.left, height = own.bottom - own.top;
  const int x =
      Clamp((work.left + work.right) / 2 - width / 2, width, work.left, work.right);
  const int y =
      Clamp((work.top + work.bottom) / 2 - height / 2, height, work.top, work.bottom);
  return SetWindowPos(window, nullptr, x, y, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
