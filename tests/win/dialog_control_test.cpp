// Dialog switches in the real registry, window placement, and the message
// box driven as a user would: a helper thread finds the box, reads it, ticks
// and presses OK.
#include <atomic>
#include <thread>
#include <tuple>

#include "support/kt_test_support.h"
#include "win_helpers.h"

namespace {

TEST(GetParentRect, GivesTheRectangleInTheParentsClientArea) {
  // The caption and border put the client area away from the window's corner.
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_CAPTION | WS_THICKFRAME,
                                200, 150, 400, 300, 0, 0, 0, 0);
  HWND child =
      CreateWindowExA(0, "STATIC", "", WS_CHILD, 30, 40, 50, 60, parent, 0, 0, 0);
  RECT rect = {}, want = {30, 40, 80, 100};
  EXPECT_TRUE(GetParentRect(child, &rect));
  DestroyWindow(parent);
  EXPECT_TRUE(EqualRect(&rect, &want)) << rect.left << ',' << rect.top;
}

// Where the box was, and as text its answer and what the helper thread saw
// of it before it pressed OK: caption, text, and whether Cancel and Close
// left it open.
struct SeenBox {
  RECT rect = {};
  std::string text;
};

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  if (GetDlgItem(window, 1001) && IsWindowVisible(window))
    *reinterpret_cast<HWND *>(found) = window;
  return TRUE;
}

// The helper waits for the box until the call is done; it reads the box,
// tries to close it without OK, ticks the check box if asked, presses OK.
SeenBox ShowBox(const char *name, DWORD flags, bool tick, HWND owner = nullptr) {
  SeenBox seen;
  std::atomic<bool> done{false};
  std::thread helper([&, thread = GetCurrentThreadId()] {
    HWND box = nullptr;
    for (; !box && !done; Sleep(10)) EnumThreadWindows(thread, FindBox, LPARAM(&box));
    if (box == nullptr) return;
    char text[64];
    GetWindowRect(box, &seen.rect);
    seen.text.append(" ").append(text, GetWindowTextA(box, text, sizeof text)) += ": ";
    seen.text.append(text, GetDlgItemTextA(box, 1000, text, sizeof text));
    SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
    SendMessageA(box, WM_CLOSE, 0, 0);
    seen.text += IsWindowVisible(box) ? ", open" : ", closed";
    if (tick) SendDlgItemMessageA(box, 1001, BM_CLICK, 0, 0);
    SendDlgItemMessageA(box, IDOK, BM_CLICK, 0, 0);
  });
  const int result = KTMessageBox(owner, name, "Message & text", "The caption", flags);
  done = true;
  helper.join();
  seen.text.insert(0, std::to_string(result));
  return seen;
}

TEST(DialogControl, SwitchesAndTheMessageBoxTheyQuiet) {
  // The switch key of program "ktutil-test" is this scratch key.
  kttest::ScratchKey scratch("DialogControl");
  const char *program = "ktutil-test";
  // A zero hides: shown by the zero DWORD below and by the ticked box.
  EXPECT_TRUE(GetDialogControlEx(program, "never-set"));
  EXPECT_EQ(SetDialogControlEx(program, "quiet", 7), 0);
  EXPECT_TRUE(GetDialogControlEx(program, "quiet"));
  // Stored untyped, 4 bytes.
  DWORD type = 99, value = 0, size = sizeof value;
  RegGetValueA(scratch.key(), nullptr, "quiet", RRF_RT_ANY, &type, &value, &size);
  EXPECT_TRUE(type == REG_NONE && size == 4 && value == 7) << type << ' ' << value;

  // Other writers' values count by their first 4 bytes; a longer one cannot
  // be read, which means show.
  const unsigned long long wide = 0;
  scratch.SetDword("dword-zero", 0);
  scratch.SetRaw("qword-zero", REG_QWORD, &wide, sizeof wide);
  EXPECT_FALSE(GetDialogControlEx(program, "dword-zero"));
  EXPECT_TRUE(GetDialogControlEx(program, "qword-zero"));

  // A box that did show answers 1: the helper pressed OK. It closes only
  // through OK, a tick quiets it, and it stays inside the work area.
  // The box keeps its switches under the default program, made here if new.
  HKEY monitor;
  DWORD made = 0;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tessaly\\Monitor", 0, nullptr,
                            0, KEY_ALL_ACCESS, nullptr, &monitor, &made),
            ERROR_SUCCESS);
  const char *name = "kt-test-box";
  RegDeleteKeyValueA(monitor, "DialogControl", name);

  const std::string shown = "1 The caption: Message & text, open";
  EXPECT_EQ(ShowBox(name, 0, false).text, shown);
  EXPECT_EQ(ShowBox(name, 0, true).text, shown);  // OK alone cleared nothing
  EXPECT_EQ(ShowBox(name, 0, false).text, "0");
  // The default program's own switches are those the box keeps.
  EXPECT_FALSE(GetDialogControl(name));
  EXPECT_TRUE(SetDialogControl(name, 1) == 0 && GetDialogControl(name));

  RegDeleteKeyValueA(monitor, "DialogControl", name);
  RegCloseKey(monitor);
  if (made == REG_CREATED_NEW_KEY)
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tessaly\\Monitor");
  // The platform's dialog box answers 0, not -1, for an invalid owner.
  EXPECT_EQ(ShowBox(nullptr, 0, false, reinterpret_cast<HWND>(0x7654320)).text, "0");

  // The box's left edge lands at "at" less "halves" halves of its width (its
  // top likewise): its top-left (0), centre (1, rounding down) or, placed at
  // the cursor, bottom-right (2) is there. Too big for the work area, it
  // starts at the area's top left; at a cursor on the screen but past the area
  // (a side task bar), it is pulled back.
  const std::tuple<RECT, POINT, int, POINT> cases[] = {
      // work area, cursor, halves, at
      {{100, 50, 900, 650}, {0, 0}, 1, {500, 350}},
      {{100, 50, 110, 60}, {0, 0}, 0, {100, 50}},
      {{0, 0, 900, 700}, {600, 500}, 2, {600, 500}},
      {{0, 0, 700, 500}, {800, 600}, 2, {700, 500}},
  };
  RECT saved;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &saved, 0);
  for (auto [work, cursor, halves, at] : cases) {
    EXPECT_TRUE(SetCursorPos(cursor.x, cursor.y));
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETWORKAREA, 0, &work, 0));
    // Ticking without a switch stores nothing: every box shows.
    const SeenBox seen = ShowBox(nullptr, halves == 2 ? KTMB_ATCURSOR : 0, true);
    EXPECT_EQ(seen.text, shown);
    const RECT &r = seen.rect;
    EXPECT_EQ(r.left, at.x - halves * (r.right - r.left) / 2) << halves;
    EXPECT_EQ(r.top, at.y - halves * (r.bottom - r.top) / 2) << halves;
  }
  SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved, 0);
}

}  // namespace
