#include "web/update_dialogs.h"

#include "lifecycle.h"
#include "resource.h"

namespace kt {
namespace {

constexpr UINT kTitleText = 49, kInitializingText = 48, kDoneText = 47;

void ShowStatus(HWND dialog, UINT textId) {
  char text[256];
  if (LoadStringA(ModuleHandle(), textId, text, sizeof text) <= 0) text[0] = '\0';
  SetDlgItemTextA(dialog, IDC_PROGRESS_STATUS, text);
}

// The loop notices the posted quit; the dialog is gone before it does.
void EndProgress(HWND dialog, int code) {
  DestroyWindow(dialog);
  PostQuitMessage(code);
}

INT_PTR CALLBACK ProgressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case kProgressText:
      SetDlgItemTextA(dialog, IDC_PROGRESS_STATUS,
                      reinterpret_cast<const char *>(lParam));
      return TRUE;
    case kProgressState:
      if (wParam == kCheckStarting) {
        ShowStatus(dialog, kInitializingText);
      } else if (wParam == kCheckDone) {
        ShowStatus(dialog, kDoneText);
        EndProgress(dialog, kProgressDone);
      }
      return TRUE;
    case WM_COMMAND:
      // Escape and the close box come here as Cancel too.
      if (LOWORD(wParam) == IDCANCEL) EndProgress(dialog, kProgressCancelled);
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK OfferProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const char *const *texts = reinterpret_cast<const char *const *>(lParam);
      SetWindowTextA(dialog, texts[0]);
      SetDlgItemTextA(dialog, IDC_MSG_TEXT, texts[1]);
      CenterWindow(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      // The user must choose: Escape and the close box (Cancel) do nothing.
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDC_UPDATE_GET:
        case IDC_UPDATE_LATER:
        case IDC_UPDATE_NEVER:
          EndDialog(dialog, LOWORD(wParam));
      }
      return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND CreateProgressDialog(HWND owner) {
  HWND dialog = CreateDialogParamA(ModuleHandle(), MAKEINTRESOURCEA(IDD_PROGRESS), owner,
                                   ProgressProc, 0);
  char title[256];
  if (dialog != nullptr &&
      LoadStringA(ModuleHandle(), kTitleText, title, sizeof title) > 0)
    SetWindowTextA(dialog, title);
  return dialog;
}

int RunProgressDialog(HWND dialog, HWND owner) {
  if (owner != nullptr) {
    POINT origin = {0, 0};
    ClientToScreen(owner, &origin);
    SetWindowPos(dialog, nullptr, origin.x, origin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  } else {
    CenterWindow(dialog);
    ShowWindow(dialog, SW_SHOWNORMAL);
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageA(dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  if (IsWindow(dialog)) {
    // Someone else asked the thread to quit: pass it on, as a cancel.
    DestroyWindow(dialog);
    PostQuitMessage(static_cast<int>(message.wParam));
    return kProgressCancelled;
  }
  return static_cast<int>(message.wParam);
}

BOOL KTAPI ShowHttpProgress(const HttpProgress *progress) {
  const HINSTANCE module = ModuleHandle();
  char text[256];
  switch (progress->step) {
    case HTTP_STEP_LOCATING:
      fmtmsg(text, sizeof text, module, 36, progress->host);
      break;
    case HTTP_STEP_CONNECTING:
      fmtmsg(text, sizeof text, module, 31, progress->host, progress->target,
             static_cast<int>(progress->port));
      break;
    case HTTP_STEP_SENDING:
      fmtmsg(text, sizeof text, module, 32);
      break;
    case HTTP_STEP_RECEIVING:
      fmtmsg(text, sizeof text, module, 33);
      break;
    case HTTP_STEP_FINISHED:
      fmtmsg(text, sizeof text, module, progress->result ? 34 : 35);
      break;
    default:
      return TRUE;
  }
  SendMessageA(reinterpret_cast<HWND>(progress->userData), kProgressText, 0,
               reinterpret_cast<LPARAM>(text));
  return TRUE;
}

int ShowUpdateOffer(HWND owner, const char *title, const char *text) {
  const char *texts[] = {title, text};
  const INT_PTR chosen =
      DialogBoxParamA(ModuleHandle(), MAKEINTRESOURCEA(IDD_UPDATE), owner, OfferProc,
                      reinterpret_cast<LPARAM>(texts));
  return chosen > 0 ? static_cast<int>(chosen) : 0;
}

}  // namespace kt
