// Per-user "don't show this again" switches and the message box that
// offers one.
#include "config/reg_key.h"
#include "ktutil.h"
#include "lifecycle.h"
#include "resource.h"

namespace {

constexpr const char kDefaultProgram[] = "Monitor";
constexpr DWORD kAtCursor = 0x100;

// path holds MAX_PATH characters.
void SwitchKeyPath(char *path, LPCSTR program) {
  wsnprintf(path, MAX_PATH, "%s\\%s\\DialogControl", kt::kProductKey,
            program != nullptr ? program : kDefaultProgram);
}

struct BoxParams {
  LPCSTR text, caption, switchName;
  DWORD flags;
};

// Bottom-right corner at the cursor, pulled back inside the work area's
// right and bottom edges.
void PlaceAtCursor(HWND dialog) {
  RECT own = {}, work = {};
  POINT cursor = {};
  GetWindowRect(dialog, &own);
  GetCursorPos(&cursor);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int width = own.right - own.left, height = own.bottom - own.top;
  int x = cursor.x - width, y = cursor.y - height;
  if (x + width > work.right) x -= x + width - work.right;
  if (y + height > work.bottom) y -= y + height - work.bottom;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK MessageBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto *params = reinterpret_cast<const BoxParams *>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      SetWindowTextA(dialog, params->caption);
      SetDlgItemTextA(dialog, IDC_MSG_TEXT, params->text);
      if (params->flags & kAtCursor)
        PlaceAtCursor(dialog);
      else
        CenterWindow(dialog);
      return TRUE;
    }
    case WM_COMMAND: {
      // Only OK closes the box: Escape and the close button do nothing.
      if (LOWORD(wParam) != IDOK) return TRUE;
      const auto *params =
          reinterpret_cast<const BoxParams *>(GetWindowLongPtrA(dialog, DWLP_USER));
      // Always the default program's switch, whoever asks.
      if (params->switchName != nullptr &&
          IsDlgButtonChecked(dialog, IDC_DONT_SHOW) == BST_CHECKED)
        SetDialogControl(params->switchName, 0);
      EndDialog(dialog, IDOK);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

extern "C" BOOL KTAPI GetDialogControlEx(LPCSTR program, LPCSTR switchName) {
  if (switchName == nullptr) return TRUE;
  char path[MAX_PATH];
  SwitchKeyPath(path, program);
  kt::RegKey key;
  if (key.Open(HKEY_CURRENT_USER, path) != ERROR_SUCCESS) return TRUE;
  // Only the first 4 bytes count and the type is not checked, so a REG_DWORD
  // from another writer works too.
  DWORD show = 1, size = sizeof show;
  if (RegQueryValueExA(key.get(), switchName, nullptr, nullptr,
                       reinterpret_cast<BYTE *>(&show), &size) != ERROR_SUCCESS)
    show = 1;
  return show != 0;
}

extern "C" BOOL KTAPI GetDialogControl(LPCSTR switchName) {
  return GetDialogControlEx(kDefaultProgram, switchName);
}

extern "C" LONG KTAPI SetDialogControlEx(LPCSTR program, LPCSTR switchName, DWORD value) {
  char path[MAX_PATH];
  SwitchKeyPath(path, program);
  kt::RegKey key;
  if (LONG error = key.Create(HKEY_CURRENT_USER, path, KEY_SET_VALUE)) return error;
  // Stored untyped; readers take the 4 bytes as they are.
  RegSetValueExA(key.get(), switchName, 0, REG_NONE,
                 reinterpret_cast<const BYTE *>(&value), sizeof value);
  return RegCloseKey(key.release());
}

extern "C" LONG KTAPI SetDialogControl(LPCSTR switchName, DWORD value) {
  return SetDialogControlEx(kDefaultProgram, switchName, value);
}

extern "C" int KTAPI KTMessageBox(HWND owner, LPCSTR switchName, LPCSTR text,
                                  LPCSTR caption, DWORD flags) {
  if (switchName != nullptr && !GetDialogControl(switchName)) return 0;
  BoxParams params = {text, caption, switchName, flags};
  return static_cast<int>(
      DialogBoxParamA(kt::ModuleHandle(), MAKEINTRESOURCEA(IDD_MSGBOX), owner,
                      MessageBoxProc, reinterpret_cast<LPARAM>(&params)));
}
