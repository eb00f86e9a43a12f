// The update agent's two dialogs: the progress of a check and the offer
// of an available update.
#pragma once

#include <windows.h>

#include "ktutil.h"

namespace kt {

// Sent to the progress dialog: a text for its status line (lParam), or a
// change of state (wParam: kCheckStarting, kCheckDone).
constexpr UINT kProgressText = WM_USER + 1;
constexpr UINT kProgressState = WM_USER + 2;
constexpr WPARAM kCheckStarting = 1;
constexpr WPARAM kCheckDone = 2;

// Ends of the progress dialog's loop.
constexpr int kProgressDone = 1;
constexpr int kProgressCancelled = 2;

// Created hidden, with owner as its parent; null when it cannot be made.
HWND CreateProgressDialog(HWND owner);
// Places and shows the dialog, then runs its loop until the check is done
// or the user cancels (the dialog is gone either way).
int RunProgressDialog(HWND dialog, HWND owner);
// The HTTP client's progress callback feeding the dialog (user data).
BOOL KTAPI ShowHttpProgress(const HttpProgress *progress);

// Shows the offer modally; the identifier of the button that ended it
// (IDOK included), or 0 when it could not be shown.
int ShowUpdateOffer(HWND owner, const char *title, const char *text);

}  // namespace kt
