/* Identifiers of the library's own dialogs, bitmap and dialog controls.
   Shared by the resource scripts and the code that drives the dialogs. */
#ifndef KTUTIL_RESOURCE_H
#define KTUTIL_RESOURCE_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* Dialogs and bitmap */
#define IDD_MSGBOX              101
#define IDD_PROGRESS            102
#define IDB_PROGRESS            103
#define IDD_UPDATE              105
#define IDD_PASSWORD            106

/* Message box with a "don't show again" check box (also the update offer's text) */
#define IDC_MSG_TEXT            1000
#define IDC_DONT_SHOW           1001

/* Progress dialog */
#define IDC_PROGRESS_TEXT       1002
#define IDC_PROGRESS_STATUS     1003

/* Update offer; 6 and 7 are the platform's IDYES and IDNO */
#define IDC_UPDATE_GET          6
#define IDC_UPDATE_NEVER        7
#define IDC_UPDATE_LATER        104

/* Password dialog */
#define IDC_PWD_NEW             107
#define IDC_PWD_VERIFY          108
#define IDC_PWD_OLD             114
#define IDC_PWD_PROMPT          116
#define IDC_PWD_OLD_LABEL       127
#define IDC_PWD_VERIFY_LABEL    128
#define IDC_PWD_NEW_LABEL       129

#endif
