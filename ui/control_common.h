// What the strip graph and the bar gauge share: their window class, their
// font and the state pointer kept in the window's extra bytes.
#pragma once

#include <windows.h>

namespace kt {

// A global class with the arrow cursor and the window-colour background,
// room for one pointer; FALSE when the platform refuses it.
bool RegisterControlClass(const char *name, WNDPROC proc);

// Height in pixels of a font of this many points on the screen (14 when
// the library holds no screen device context).
int PointsToFontHeight(int points);
// The controls' "Small Fonts" face at that height, and its tmHeight.
HFONT CreateControlFont(int points);
int FontTextHeight(HFONT font);

// The controls never take the focus by tabbing.
void RemoveTabStop(HWND window);

template <typename State>
State *StateOf(HWND window) {
  return reinterpret_cast<State *>(GetWindowLongPtrA(window, 0));
}
inline void SetState(HWND window, void *state) {
  SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(state));
}

// Text copied into a control's 256-byte label: at most 254 characters.
constexpr int kLabelSize = 256;
constexpr int kLabelKeep = 255;  // strncpy0 size: 254 characters and the end
// The label into a caller's buffer of size bytes, cut and terminated; a
// NULL buffer gets nothing.
void CopyLabelOut(const char *label, WPARAM size, LPARAM buffer);

// Drawing objects selected for one paint and put back when it ends.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected &) = delete;
  Selected &operator=(const Selected &) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A GDI object deleted when it goes out of scope.
template <typename Handle>
class GdiObject {
 public:
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() {
    if (handle_ != nullptr) DeleteObject(handle_);
  }
  GdiObject(const GdiObject &) = delete;
  GdiObject &operator=(const GdiObject &) = delete;
  Handle get() const { return handle_; }

 private:
  Handle handle_;
};

}  // namespace kt
