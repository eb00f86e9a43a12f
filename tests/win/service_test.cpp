// The password dialog, logging on to the service through the stand-in
// monitor API, and the installer's entry points. Dialogs and boxes are
// driven as a user would: another thread waits for each, types and clicks.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ktutil.h"
#include "standin/monitor_standin.h"
#include "support/kt_test_support.h"
#include "system_test_helpers.h"
#include "win_helpers.h"

// Where the stand-in keeps its state, whichever load of it runs.
extern "C" {
__declspec(dllexport) KtMonitorState ktMonitorState;
}

namespace {

// The window awaited by caption, what is then typed into the dialog's
// fields (nothing where NULL) and the button clicked.
struct Step {
  const char *caption, *password = nullptr, *verify = nullptr, *old = nullptr;
  int button = IDOK;
};
Step Press(const char *caption, int button) { return {caption, 0, 0, 0, button}; }

std::string Text(HWND window, int id) {
  char text[512];
  return std::string(text, GetDlgItemTextA(window, id, text, sizeof text));
}

int Top(HWND dialog, int id) {
  RECT r;
  GetWindowRect(GetDlgItem(dialog, id), &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 1);
  return r.top;
}

// The template row (0 to 2) where each shown row (old, password, verify)
// stands, by how many rows the buttons and the bottom moved up, "+" when
// the prompt grew by a field's height, "c" when centred on the work area.
std::string Layout(HWND dialog) {
  auto px = [dialog](int units) {
    RECT r = {0, 0, 0, units};
    MapDialogRect(dialog, &r);
    return int(r.bottom);
  };
  const int labels[] = {127, 129, 128}, edits[] = {114, 107, 108};
  const int labelTops[] = {33, 49, 66}, editTops[] = {31, 48, 65};
  std::string layout;
  for (int row = 0; row < 3; ++row)
    for (int at = 0; at < 3; ++at)
      if (IsWindowVisible(GetDlgItem(dialog, edits[row])) &&
          Top(dialog, labels[row]) == px(labelTops[at]) &&
          Top(dialog, edits[row]) == px(editTops[at]))
        layout += "opv"[row] + std::to_string(at);
  RECT client, prompt, frame, work;
  GetClientRect(dialog, &client);
  for (int up = 0; up < 3; ++up) {
    const int shift = up * (px(48) - px(31));
    if (Top(dialog, IDOK) == px(88) - shift && Top(dialog, IDCANCEL) == px(88) - shift &&
        client.bottom == px(110) - shift)
      layout += "-" + std::to_string(up);
  }
  GetWindowRect(GetDlgItem(dialog, 116), &prompt);
  if (prompt.bottom - prompt.top == px(21) + px(13)) layout += "+";
  GetWindowRect(dialog, &frame);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int centred = (work.left + work.right) / 2 - (frame.right - frame.left) / 2;
  return layout + (frame.left == centred ? "c" : "");
}

// Caption and "#" the string id of the prompt or box text; for the dialog
// [focused field, lengths of password and verify, "*": password selected]
// and its layout.
std::string Describe(HWND window, HWND focus) {
  char caption[64], loaded[512];
  std::string seen(caption, GetWindowTextA(window, caption, sizeof caption));
  const bool dialog = GetDlgItem(window, 116) != nullptr;
  for (UINT id : {115u, 117u, 119u, 121u, 123u, 125u, 128u, 3058u, 3060u})
    if (Text(window, dialog ? 116 : 0xFFFF) ==
        std::string(loaded, LoadStringA(kttest::KtModule(), id, loaded, sizeof loaded)))
      seen += "#" + std::to_string(id);
  if (!dialog) return seen;
  DWORD start = 0, end = 0, length = Text(window, 107).size();
  SendDlgItemMessageA(window, 107, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  return seen + "[" + std::to_string(GetDlgCtrlID(focus)) + " " + std::to_string(length) +
         "/" + std::to_string(Text(window, 108).size()) +
         (length > 0 && start == 0 && end == length ? "*]" : "]") + Layout(window);
}

// Finds the shown, enabled window of the caption; with no caption, cancels
// every dialog (other tests' windows on this thread are left alone).
struct Found {
  const char *caption;
  HWND window = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM lParam) {
  auto *found = reinterpret_cast<Found *>(lParam);
  char text[64];
  if (!found->caption && GetClassNameA(window, text, sizeof text) &&
      !strcmp(text, "#32770"))
    for (int button : {IDCANCEL, IDNO}) PostMessageA(window, WM_COMMAND, button, 0);
  if (found->caption && IsWindowVisible(window) && IsWindowEnabled(window) &&
      GetWindowTextA(window, text, sizeof text) && !strcmp(text, found->caption))
    found->window = window;
  return found->window == nullptr;
}

// Runs call here while the user goes through the steps; then, or when a
// step's window never comes, the user cancels whatever still shows.
std::string AsUser(const std::vector<Step> &steps, const std::function<void()> &call) {
  std::string seen;
  std::atomic<bool> done{false};
  std::thread user([&, thread = GetCurrentThreadId()] {
    for (const Step &step : steps) {
      Found found{step.caption};
      for (int i = 0; i < 500 && !found.window && !done; ++i, Sleep(10))
        EnumThreadWindows(thread, Visit, LPARAM(&found));
      if (!found.window) break;
      // Settled: back in its message loop, with the focus inside it.
      GUITHREADINFO gui = {sizeof gui};
      for (int i = 0; i < 200; ++i, Sleep(10)) {
        SendMessageA(found.window, WM_NULL, 0, 0);
        if (GetGUIThreadInfo(thread, &gui) && IsChild(found.window, gui.hwndFocus)) break;
      }
      seen += " " + Describe(found.window, gui.hwndFocus);
      for (auto [id, text] :
           {std::pair{114, step.old}, {107, step.password}, {108, step.verify}}) {
        if (!text) continue;
        SendDlgItemMessageA(found.window, id, EM_SETSEL, 0, -1);  // typed over whole
        for (char c : '\b' + std::string(text))
          SendDlgItemMessageA(found.window, id, WM_CHAR, BYTE(c), 0);
      }
      PostMessageA(found.window, WM_COMMAND, step.button, 0);
    }
    for (Found none{nullptr}; !done; Sleep(10))
      EnumThreadWindows(thread, Visit, LPARAM(&none));
  });
  call();
  done = true;
  user.join();
  return seen;
}

TEST(PasswordDialog, LaysOutEachModeAndChecksItsInputBeforeCopying) {
  const std::string x31(31, 'x'), x32(32, 'x');
  const char *set = "Set password", *enter = "Enter password", *error = "Password error",
             *change = "Change password";
  // What the user saw, then " > " the result, the password and the old one.
  const struct {
    DWORD mode;
    std::vector<Step> steps;
    std::string seen;
  } cases[] = {
      {KTPWD_SET, {{set, "12345", "12345"}, {error}, {set, x31.c_str(), x31.c_str()}},
       " Set password#115[107 0/0]p0v1-1c Password error#119"
       " Set password#115[107 5/5*]p0v1-1c > 1 " + x31 + "|"},
      {KTPWD_SET, {{set, x32.c_str(), x32.c_str()}, {error}, {set, "", ""}, {error}},
       " Set password#115[107 0/0]p0v1-1c Password error#119"
       " Set password#115[107 32/32*]p0v1-1c Password error#119 > 0 unset|unset"},
      // Modes above the last set a password; a mismatch empties both fields.
      {7, {{set, "secret1", "secret2"}, {"Change Password"}, Press(set, IDCANCEL)},
       " Set password#115[107 0/0]p0v1-1c Change Password#121"
       " Set password#115[107 0/0]p0v1-1c > 0 unset|unset"},
      {KTPWD_ENTER, {{enter, "", "ignored"}}, " Enter password#123[107 0/0]p0-2c > 1 |"},
      {KTPWD_CONFIRMOLD, {{enter, "x", "y"}},
       " Enter password#3060[107 0/0]p1-1+c > 1 x|"},
      // Changing to no password only after a "Yes"; the verify field is not read.
      {KTPWD_CHANGE,
       {{change, "", "other", "oldpw"}, Press("Password warning", IDNO), {change},
        Press("Password warning", IDYES)},
       " Change password#125[114 0/0]o0p1v2-0c Password warning#117"
       " Change password#125[114 0/5]o0p1v2-0c Password warning#117 > 1 |oldpw"},
      {KTPWD_CHANGE, {{change, "newpass", "newpass", "oldpw"}},
       " Change password#125[114 0/0]o0p1v2-0c > 1 newpass|oldpw"},
  };
  for (const auto &c : cases) {
    char password[64] = "unset", old[64] = "unset";
    BOOL result = 2;
    const std::string seen = AsUser(c.steps, [&] {
      result = QueryPasswordDlg(nullptr, c.mode, password, 64, old, 64, 0);
    });
    EXPECT_EQ(seen + " > " + std::to_string(result) + " " + password + "|" + old, c.seen);
  }
  // Both copies are cut to their buffers; the old one may be left out.
  for (bool toOld : {false, true})
    kttest::CheckBounded("secret", [&](char *buffer, int size) {
      char other[64];
      AsUser({{change, "secret", "secret", "secret"}}, [&] {
        QueryPasswordDlg(nullptr, KTPWD_CHANGE, toOld ? other : buffer, toOld ? 64 : size,
                         toOld ? buffer : nullptr, size, 0);
      });
    });
}

TEST(ServiceLogin, SetsThePasswordOrUnloadsOnceTheLogonHoldsTheRights) {
  const char *enter = "Enter password", *wrong = "Ostrane login error",
             *question = "Tessaly Ostrane service";
  enum Call { kLogin, kUnload, kInstallerUnload };
  const struct {
    // The monitor API's folder ("": none; "fail", "crash": whole, its logon fails
    // or faults) and the service's password.
    const char *folder, *servicePassword;
    Call call;
    const char *given;
    std::vector<Step> steps;
    std::string seen, log;  // the log ends in the result
  } cases[] = {
      {"", "", kLogin, "new", {}, "", "0"},
      {"monitor_partial", "", kLogin, "new", {}, "", "0"},
      {"fail", "", kLogin, "new", {}, "", "Logon(1000000) 0"},
      {"monitor", "", kLogin, "new", {}, "",
       "Logon(1000000) Get(0,8077)=1 SetChar(0,4043,new) Get(0,8077)=1 1"},
      {"monitor", "old", kLogin, "new", {{enter, "bad"}, {wrong}, {enter, "old"}},
       " Enter password#3060[107 0/0]p1-1+c Ostrane login error#3058"
       " Enter password#3060[107 0/0]p1-1+c",
       "Logon(1000000) Get(0,8077)=0 SetChar(0,4044,bad) SetChar(0,4044,old)"
       " Get(0,8077)=1 SetChar(0,4043,new) Get(0,8077)=1 1"},
      {"monitor", "old", kLogin, "new", {Press(enter, IDCANCEL)},
       " Enter password#3060[107 0/0]p1-1+c", "Logon(1000000) Get(0,8077)=0 0"},
      // Unloading: no question for an empty password when the rights are held.
      {"monitor", "", kInstallerUnload, "", {}, "",
       "Logon(1080000) Get(0,8077)=1 SetDWord(H,8063,1) Logoff(H) 0"},
      {"monitor", "", kUnload, nullptr, {Press(question, IDNO)},
       " Tessaly Ostrane service#128", "Logon(1080000) Get(0,8077)=1 Logoff(H) 0"},
      {"monitor", "old", kUnload, "bad", {{enter, "old"}},
       " Enter password#123[107 0/0]p0-2c",
       "Logon(1080000) Get(0,8077)=0 SetChar(0,4044,bad) Get(0,8077)=0"
       " SetChar(0,4044,old) Get(0,8077)=1 SetDWord(H,8063,1) Logoff(H) 0"},
      {"monitor", "old", kUnload, nullptr, {{enter, "bad"}, {wrong}},
       " Enter password#123[107 0/0]p0-2c Ostrane login error#3058",
       "Logon(1080000) Get(0,8077)=0 SetChar(0,4044,bad) Logoff(H) 0"},
      // A fault in the monitor API ends only the installer's call (and keeps the
      // API loaded: last).
      {"crash", "", kInstallerUnload, "", {}, "", "Logon(1080000) 0"},
  };
  // Every logon's record: its head, the user, zeros after both.
  const DWORD head[8] = {
      560, 0, 0, 0x80000000u, GetCurrentProcessId(), GetCurrentThreadId()};
  std::string record(560, '\0');
  memcpy(&record[0], head, sizeof head);
  GetCanonicalUserID(GetCurrentProcess(), &record[32], 256);
  KtMonitorState &state = ktMonitorState;
  for (const auto &c : cases) {
    state = {};
    state.failLogon = !strcmp(c.folder, "fail");
    state.crash = !strcmp(c.folder, "crash");
    strcpy(state.password, c.servicePassword);
    const std::string folder = state.failLogon || state.crash ? "monitor" : c.folder;
    SetDllDirectoryA(folder.empty() ? "" : kttest::BesideProgram(folder).c_str());
    WSEParams block = {sizeof block, nullptr, 0, 0, 0, 0, nullptr, nullptr, {}, c.given};
    BOOL result = 2;
    const std::string seen = AsUser(c.steps, [&] {
      result = c.call == kLogin    ? KTLoginSetPassword(nullptr, c.given)
               : c.call == kUnload ? KTUnloadService(nullptr, c.given)
                                   : WSEUnloadService(&block);
    });
    EXPECT_EQ(seen + "|" + state.log + std::to_string(result), c.seen + "|" + c.log);
    const bool received = c.log.find("Logon") == 0 && !state.crash;
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(state.record), 560),
              received ? record : std::string(560, '\0'));
    EXPECT_TRUE(state.crash || !GetModuleHandleA("ktmonapi.dll")) << c.log;  // released
  }
  SetDllDirectoryA(nullptr);
}

TEST(InstallerEntries, RegistryValueIntoAVariableOfTheInstallersTables) {
  kttest::ScratchKey key("Installer", HKEY_LOCAL_MACHINE);
  key.SetString("Name", "value text");
  key.SetString(nullptr, "default");
  key.SetString("Exact", std::string(512, 'e'));
  key.SetString("Long", std::string(513, 'l'));
  const std::string k = key.path();
  // Tables of capacity slots, "%A%" and "%VAR%" in use where two are; after
  // the call, the result and the tables.
  const struct {
    std::string argument;
    DWORD capacity, used, nameWidth, valueWidth;
    std::string tables;
  } cases[] = {
      {k + ",Name,VAR", 3, 0, 16, 16, "1 %VAR%=value text;"},
      {k + ",  Name,  VAR", 3, 0, 16, 16, "1 %VAR%=value text;"},
      {k + ",,VAR", 3, 0, 16, 16, "1 %VAR%=default;"},
      {k + ",Exact,VAR", 1, 0, 16, 600, "1 %VAR%=" + std::string(512, 'e') + ";"},
      {k + ",Long,VAR", 1, 0, 16, 600, "0 "},
      {k + ",Name", 3, 2, 16, 16, "0 %A%=a;%VAR%=old;"},
      {k + ",Name,VAR", 3, 2, 16, 16, "1 %A%=a;%VAR%=value text;"},
      {k + ",Name,var", 3, 2, 16, 16, "1 %A%=a;%VAR%=old;%var%=value text;"},
      {k + ",Name,B", 2, 2, 16, 16, "1 %A%=a;%VAR%=old;"},  // full: dropped
      {k + ",Name,VAR", 3, 2, 4, 5, "1 %A%=a;%VA=valu;"},   // cut to the slots
  };
  for (const auto &c : cases) {
    // Each table ends in guard bytes.
    kttest::CanaryBuffer names(c.capacity * c.nameWidth),
        values(c.capacity * c.valueWidth);
    for (DWORD i = 0; i < c.used; ++i) {
      strncpy0(names.raw() + i * c.nameWidth, i ? "%VAR%" : "%A%", c.nameWidth);
      strncpy0(values.raw() + i * c.valueWidth, i ? "old" : "a", c.valueWidth);
    }
    WSEParams block = {
        sizeof block, nullptr,     c.capacity,   c.nameWidth, c.valueWidth,
        c.used,       names.raw(), values.raw(), {},          c.argument.c_str()};
    std::string tables = std::to_string(WSEGetRegistryValue(&block)) + " ";
    for (DWORD i = 0; i < block.used; ++i)
      tables += names.raw() + i * c.nameWidth +
                ("=" + std::string(values.raw() + i * c.valueWidth)) + ";";
    EXPECT_EQ(names.Intact() && values.Intact() ? tables : tables + "guard!", c.tables)
        << c.argument;
  }
}

TEST(InstallerEntries, RefuseABlockEndingBeforeItsArgument) {
  WSEParams block = {};
  EXPECT_FALSE(WSEIsModuleRunning(nullptr) || WSEDelay(nullptr) ||
               WSEGetRegistryValue(nullptr) || WSEGetRegistryValue(&block));
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  block.argument = self;
  // 40 and 44 on i686.
  for (DWORD size : {DWORD(sizeof block) - 4, DWORD(sizeof block)}) {
    block.size = size;
    EXPECT_EQ(WSEIsModuleRunning(&block) + WSEDelay(&block),
              size == sizeof block ? 2 : 0);
  }
  // Waits at least its time; no number or a negative one: none.
  LARGE_INTEGER start, end, frequency;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (const char *wait : {"150", "-5", "none", (const char *)nullptr}) {
    block.argument = wait;
    EXPECT_TRUE(WSEDelay(&block));
  }
  QueryPerformanceCounter(&end);
  EXPECT_GE((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart, 150);
}

}  // namespace

std::string g_frameSaw;
LRESULT CALLBACK ProductFrame(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_COMMAND)
    g_frameSaw += "command " + std::to_string(w) + "," + std::to_string(l) + " ";
  if (message == WM_CLOSE) g_frameSaw += "close";
  return DefWindowProcA(window, message, w, l);
}

TEST(PrepareToClose, AsksTheProductsMainWindowForItsCloseCommandThenToClose) {
  EXPECT_FALSE(PrepareToClose());
  WNDCLASSA frame = {0, ProductFrame, 0, 0, GetModuleHandleA(nullptr), 0, 0, 0,
                     0, "WRFrameWnd"};
  RegisterClassA(&frame);
  HWND main = CreateWindowA("WRFrameWnd", "any title", 0, 0, 0, 10, 10, 0, 0, 0, 0);
  EXPECT_TRUE(PrepareToClose());
  EXPECT_EQ(g_frameSaw, "");  // posted, not sent
  for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&msg);
  EXPECT_EQ(g_frameSaw, "command 129,0 close");
  EXPECT_FALSE(IsWindow(main));  // the default close destroys it
  UnregisterClassA("WRFrameWnd", frame.hInstance);
}
