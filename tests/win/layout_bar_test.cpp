// The layout bar placed by its owner and dragged with the mouse, as a user
// would, with every notification its parent receives.
#include <gtest/gtest.h>

#include <vector>

#include "ktutil.h"
#include "win/window_pixels.h"

namespace {

struct Note {
  WORD code, id;
  LPARAM lParam;
  bool operator==(const Note &o) const {
    return code == o.code && id == o.id && lParam == o.lParam;
  }
};
std::vector<Note> g_notes;

LRESULT CALLBACK RecordingParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PARENTNOTIFY) g_notes.push_back({LOWORD(wParam), HIWORD(wParam), lParam});
  return DefWindowProcA(window, message, wParam, lParam);
}

// The parent's client area starts at screen (10, 10); the area is 404 x 304.
struct Splitter {
  kttest::TestParent parent{RecordingParent};
  HWND bar;
  RECT placed = {};
  Splitter(WORD flags, UINT position, RECT area = {0, 0, 404, 304}) {
    g_notes.clear();
    bar = CreateLayoutBar(parent.window, flags, position, 4, COLOR_BTNSHADOW, 77);
    EXPECT_EQ(g_notes.size(), 1u);  // the platform's creation notice, no move
    if (!g_notes.empty()) EXPECT_EQ(g_notes[0].code, WM_CREATE);
    SizeLayoutBar(bar, area, &placed);
    g_notes.clear();
  }
  RECT Rect() const {
    RECT r;
    GetParentRect(bar, &r);
    return r;
  }
  void Mouse(UINT message, int x, int y) { SendMessageA(bar, message, 0, MAKELPARAM(x, y)); }
};

std::string Str(const RECT &r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right) + "," + std::to_string(r.bottom);
}

TEST(LayoutBar, PlacedInPermilleOrPixelsOfTheArea) {
  struct { WORD flags; UINT position; RECT area; const char *placed; UINT permille; } cases[] = {
      {0, 500, {0, 0, 404, 304}, "200,0,204,304", 500},
      {0, 0, {0, 0, 404, 304}, "0,0,4,304", 0},
      {0, 1000, {0, 0, 404, 304}, "400,0,404,304", 1000},
      {0, 1500, {0, 0, 404, 304}, "400,0,404,304", 1000},
      {0, 250, {100, 20, 504, 60}, "200,20,204,60", 250},
      {LYBS_HORIZONTAL, 500, {0, 0, 404, 304}, "0,150,404,154", 500},
      {LYBS_PIXELS, 150, {20, 0, 420, 304}, "170,0,174,304", 0},
      {LYBS_PIXELS, 150, {20, 0, 60, 304}, "170,0,174,304", 0},
      {0, 500, {50, 0, 52, 304}, "50,0,54,304", 500},  // area narrower than the bar
  };
  for (auto &c : cases) {
    Splitter s(c.flags, c.position, c.area);
    EXPECT_EQ(Str(s.placed), c.placed) << c.flags << ' ' << c.position;
    EXPECT_EQ(Str(s.Rect()), c.placed) << c.flags << ' ' << c.position;
    EXPECT_EQ(GetLayoutBarPermille(s.bar), c.permille) << c.flags << ' ' << c.position;
    EXPECT_TRUE(IsWindowVisible(s.bar));
    EXPECT_EQ(GetDlgCtrlID(s.bar), 77);
  }
  // Not a bar: nothing happens.
  Splitter s(0, 500);
  SizeLayoutBar(nullptr, RECT{0, 0, 10, 10}, nullptr);
  SizeLayoutBar(s.parent.window, RECT{0, 0, 10, 10}, nullptr);
  EXPECT_EQ(GetLayoutBarPermille(s.parent.window), 0u);
  EXPECT_EQ(CreateLayoutBar(nullptr, 0, 0, 4, COLOR_BTNFACE, 1), nullptr);
}

TEST(LayoutBar, DragStopsAtTheAreaAndMovesTheBarOnRelease) {
  struct { WORD flags; POINT past[2]; const char *placed; UINT permille; LPARAM moved; } cases[] = {
      // Grabbed 2 pixels into the bar, dragged past both ends, released past
      // the far one: the bar ends on the area's edge, or one pixel below it.
      {0, {{-900, 5}, {900, 5}}, "400,0,404,304", 1000, MAKELPARAM(400, 0)},
      {LYBS_HORIZONTAL, {{5, -900}, {5, 900}}, "0,301,404,305", 1000, MAKELPARAM(0, 301)},
      {0, {{900, 5}, {-148, 5}}, "50,0,54,304", 125, MAKELPARAM(50, 0)},
  };
  for (auto &c : cases) {
    Splitter s(c.flags, 500);
    s.Mouse(WM_LBUTTONDOWN, 2, 2);
    EXPECT_EQ(GetCapture(), s.bar);
    for (POINT p : c.past) s.Mouse(WM_MOUSEMOVE, p.x, p.y);
    EXPECT_TRUE(g_notes.empty());  // only the tracking rectangle moved
    s.Mouse(WM_LBUTTONUP, c.past[1].x, c.past[1].y);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Str(s.Rect()), c.placed);
    EXPECT_EQ(GetLayoutBarPermille(s.bar), c.permille);
    const std::vector<Note> want = {{0x200, 77, s.Rect().left}, {WM_MOVE, 77, c.moved}};
    EXPECT_TRUE(g_notes == want) << g_notes.size();
  }
}

TEST(LayoutBar, CancelledDragLeavesTheBarInPlace) {
  for (bool cancelMode : {true, false}) {
    Splitter s(0, 500);
    s.Mouse(WM_LBUTTONDOWN, 1, 1);
    s.Mouse(WM_MOUSEMOVE, 100, 1);
    if (cancelMode)
      SendMessageA(s.bar, WM_CANCELMODE, 0, 0);
    else
      SetCapture(s.parent.window);  // another window takes the mouse
    s.Mouse(WM_LBUTTONUP, 100, 1);
    EXPECT_EQ(Str(s.Rect()), "200,0,204,304");
    EXPECT_TRUE(g_notes.empty());
    ReleaseCapture();
  }
  // The platform moving the bar itself: held inside the area, the parent told.
  Splitter s(0, 500);
  RECT proposed = {10 + 600, 0, 10 + 604, 5};
  EXPECT_EQ(SendMessageA(s.bar, WM_MOVING, 0, reinterpret_cast<LPARAM>(&proposed)), TRUE);
  EXPECT_EQ(Str(proposed), "410,10,414,314");
  ASSERT_EQ(g_notes.size(), 1u);
  EXPECT_TRUE((g_notes[0] == Note{WM_MOVING, 77, reinterpret_cast<LPARAM>(&proposed)}));
}

}  // namespace
