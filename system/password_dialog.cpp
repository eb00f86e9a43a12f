// The password dialog: one template, laid out by mode to set, enter, change
// or confirm the service password.
#include <string.h>

#include <initializer_list>

#include "ktutil.h"
#include "lifecycle.h"
#include "resource.h"
#include "system/service_ui.h"

namespace {

constexpr int kMinLength = 6, kMaxLength = 31;
constexpr int kFieldRoom = 261;  // a field is read up to 260 characters

// A label and its edit field.
struct Row {
  int label, edit;
};
constexpr Row kOldRow{IDC_PWD_OLD_LABEL, IDC_PWD_OLD};
constexpr Row kNewRow{IDC_PWD_NEW_LABEL, IDC_PWD_NEW};
constexpr Row kVerifyRow{IDC_PWD_VERIFY_LABEL, IDC_PWD_VERIFY};

// Prompt and caption by mode.
constexpr UINT kTexts[][2] = {{115, 122}, {123, 124}, {125, 126}, {3060, 124}};

DWORD ClampSize(DWORD size) { return size > 0x7FFFFFFFu ? 0x7FFFFFFFu : size; }

class PasswordDialog {
 public:
  PasswordDialog(HWND parent, DWORD mode, LPSTR password, DWORD size, LPSTR old,
                 DWORD oldSize)
      : parent_(parent),
        mode_(mode),
        password_(password),
        size_(ClampSize(size)),
        old_(old),
        oldSize_(ClampSize(oldSize)) {}

  INT_PTR Handle(HWND window, UINT message, WPARAM wParam) {
    if (message == WM_INITDIALOG) {
      window_ = window;
      Initialise();
      return FALSE;  // the focus is set
    }
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDOK) CheckAndAccept();
    if (LOWORD(wParam) == IDCANCEL) EndDialog(window_, 2);
    return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
  }

 private:
  // Modes above the last one set a password.
  DWORD Shown() const { return mode_ <= KTPWD_CONFIRMOLD ? mode_ : KTPWD_SET; }

  void Initialise() {
    for (int id : {IDC_PWD_OLD, IDC_PWD_NEW, IDC_PWD_VERIFY})
      SendDlgItemMessageA(window_, id, EM_SETPASSWORDCHAR, '*', 0);
    char text[256];
    if (LoadStringA(kt::ModuleHandle(), kTexts[Shown()][0], text, sizeof text) > 0)
      SetDlgItemTextA(window_, IDC_PWD_PROMPT, text);
    if (LoadStringA(kt::ModuleHandle(), kTexts[Shown()][1], text, sizeof text) > 0)
      SetWindowTextA(window_, text);
    Layout();
    SetFocus(GetDlgItem(window_, Shown() == KTPWD_CHANGE ? IDC_PWD_OLD : IDC_PWD_NEW));
    if (parent_ == nullptr) CenterWindow(window_);
    BringWindowToTop(window_);
  }

  RECT Place(int id) const {
    RECT rect = {};
    GetWindowRect(GetDlgItem(window_, id), &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
  }
  void Move(int id, int top, int heightChange = 0) const {
    const RECT rect = Place(id);
    SetWindowPos(GetDlgItem(window_, id), nullptr, rect.left, top, rect.right - rect.left,
                 rect.bottom - rect.top + heightChange, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Hide(Row row) const {
    ShowWindow(GetDlgItem(window_, row.label), SW_HIDE);
    ShowWindow(GetDlgItem(window_, row.edit), SW_HIDE);
  }

  // Rows that are not shown go; the rows below them take their places, and
  // the buttons and the dialog's bottom edge follow.
  void Layout() const {
    const DWORD mode = Shown();
    if (mode == KTPWD_CHANGE) return;
    const RECT oldLabel = Place(kOldRow.label), oldEdit = Place(kOldRow.edit);
    const RECT newLabel = Place(kNewRow.label), newEdit = Place(kNewRow.edit);
    const int rowPitch = newEdit.top - oldEdit.top;
    int rowsRemoved = 1;
    Hide(kOldRow);
    if (mode == KTPWD_SET) {
      Move(kVerifyRow.label, newLabel.top);
      Move(kVerifyRow.edit, newEdit.top);
    } else {
      Hide(kVerifyRow);
    }
    if (mode == KTPWD_CONFIRMOLD) {
      // Its longer prompt takes the old row's room.
      Move(IDC_PWD_PROMPT, Place(IDC_PWD_PROMPT).top, newEdit.bottom - newEdit.top);
    } else {
      Move(kNewRow.label, oldLabel.top);
      Move(kNewRow.edit, oldEdit.top);
      rowsRemoved = mode == KTPWD_ENTER ? 2 : 1;
    }
    const int shift = rowsRemoved * rowPitch;
    for (int id : {IDOK, IDCANCEL}) Move(id, Place(id).top - shift);
    RECT frame;
    GetWindowRect(window_, &frame);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top - shift,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  int Box(UINT text, UINT caption, UINT flags) const {
    return kt::StringTableBox(window_, text, caption, flags);
  }
  void FocusPassword(bool selectAll) const {
    HWND field = GetDlgItem(window_, IDC_PWD_NEW);
    SetFocus(field);
    if (selectAll) SendMessageA(field, EM_SETSEL, 0, -1);
  }

  void CheckAndAccept() const {
    char typed[kFieldRoom], verify[kFieldRoom];
    GetDlgItemTextA(window_, IDC_PWD_NEW, typed, kFieldRoom);
    const int length = lstrlenA(typed);
    // Only changing may clear the password, and only when the user says so.
    if (length == 0 && mode_ == KTPWD_CHANGE) {
      if (Box(117, 118, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND) ==
          IDYES)
        Accept(typed);
      return;
    }
    // Entering a password leaves judging it to the service.
    const bool entering = mode_ == KTPWD_ENTER || mode_ == KTPWD_CONFIRMOLD;
    if (length > kMaxLength || (length < kMinLength && !entering)) {
      Box(119, 120, MB_OK | MB_ICONEXCLAMATION);
      FocusPassword(true);
      return;
    }
    GetDlgItemTextA(window_, IDC_PWD_VERIFY, verify, kFieldRoom);
    if (!entering && strcmp(typed, verify) != 0) {
      Box(121, 3061, MB_OK | MB_ICONEXCLAMATION);
      SetDlgItemTextA(window_, IDC_PWD_NEW, "");
      SetDlgItemTextA(window_, IDC_PWD_VERIFY, "");
      FocusPassword(false);
      return;
    }
    Accept(typed);
  }

  void Accept(const char *typed) const {
    strncpy0(password_, typed, static_cast<int>(size_));
    if (old_ != nullptr) {
      char old[kFieldRoom];
      GetDlgItemTextA(window_, IDC_PWD_OLD, old, kFieldRoom);
      strncpy0(old_, old, static_cast<int>(oldSize_));
    }
    EndDialog(window_, 1);
  }

  HWND window_ = nullptr;
  HWND parent_;
  DWORD mode_;
  LPSTR password_;
  DWORD size_;
  LPSTR old_;
  DWORD oldSize_;
};

// The dialog keeps its object in its user data from the first message that
// carries it until its window is gone.
INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
  auto *dialog =
      reinterpret_cast<PasswordDialog *>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (dialog == nullptr) return FALSE;
  if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  return dialog->Handle(window, message, wParam);
}

}  // namespace

namespace kt {

int StringTableBox(HWND owner, UINT textId, UINT captionId, UINT flags) {
  char text[1024], caption[256];
  if (LoadStringA(ModuleHandle(), textId, text, sizeof text) <= 0) text[0] = '\0';
  if (LoadStringA(ModuleHandle(), captionId, caption, sizeof caption) <= 0)
    caption[0] = '\0';
  return MessageBoxA(owner, text, caption, flags);
}

}  // namespace kt

extern "C" BOOL KTAPI QueryPasswordDlg(HWND parent, DWORD mode, LPSTR password,
                                       DWORD size, LPSTR old, DWORD oldSize, UINT_PTR) {
  PasswordDialog dialog(parent, mode, password, size, old, oldSize);
  return DialogBoxParamA(kt::ModuleHandle(), MAKEINTRESOURCEA(IDD_PASSWORD), parent,
                         DialogProc, reinterpret_cast<LPARAM>(&dialog)) == 1;
}
