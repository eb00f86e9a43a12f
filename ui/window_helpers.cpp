// Message boxes on their own thread, messages posted after a delay, caption
// flashing, the two-column tooltip painter and small window helpers.
#include <cstdlib>
#include <cstring>

#include "datetime/base.h"
#include "lifecycle.h"

namespace {

constexpr UINT kProductName = 27;

struct BoxRequest {
  HWND owner;
  UINT type;
  bool hasText, hasCaption;
  char text[256], caption[256];
};

DWORD WINAPI ShowBox(LPVOID parameter) {
  BoxRequest *box = static_cast<BoxRequest *>(parameter);
  const int result = MessageBoxA(box->owner, box->hasText ? box->text : nullptr,
                                 box->hasCaption ? box->caption : nullptr, box->type);
  free(box);
  return static_cast<DWORD>(result);
}

// The delayed-message table: a slot is taken while its thread id is not 0.
struct DelayedMessage {
  DWORD thread;
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD delay;
};
DelayedMessage g_delayed[10];

// The lock is the library's, made before any export can run.
struct Locked {
  Locked() { EnterCriticalSection(kt::DelayedMessageLock()); }
  ~Locked() { LeaveCriticalSection(kt::DelayedMessageLock()); }
};

DWORD WINAPI PostWhenDue(LPVOID parameter) {
  DelayedMessage &slot = g_delayed[reinterpret_cast<UINT_PTR>(parameter)];
  SleepEx(slot.delay, FALSE);
  Locked lock;
  const DelayedMessage due = slot;
  slot.thread = 0;
  PostMessageA(due.window, due.message, due.wParam, due.lParam);
  return 0;
}

// One window flashes at a time, driven by a timer of the thread that
// started it.
struct Flashing {
  HWND window;
  BOOL state;
  UINT_PTR timer;
} g_flashing;

void CALLBACK ToggleFlash(HWND, UINT, UINT_PTR, DWORD) {
  g_flashing.state = !g_flashing.state;
  FlashWindow(g_flashing.window, g_flashing.state);
}

}  // namespace

extern "C" HANDLE KTAPI AsyncMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  BoxRequest *box = static_cast<BoxRequest *>(calloc(1, sizeof(BoxRequest)));
  if (box == nullptr) return nullptr;
  *box = {owner, type, text != nullptr, caption != nullptr, "", ""};
  strncpy0(box->text, text != nullptr ? text : "", sizeof box->text);
  strncpy0(box->caption, caption != nullptr ? caption : "", sizeof box->caption);
  HANDLE thread = CreateThread(nullptr, 16 * 1024, ShowBox, box, 0, nullptr);
  if (thread == nullptr) free(box);
  return thread;
}

extern "C" BOOL KTAPI PostDelayedMessage(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam, DWORD delay) {
  if (delay == 0) return PostMessageA(window, message, wParam, lParam);
  Locked lock;
  for (UINT_PTR i = 0; i < sizeof g_delayed / sizeof g_delayed[0]; ++i) {
    DelayedMessage &slot = g_delayed[i];
    if (slot.thread != 0) continue;
    slot = {0, window, message, wParam, lParam, delay};
    // The id lands in the slot before the thread can look at it: the
    // thread needs the lock held here.
    HANDLE thread = CreateThread(nullptr, 0, PostWhenDue, reinterpret_cast<LPVOID>(i), 0,
                                 &slot.thread);
    if (thread == nullptr) {
      slot.thread = 0;
      return FALSE;
    }
    CloseHandle(thread);
    return TRUE;
  }
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return FALSE;
}

extern "C" BOOL KTAPI EnableFlashWindow(HWND window, BOOL enable) {
  if (enable) {
    g_flashing.state = TRUE;
    g_flashing.window = window;
    g_flashing.timer = SetTimer(nullptr, 0, GetCaretBlinkTime(), ToggleFlash);
    return FlashWindow(window, TRUE);
  }
  if (g_flashing.window == nullptr) return FALSE;
  FlashWindow(g_flashing.window, FALSE);
  const BOOL killed = KillTimer(nullptr, g_flashing.timer);
  g_flashing = {};
  return killed;
}

extern "C" HFONT KTAPI GetDefaultGUIFont(void) {
  OSVERSIONINFOA version = {sizeof version, 0, 0, 0, 0, ""};
  if (!GetVersionExA(&version) || version.dwMajorVersion < 4) return nullptr;
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

extern "C" HFONT KTAPI PaintTooltipTST(HWND tooltip, HDC dc) {
  const int length = GetWindowTextLengthA(tooltip);
  char *text = static_cast<char *>(calloc(length + 1, 1));
  if (text != nullptr) GetWindowTextA(tooltip, text, length + 1);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(tooltip, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = SelectObject(dc, font != nullptr ? font : GetDefaultGUIFont());
  RECT area;
  GetClientRect(tooltip, &area);
  FillRect(dc, &area, GetSysColorBrush(COLOR_INFOBK));
  InflateRect(&area, -2, -2);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  const int lineHeight = metrics.tmHeight + 1;

  // Lines of key, TAB or "=", value. A key runs to its separator even
  // across a line feed.
  const char *p = text != nullptr ? text : "";
  for (int y = area.top; *p != '\0'; y += lineHeight) {
    const size_t keyLength = strcspn(p, "\t=");
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    ExtTextOutA(dc, area.left, y, ETO_CLIPPED, &area, p, static_cast<UINT>(keyLength), nullptr);
    SIZE key = {};
    GetTextExtentPoint32A(dc, p, static_cast<int>(keyLength), &key);
    p += keyLength;
    if (*p == '\0') break;
    const char *value = ++p;
    const size_t valueLength = strcspn(value, "\n");
    RECT cell = {area.left + key.cx + 2, y, area.right, y + lineHeight};
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    DrawTextA(dc, value, static_cast<int>(valueLength), &cell,
              DT_RIGHT | DT_SINGLELINE | DT_PATH_ELLIPSIS);
    p = value + valueLength;
    if (*p == '\n') ++p;
  }
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
  free(text);
  return static_cast<HFONT>(oldFont);
}

extern "C" BOOL KTAPI SetWindowHeight(HWND window, int height) {
  RECT frame = {};
  GetWindowRect(window, &frame);
  return SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, height,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

extern "C" void KTAPI ShowSystemError(HWND owner, DWORD code) {
  char *message = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                     FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                 reinterpret_cast<LPSTR>(&message), 0, nullptr);
  // A code the system has no text for still shows which code it was.
  char number[32];
  wsprintfA(number, "%lu (0x%08lX)", code, code);
  char caption[256];
  kt::LoadLibraryText(kProductName, caption, sizeof caption);
  MessageBoxA(owner, message != nullptr ? message : number, caption, MB_ICONINFORMATION);
  LocalFree(message);
}
