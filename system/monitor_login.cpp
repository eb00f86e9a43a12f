// Logging on to the security service through its monitor API, to set its
// password or to have it unload itself.
#include <stddef.h>

#include "ktutil.h"
#include "system/service_ui.h"

namespace {

// Values of the service, by the ids its monitor API knows them by.
constexpr DWORD kRights = 0x8077;       // non-zero: this logon may change settings
constexpr DWORD kUnload = 0x8063;       // set to 1: the service unloads itself
constexpr DWORD kNewPassword = 0x4043;  // the password to keep from now on
constexpr DWORD kPassword = 0x4044;     // presenting the password: succeeds when right
constexpr DWORD kSetPasswordLogon = 0x1000000, kUnloadLogon = 0x1080000;
constexpr int kPasswordRoom = 32;

// What MonitorLogon receives: who logs on.
struct LogonRecord {
  DWORD size;
  DWORD reserved1[2];
  DWORD flags;
  DWORD processId;
  DWORD threadId;
  DWORD reserved2[2];
  char userId[256];
  BYTE reserved3[272];
};
static_assert(sizeof(LogonRecord) == 560 && offsetof(LogonRecord, flags) == 12 &&
                  offsetof(LogonRecord, userId) == 32,
              "the logon record's layout");

// The entries, looked up afresh for every operation: the two operations
// must not overlap, since the table points into a library each releases.
struct MonitorEntries {
  UINT_PTR(WINAPI *logon)(LogonRecord *record, DWORD flags);
  void(WINAPI *logoff)(UINT_PTR logon);
  DWORD(WINAPI *getDWord)(UINT_PTR logon, DWORD id);
  DWORD(WINAPI *setDWord)(UINT_PTR logon, DWORD id, DWORD value);
  DWORD(WINAPI *setChar)(UINT_PTR logon, DWORD id, LPCSTR text);
  FARPROC addEventHandler, enableAsyncCallback;  // never called, but required
} g_monitor;

template <typename Entry>
bool Bind(HMODULE module, const char *name, Entry &entry) {
  entry = reinterpret_cast<Entry>(reinterpret_cast<void *>(GetProcAddress(module, name)));
  return entry != nullptr;
}

// The monitor API for one operation, released on every way out.
class MonitorApi {
 public:
  MonitorApi() : module_(LoadLibraryA("ktmonapi.dll")) {}
  ~MonitorApi() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  MonitorApi(const MonitorApi &) = delete;
  MonitorApi &operator=(const MonitorApi &) = delete;

  // 0 when the library, an entry or the logon is missing.
  UINT_PTR LogOn(DWORD flags) const {
    MonitorEntries &m = g_monitor;
    if (module_ == nullptr || !Bind(module_, "MonitorLogon", m.logon) ||
        !Bind(module_, "MonitorLogoff", m.logoff) ||
        !Bind(module_, "MonitorGetDWordValue", m.getDWord) ||
        !Bind(module_, "MonitorSetDWordValue", m.setDWord) ||
        !Bind(module_, "MonitorSetCharValue", m.setChar) ||
        !Bind(module_, "MonitorAddEventHandler", m.addEventHandler) ||
        !Bind(module_, "MonitorEnableAsyncCallback", m.enableAsyncCallback))
      return 0;
    LogonRecord record = {};
    record.size = sizeof record;
    record.flags = 0x80000000u;
    record.processId = GetCurrentProcessId();
    record.threadId = GetCurrentThreadId();
    GetCanonicalUserID(GetCurrentProcess(), record.userId, sizeof record.userId);
    return m.logon(&record, flags);
  }

 private:
  HMODULE module_;
};

bool HasRights() { return g_monitor.getDWord(0, kRights) != 0; }
bool PresentPassword(LPCSTR password) {
  return g_monitor.setChar(0, kPassword, password) != 0;
}

void ShowWrongPassword(HWND parent) {
  kt::StringTableBox(parent, 3058, 3059, MB_OK | MB_ICONSTOP);
}

// Unloads the service once the logon holds the rights, by the password
// given or typed, after the user's yes when it holds them already.
void Unload(HWND parent, LPCSTR password, UINT_PTR logon) {
  bool rights = HasRights();
  if (rights) {
    const bool quiet = password != nullptr && password[0] == '\0';
    if (!quiet && kt::StringTableBox(parent, 128, 127,
                                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
      return;
  } else if (password != nullptr && password[0] != '\0') {
    PresentPassword(password);
    rights = HasRights();
  }
  if (!rights) {
    char typed[kPasswordRoom];
    if (!QueryPasswordDlg(parent, KTPWD_ENTER, typed, sizeof typed, nullptr, 0, 0))
      return;
    if (!PresentPassword(typed)) {
      ShowWrongPassword(parent);
      return;
    }
    rights = HasRights();
  }
  if (rights) g_monitor.setDWord(logon, kUnload, 1);
}

}  // namespace

extern "C" BOOL KTAPI KTLoginSetPassword(HWND parent, LPCSTR newPassword) {
  const MonitorApi monitor;
  if (monitor.LogOn(kSetPasswordLogon) == 0) return FALSE;
  bool rights = HasRights();
  if (rights && newPassword != nullptr) {
    g_monitor.setChar(0, kNewPassword, newPassword);
    return HasRights();
  }
  // Until the service accepts the current password, or the user gives up.
  while (!rights) {
    char typed[kPasswordRoom];
    if (!QueryPasswordDlg(parent, KTPWD_CONFIRMOLD, typed, sizeof typed, nullptr, 0, 0))
      return FALSE;
    if (!PresentPassword(typed)) {
      ShowWrongPassword(parent);
      continue;
    }
    if ((rights = HasRights())) {
      g_monitor.setChar(0, kNewPassword, newPassword);
      if ((rights = HasRights())) return TRUE;
    }
  }
  return FALSE;  // the logon is left open
}

extern "C" BOOL KTAPI KTUnloadService(HWND parent, LPCSTR password) {
  const MonitorApi monitor;
  const UINT_PTR logon = monitor.LogOn(kUnloadLogon);
  if (logon == 0) return FALSE;
  Unload(parent, password, logon);
  // The request is made; the service unloads in its own time.
  g_monitor.logoff(logon);
  return FALSE;
}
