// The layout bar placed by its owner and dragged with the mouse, as a user
// would, with every notification its parent receives.
#include <cstdio>
#include <tuple>

#include "win/window_pixels.h"

namespace {

using Note = std::tuple<WORD, WORD, LPARAM>;  // code, bar identifier, lParam
std::vector<Note> g_notes;

LRESULT CALLBACK RecordingParent(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_PARENTNOTIFY) g_notes.emplace_back(LOWORD(w), HIWORD(w), l);
  return DefWindowProcA(window, message, w, l);
}

std::string Str(const RECT &r) {
  char s[64];
  return std::string(s, sprintf(s, "%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom));
}

// A bar (c) 4 pixels thick, by default in an area of 404 x 304 pixels.
struct Splitter : kttest::Control {
  RECT placed = {};  // where SizeLayoutBar said it put the bar
  Splitter(WORD flags, UINT position, RECT area = {0, 0, 404, 304})
      : Control(RecordingParent) {
    g_notes.clear();
    c = CreateLayoutBar(parent, flags, position, 4, COLOR_BTNSHADOW, 77);
    // Only the platform's notice of the creation: the first move is ignored.
    EXPECT_TRUE(g_notes.size() == 1 && std::get<0>(g_notes[0]) == WM_CREATE);
    SizeLayoutBar(c, area, &placed);
    g_notes.clear();
  }
  RECT Now() const {
    RECT r = {};
    GetParentRect(c, &r);
    return r;
  }
};

TEST(LayoutBar, PlacedInsideTheAreaAndDraggedToWhereTheMouseIsReleased) {
  const std::tuple<WORD, UINT, UINT, RECT, const char *> cases[] = {
      // flags, position, permille, area, where the bar goes
      {0, 500, 500, {0, 0, 404, 304}, "200,0,204,304"},
      {0, 0, 0, {0, 0, 404, 304}, "0,0,4,304"},
      {0, 1000, 1000, {0, 0, 404, 304}, "400,0,404,304"},
      {0, 1500, 1000, {0, 0, 404, 304}, "400,0,404,304"},
      {0, 250, 250, {100, 20, 504, 60}, "200,20,204,60"},
      {LYBS_HORIZONTAL, 500, 500, {0, 0, 404, 304}, "0,150,404,154"},
      {LYBS_PIXELS, 150, 0, {20, 0, 420, 304}, "170,0,174,304"},
      {LYBS_PIXELS, 150, 0, {20, 0, 60, 304}, "170,0,174,304"},
      {0, 500, 500, {50, 0, 52, 304}, "50,0,54,304"},  // narrower than the bar
  };
  for (auto &[flags, position, permille, area, placed] : cases) {
    Splitter s(flags, position, area);
    EXPECT_EQ(Str(s.placed), placed) << flags << ' ' << position;
    EXPECT_EQ(Str(s.Now()), placed) << flags << ' ' << position;
    EXPECT_EQ(GetLayoutBarPermille(s.c), permille) << flags << ' ' << position;
    EXPECT_TRUE(IsWindowVisible(s.c) && GetDlgCtrlID(s.c) == 77);
  }
  // The platform moving the bar itself: held inside the area, the parent told.
  Splitter moved(0, 500);
  RECT proposed = {10 + 600, 0, 10 + 604, 5};  // screen coordinates
  EXPECT_EQ(moved.Send(WM_MOVING, 0, reinterpret_cast<LPARAM>(&proposed)), TRUE);
  EXPECT_EQ(Str(proposed), "410,10,414,314");
  EXPECT_EQ(g_notes, (std::vector<Note>{{WM_MOVING, 77, LPARAM(&proposed)}}));
  // Not a bar: nothing happens.
  SizeLayoutBar(nullptr, RECT{0, 0, 10, 10}, nullptr);
  SizeLayoutBar(GetDesktopWindow(), RECT{0, 0, 10, 10}, nullptr);
  EXPECT_EQ(GetLayoutBarPermille(GetDesktopWindow()), 0u);
  EXPECT_EQ(CreateLayoutBar(nullptr, 0, 0, 4, COLOR_BTNFACE, 1), nullptr);

  // Grabbed 2 pixels into the bar and dragged past both ends of the area. A
  // release past the far end leaves the bar on the area's edge (a horizontal
  // bar one pixel below it); a drag cut short leaves it where it was.
  enum End { kRelease, kCancelMode, kCaptureLost };
  // flags, where the mouse goes along the bar's axis, how the drag ends,
  // where the bar is then and its permille
  const std::tuple<WORD, std::pair<int, int>, End, const char *, UINT> drags[] = {
      {0, {-900, 900}, kRelease, "400,0,404,304", 1000},
      {LYBS_HORIZONTAL, {-900, 900}, kRelease, "0,301,404,305", 1000},
      {0, {900, -148}, kRelease, "50,0,54,304", 125},
      {0, {900, -148}, kCancelMode, "200,0,204,304", 500},
      {0, {900, -148}, kCaptureLost, "200,0,204,304", 500},
  };
  for (auto &[flags, past, end, placed, permille] : drags) {
    Splitter s(flags, 500);
    auto mouse = [&, h = flags & LYBS_HORIZONTAL](UINT m, int v) {
      s.Send(m, 0, h ? MAKELPARAM(2, v) : MAKELPARAM(v, 2));
    };
    mouse(WM_LBUTTONDOWN, 2);
    EXPECT_EQ(GetCapture(), s.c);
    mouse(WM_MOUSEMOVE, past.first);
    mouse(WM_MOUSEMOVE, past.second);
    EXPECT_TRUE(g_notes.empty());  // only the tracking rectangle moved
    if (end == kCancelMode) s.Send(WM_CANCELMODE);
    if (end == kCaptureLost) SetCapture(s.parent);
    mouse(WM_LBUTTONUP, past.second);
    EXPECT_NE(GetCapture(), s.c);
    ReleaseCapture();
    const RECT r = s.Now();
    EXPECT_EQ(Str(r), placed);
    EXPECT_EQ(GetLayoutBarPermille(s.c), permille);
    std::vector<Note> want = {{0x200, 77, r.left},
                              {WM_MOVE, 77, MAKELPARAM(r.left, r.top)}};
    if (end != kRelease) want.clear();
    EXPECT_EQ(g_notes, want);
  }
}

}  // namespace
