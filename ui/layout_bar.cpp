// The layout bar: a splitter between two panes of its parent. Its place is
// kept relative to the area it divides, so the owner can lay the panes out
// again after the parent changes size.
#include <algorithm>
#include <new>

#include "control_common.h"
#include "core/lifecycle.h"
#include "ktutil.h"

namespace kt {
namespace {

constexpr char kClassName[] = "KTLayoutBarWndClass";
constexpr WORD kFirstMovePending = 0x8000;
// Sent to the parent when a drag ends by releasing the button.
constexpr WORD kDragDone = 0x0200;

ATOM g_class = 0;  // registered by the first bar of the process

struct LayoutBar {
  HWND window = nullptr;
  WORD flags;
  WORD permille;
  WORD pixels;
  RECT area = {};
  HCURSOR cursor = nullptr;
  BOOL dragging = FALSE;
  RECT tracking = {};
  int grab = 0;
  HBRUSH halftone = nullptr;
  // Still inside CreateWindowEx: the creator, not the window, frees it.
  bool creating = true;

  bool Horizontal() const { return (flags & LYBS_HORIZONTAL) != 0; }
};

LayoutBar *Get(HWND window) {
  if (window == nullptr || g_class == 0 ||
      GetClassLongPtrA(window, GCW_ATOM) != static_cast<ULONG_PTR>(g_class))
    return nullptr;
  return StateOf<LayoutBar>(window);
}

// Start and end of a rectangle on the axis the bar moves along.
LONG &Near(RECT &r, bool horizontal) { return horizontal ? r.top : r.left; }
LONG &Far(RECT &r, bool horizontal) { return horizontal ? r.bottom : r.right; }

// Keeps [pos, pos + length) inside [start, end]; an area that is too short
// keeps the start.
int Hold(int pos, int length, int start, int end) {
  return std::max(std::min(pos, end - length), start);
}

void Notify(HWND bar, WORD code, LPARAM lParam) {
  SendMessageA(GetParent(bar), WM_PARENTNOTIFY, MAKEWPARAM(code, GetDlgCtrlID(bar)),
               lParam);
}

RECT AreaOnScreen(const LayoutBar &b) {
  RECT area = b.area;
  MapWindowPoints(GetParent(b.window), nullptr, reinterpret_cast<POINT *>(&area), 2);
  return area;
}

// Drawing it twice leaves the screen as it was.
void DrawTracking(const LayoutBar &b) {
  HDC screen = ScreenDC();
  if (screen == nullptr) return;
  const RECT &r = b.tracking;
  if (b.halftone != nullptr) {
    Selected brush(screen, b.halftone);
    PatBlt(screen, r.left, r.top, r.right - r.left, r.bottom - r.top, PATINVERT);
  } else {
    InvertRect(screen, &r);
  }
}

HBRUSH MakeHalftone() {
  const WORD rows[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
  if (pattern == nullptr) return nullptr;
  HBRUSH brush = CreatePatternBrush(pattern);
  DeleteObject(pattern);
  return brush;
}

POINT ScreenPoint(HWND window, LPARAM lParam) {
  POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(window, &p);
  return p;
}

void BeginDrag(LayoutBar &b, LPARAM lParam) {
  const POINT p = ScreenPoint(b.window, lParam);
  GetWindowRect(b.window, &b.tracking);
  b.grab = b.Horizontal() ? p.y - b.tracking.top : p.x - b.tracking.left;
  if (b.halftone == nullptr) b.halftone = MakeHalftone();
  DrawTracking(b);
  b.dragging = TRUE;
  SetCapture(b.window);
}

void DragTo(LayoutBar &b, LPARAM lParam) {
  const bool h = b.Horizontal();
  const POINT p = ScreenPoint(b.window, lParam);
  RECT area = AreaOnScreen(b);
  const int length = Far(b.tracking, h) - Near(b.tracking, h);
  // A horizontal bar may go one pixel further down than a vertical one
  // goes right.
  const int edge =
      Hold((h ? p.y : p.x) - b.grab, length, Near(area, h), Far(area, h) + (h ? 1 : 0));
  DrawTracking(b);
  GetWindowRect(b.window, &b.tracking);
  Near(b.tracking, h) = edge;
  Far(b.tracking, h) = edge + length;
  DrawTracking(b);
}

void EndDrag(LayoutBar &b, bool move) {
  DrawTracking(b);
  b.dragging = FALSE;
  ReleaseCapture();
  if (!move) return;
  RECT r = b.tracking;
  MapWindowPoints(nullptr, GetParent(b.window), reinterpret_cast<POINT *>(&r), 2);
  Notify(b.window, kDragDone, r.left);
  SetWindowPos(b.window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Moved(LayoutBar &b, LPARAM lParam) {
  if (b.flags & kFirstMovePending) {
    b.flags &= ~kFirstMovePending;
    return;
  }
  const bool h = b.Horizontal();
  const int pos =
      h ? static_cast<short>(HIWORD(lParam)) : static_cast<short>(LOWORD(lParam));
  const int start = Near(b.area, h);
  if (b.flags & LYBS_PIXELS) {
    b.pixels = static_cast<WORD>(std::clamp(pos - start, 0, 0xFFFF));
  } else {
    RECT client;
    GetClientRect(b.window, &client);
    const int room = Far(b.area, h) - start - (h ? client.bottom : client.right);
    // With no room to move the place says nothing: the proportion stays for
    // when the area grows again.
    if (room > 0)
      b.permille =
          static_cast<WORD>(std::clamp(MulDiv(pos - start, 1000, room), 0, 1000));
  }
  Notify(b.window, WM_MOVE, lParam);
}

void Moving(LayoutBar &b, RECT *proposed) {
  const bool h = b.Horizontal();
  RECT area = AreaOnScreen(b);
  // Across the bar: the area's full extent.
  Near(*proposed, !h) = Near(area, !h);
  Far(*proposed, !h) = Far(area, !h);
  const int length = Far(*proposed, h) - Near(*proposed, h);
  Near(*proposed, h) = Hold(Near(*proposed, h), length, Near(area, h), Far(area, h));
  Far(*proposed, h) = Near(*proposed, h) + length;
  Notify(b.window, WM_MOVING, reinterpret_cast<LPARAM>(proposed));
  RECT client;
  GetClientRect(b.window, &client);
  HDC dc = GetDC(b.window);
  DrawFocusRect(dc, &client);
  ReleaseDC(b.window, dc);
}

LRESULT CALLBACK LayoutBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto *b = static_cast<LayoutBar *>(
        reinterpret_cast<CREATESTRUCTA *>(lParam)->lpCreateParams);
    b->window = window;
    SetState(window, b);
    b->flags |= kFirstMovePending;
    b->cursor = LoadCursorA(
        nullptr, reinterpret_cast<LPCSTR>(b->Horizontal() ? IDC_SIZENS : IDC_SIZEWE));
    return 0;
  }
  LayoutBar *b = StateOf<LayoutBar>(window);
  if (b == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_MOVE:
      Moved(*b, lParam);
      return 0;
    case WM_SIZE:
      return 0;
    case WM_SETCURSOR:
      SetCursor(b->cursor);
      return 0;
    case WM_LBUTTONDOWN:
      if (!b->dragging) BeginDrag(*b, lParam);
      return 0;
    case WM_MOUSEMOVE:
      if (!b->dragging) break;
      DragTo(*b, lParam);
      return 0;
    case WM_LBUTTONUP:
      if (b->dragging) EndDrag(*b, true);
      return 0;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (b->dragging) EndDrag(*b, false);
      return 0;
    case WM_MOVING:
      if (lParam != 0) Moving(*b, reinterpret_cast<RECT *>(lParam));
      return TRUE;
    case WM_DESTROY:
      if (b->halftone != nullptr) DeleteObject(b->halftone);
      b->halftone = nullptr;
      SetState(window, nullptr);
      // Destroyed while being created: CreateLayoutBar sees the failure and
      // frees the state itself.
      if (!b->creating) delete b;
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterOnce(int colorIndex) {
  if (g_class != 0) return true;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = LayoutBarProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = ModuleHandle();
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(colorIndex) + 1);
  wc.lpszClassName = kClassName;
  g_class = RegisterClassA(&wc);
  return g_class != 0;
}

}  // namespace
}  // namespace kt

using kt::LayoutBar;

extern "C" HWND KTAPI CreateLayoutBar(HWND parent, WORD flags, UINT position,
                                      int thickness, int colorIndex, UINT id) {
  if (!kt::RegisterOnce(colorIndex)) return nullptr;
  auto *b = new (std::nothrow) LayoutBar;
  if (b == nullptr) return nullptr;
  b->flags = flags;
  const bool pixels = (flags & LYBS_PIXELS) != 0;
  b->permille = pixels ? 0 : static_cast<WORD>(std::min(position, 1000u));
  b->pixels = pixels ? static_cast<WORD>(std::min(position, 0xFFFFu)) : 0;
  if (thickness == 0)
    thickness = GetSystemMetrics((flags & LYBS_HORIZONTAL) ? SM_CYFRAME : SM_CXFRAME);
  HWND bar = CreateWindowExA(
      0, kt::kClassName, nullptr, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
      thickness, thickness, parent, reinterpret_cast<HMENU>(UINT_PTR{id}),
      kt::ModuleHandle(), b);
  b->creating = false;
  if (bar == nullptr) {
    delete b;  // never adopted, or its window is gone already
    return nullptr;
  }
  return bar;
}

extern "C" void KTAPI SizeLayoutBar(HWND bar, RECT area, RECT *barRect) {
  LayoutBar *b = kt::Get(bar);
  if (b == nullptr) return;
  const bool h = b->Horizontal();
  RECT client;
  GetClientRect(bar, &client);
  const int t = h ? client.bottom : client.right;
  RECT r = area;
  const int s = kt::Near(area, h), e = kt::Far(area, h);
  // An area shorter than the bar keeps it at the start.
  const int p =
      s + ((b->flags & LYBS_PIXELS) ? b->pixels
                                    : std::max(0, MulDiv(e - t - s, b->permille, 1000)));
  kt::Near(r, h) = p;
  kt::Far(r, h) = p + t;
  b->area = area;
  SetWindowPos(bar, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER);
  ShowWindow(bar, SW_SHOWNA);
  if (barRect != nullptr) *barRect = r;
}

extern "C" UINT KTAPI GetLayoutBarPermille(HWND bar) {
  LayoutBar *b = kt::Get(bar);
  return b != nullptr ? b->permille : 0;
}
