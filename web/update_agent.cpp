// The update agent: asks the update server whether a newer version of an
// installed product exists, offers it to the user and remembers the answer
// so that background checks remind again later, or not at all.
#include <objbase.h>
#include <shellapi.h>
#include <string.h>
#include <winsock.h>

#include <atomic>
#include <initializer_list>
#include <memory>
#include <new>

#include "config/reg_key.h"
#include "core/fault_guard.h"
#include "core/text_buffer.h"
#include "ktutil.h"
#include "lifecycle.h"
#include "resource.h"
#include "web/form_field.h"
#include "web/update_answer.h"
#include "web/update_dialogs.h"

namespace kt {
namespace {

constexpr char kServerHost[] = "update.tessaly.com";
constexpr WORD kServerPort = 80;
constexpr char kCheckPath[] = "/checkupdate.asp";
constexpr char kDefaultCheckUrl[] = "http://update.tessaly.com/checkupdate.asp";

constexpr DWORD kBackground = CHECKUPDATE_BACKGROUND;
constexpr DWORD kAlways = CHECKUPDATE_ALWAYS;  // no question asked: always available
constexpr DWORD kDefaultReminderDelay = 11520;  // eight days, in minutes

enum Outcome { kError, kAvailable, kNotAvailable, kCancelled, kExchangeFailed };

enum TextId : UINT {
  kAlwaysText = 37,
  kNoAnswerText = 40,
  kAvailableText = 41,
  kNotAvailableText = 42,
  kUnknownErrorText = 43,
  kCannotStartText = 44,
  kOfferText = 45,
  kNoVersionText = 46,
  kNotRecognizedText = 53,
  kTitleText = 54,
  kAgentErrorText = 3046,
};

// Held by a CheckForUpdate call and by each check worker while it runs:
// one check at a time, which also keeps the HTTP client to one request.
std::atomic<int> g_running{0};

// One check: what it was asked, and what it found.
struct Check {
  HWND dialog = nullptr;
  HWND owner = nullptr;
  DWORD flags = 0;
  char product[256] = "";
  char productKey[sizeof kProductKey + 256] = "";
  Outcome outcome = kError;
  char notice[256] = "";
  char url[256] = "";

  bool background() const { return (flags & kBackground) != 0; }
  void Notice(UINT id) { fmtmsg(notice, sizeof notice, ModuleHandle(), id, product); }
};

bool ReadText(const char *key, const char *value, char *buffer, DWORD size) {
  return GetRegistryValueString(HKEY_LOCAL_MACHINE, key, value, buffer, size) != FALSE;
}

// The installation identifier, made and stored the first time it is asked for.
void InstallationId(char (&id)[101]) {
  if (ReadText(kProductKey, "HU100", id, sizeof id)) return;
  GUID guid = {};
  CoCreateGuid(&guid);
  wsnprintf(id, sizeof id, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
            static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
            guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
            guid.Data4[6], guid.Data4[7]);
  SetRegistryValueString(HKEY_LOCAL_MACHINE, kProductKey, "HU100", id);
  // Another process may have stored its own first: everyone keeps that one.
  char stored[sizeof id];
  if (ReadText(kProductKey, "HU100", stored, sizeof stored))
    memcpy(id, stored, sizeof id);
}

struct OwnedText : TextBuffer {
  OwnedText() : TextBuffer{} {}
  ~OwnedText() { TextClear(this); }
  OwnedText(const OwnedText &) = delete;
  OwnedText &operator=(const OwnedText &) = delete;
};

void ReadAnswer(Check *check, const char *answer) {
  char available[128];
  if (!FindAnswerValue(answer, "UpdateAvailable", available, sizeof available)) {
    check->Notice(kNoAnswerText);
    return;
  }
  if (_stricmp(available, "Yes") != 0) {
    check->Notice(kNotAvailableText);
    check->outcome = kNotAvailable;
    return;
  }
  if (!FindAnswerValue(answer, "UpdateURL", check->url, sizeof check->url))
    strncpy0(check->url, kDefaultCheckUrl, sizeof check->url);
  if (!FindAnswerValue(answer, "UpdateNotice", check->notice, sizeof check->notice))
    check->Notice(kAvailableText);
  check->outcome = kAvailable;
}

void RunCheck(void *context) {
  Check *check = static_cast<Check *>(context);
  char version[257];
  if (!ReadText(check->productKey, "CurrentVersion", version, sizeof version) ||
      !*version) {
    check->Notice(kNoVersionText);
    return;
  }
  if (check->flags & kAlways) {
    strncpy0(check->url, kDefaultCheckUrl, sizeof check->url);
    check->Notice(kAlwaysText);
    check->outcome = kAvailable;
    return;
  }
  char id[101];
  InstallationId(id);
  OwnedText form;
  if (!AppendFormField(&form, "ProductName", check->product) ||
      !AppendFormField(&form, "ProductVersion", version) ||
      !AppendFormField(&form, "HU100", id) ||
      (!check->background() && !AppendFormField(&form, "Query", "Manual")))
    return;
  OwnedText answer;
  int status = 0;
  const BOOL done = HttpPostFormEx(kServerHost, kServerPort, kCheckPath, form.data,
                                   static_cast<int>(form.length), &answer,
                                   check->background() ? nullptr : ShowHttpProgress,
                                   reinterpret_cast<UINT_PTR>(check->dialog), &status, 0);
  if (done && status == 502) {
    check->Notice(kNotRecognizedText);
  } else if (done && status == 200) {
    ReadAnswer(check, TextOf(&answer));
  } else {
    check->outcome = kExchangeFailed;
  }
}

void OpenInBrowser(HWND owner, const char *url) {
  ShellExecuteA(owner, nullptr, url, nullptr, ".", SW_SHOWNORMAL);
}

// What the server itself shows when the agent could not talk to it.
void OpenUpdatePage(const Check &check) {
  char version[257], id[101], url[1024];
  if (!ReadText(check.productKey, "CurrentVersion", version, sizeof version)) return;
  InstallationId(id);
  // Inserted as they are: the page takes them unencoded.
  wsnprintf(url, sizeof url,
            "http://%s/checkupdateweb.asp?ProductName=%s&ProductVersion=%s&HU100=%s",
            kServerHost, check.product, version, id);
  OpenInBrowser(check.owner, url);
}

void OfferUpdate(const Check &check, HWND owner) {
  const char *key = check.productKey;
  SetRegistryValueString(HKEY_LOCAL_MACHINE, key, "UpdateAction", check.url);
  SetRegistryValueString(HKEY_LOCAL_MACHINE, key, "UpdateNotice", check.notice);
  char text[512], title[256];
  fmtmsg(text, sizeof text, ModuleHandle(), kOfferText, check.notice);
  fmtmsg(title, sizeof title, ModuleHandle(), kTitleText, check.product);
  switch (ShowUpdateOffer(owner, title, text)) {
    case IDC_UPDATE_GET:
      OpenInBrowser(owner, check.url);
      break;
    case IDC_UPDATE_LATER: {
      const DWORD delay = GetRegistryValueDWord(
          HKEY_LOCAL_MACHINE, key, "UpdateReminderDelay", kDefaultReminderDelay);
      SetRegistryValueDWord(
          HKEY_LOCAL_MACHINE, key, "UpdateReminder",
          DateTimeAddMinutes(GetCurrentDateTime(), static_cast<int>(delay)));
      break;
    }
    case IDC_UPDATE_NEVER:
      SetRegistryValueDWord(HKEY_LOCAL_MACHINE, key, "UpdateReminder", 0);
      break;
  }
}

void DeleteOffer(const Check &check) {
  for (const char *value : {"UpdateAction", "UpdateNotice", "UpdateReminder"})
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, check.productKey, value);
}

// No offer pending, or its reminder has come (0 and all ones never come).
bool BackgroundCheckDue(const Check &check) {
  char action[256];
  if (!ReadText(check.productKey, "UpdateAction", action, sizeof action)) return true;
  const DateTime reminder =
      GetRegistryValueDWord(HKEY_LOCAL_MACHINE, check.productKey, "UpdateReminder", 0);
  return reminder != 0 && reminder != 0xFFFFFFFFu && reminder <= GetCurrentDateTime();
}

void RunWorker(Check *check) {
  if (check->dialog != nullptr)
    SendMessageA(check->dialog, kProgressState, kCheckStarting, 0);
  // The thread's own start, on top of the library's.
  WSADATA wsa;
  const bool sockets = WSAStartup(MAKEWORD(1, 1), &wsa) == 0;
  if (!RunGuarded(RunCheck, check)) check->outcome = kError;
  if (sockets) WSACleanup();
  if (check->background()) {
    if (check->outcome == kAvailable) OfferUpdate(*check, nullptr);
    if (check->outcome == kNotAvailable) DeleteOffer(*check);
  } else if (check->dialog != nullptr) {
    // Sent, so the outcome above is there before the dialog's loop ends.
    SendMessageA(check->dialog, kProgressState, kCheckDone, 0);
  }
}

DWORD WINAPI WorkerMain(void *parameter) {
  {
    const std::unique_ptr<std::shared_ptr<Check>> check(
        static_cast<std::shared_ptr<Check> *>(parameter));
    RunWorker(check->get());
  }
  --g_running;
  // The worker keeps the library loaded until here, even after a cancel.
  FreeLibraryAndExitThread(ModuleHandle(), 0);
}

// The worker's thread handle, or null when it could not be started.
HANDLE StartWorker(const std::shared_ptr<Check> &check) {
  // One more reference to the library, released as the worker ends, so an
  // unload meanwhile cannot pull its code away (by path: the releases the
  // library runs on have no by-address form).
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(kt::ModuleHandle(), self, MAX_PATH);
  HMODULE pinned = length > 0 && length < MAX_PATH ? LoadLibraryA(self) : nullptr;
  if (pinned == nullptr) return nullptr;
  auto *parameter = new (std::nothrow) std::shared_ptr<Check>(check);
  ++g_running;
  HANDLE thread = parameter == nullptr
                      ? nullptr
                      : CreateThread(nullptr, 0, WorkerMain, parameter, 0, nullptr);
  if (thread == nullptr) {
    --g_running;
    delete parameter;
    FreeLibrary(pinned);
  }
  return thread;
}

std::shared_ptr<Check> NewCheck(HWND owner, const char *product, DWORD flags) {
  auto check = std::make_shared<Check>();
  check->owner = owner;
  check->flags = flags;
  strncpy0(check->product, product != nullptr ? product : "", sizeof check->product);
  wsnprintf(check->productKey, sizeof check->productKey, "%s\\%s", kProductKey,
            check->product);
  return check;
}

void ShowBox(const Check &check, const char *text, UINT icon) {
  char title[256];
  fmtmsg(title, sizeof title, ModuleHandle(), kTitleText, check.product);
  MessageBoxA(check.owner, text, title, MB_OK | icon);
}

DWORD CheckInteractively(HWND owner, const char *product, DWORD flags) {
  const std::shared_ptr<Check> check = NewCheck(owner, product, flags);
  // Only the worker writes the check until the dialog says it is done.
  Outcome outcome = kError;
  check->dialog = CreateProgressDialog(owner);
  if (check->dialog != nullptr) {
    const HANDLE worker = StartWorker(check);
    if (worker == nullptr) {
      DestroyWindow(check->dialog);
      check->Notice(kCannotStartText);
    } else if (RunProgressDialog(check->dialog, owner) == kProgressDone) {
      WaitForSingleObject(worker, INFINITE);
      outcome = check->outcome;
    } else {
      outcome = kCancelled;  // the worker runs on, on its own
    }
    if (worker != nullptr) CloseHandle(worker);
  }
  switch (outcome) {
    case kAvailable:
      OfferUpdate(*check, owner);
      return 1;
    case kNotAvailable: {
      char text[512];
      fmtmsg(text, sizeof text, ModuleHandle(), kNotAvailableText, check->product);
      ShowBox(*check, text, MB_ICONINFORMATION);
      DeleteOffer(*check);
      return 1;
    }
    case kCancelled:
      return 1;
    case kExchangeFailed:
      OpenUpdatePage(*check);
      return 0;
    case kError:
      if (!*check->notice) check->Notice(kUnknownErrorText);
      if (!*check->notice) check->Notice(kAgentErrorText);
      ShowBox(*check, check->notice, 0);
      return 0;
  }
  return 0;
}

DWORD CheckInBackground(const char *product, DWORD flags) {
  const std::shared_ptr<Check> check = NewCheck(nullptr, product, flags);
  if (BackgroundCheckDue(*check)) {
    const HANDLE worker = StartWorker(check);
    if (worker != nullptr) CloseHandle(worker);
  }
  return 1;
}

}  // namespace
}  // namespace kt

extern "C" DWORD KTAPI CheckForUpdate(HWND owner, LPCSTR product, DWORD flags) {
  int idle = 0;
  if (!kt::g_running.compare_exchange_strong(idle, 1)) return 0;
  DWORD result = 0;
  try {
    result = (flags & kt::kBackground) ? kt::CheckInBackground(product, flags)
                                       : kt::CheckInteractively(owner, product, flags);
  } catch (...) {
    // Out of memory before the check could start: no check, no answer.
  }
  --kt::g_running;
  return result;
}
