// Is a given program running? Every running program's path is compared with
// the searched name as it stands, by its bare name when asked, and in short
// (8.3) form, so that any spelling of the same file's path matches.
#include <string.h>

#include <atomic>

#include "ktutil.h"
#include "lifecycle.h"
#include "system/owned_handle.h"
#include "system/process_entries.h"

namespace {

constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;

// Short forms of the searched name and of the last candidate, for one
// search. A slot that already holds the text to convert is kept: the
// conversion asks the file system, the comparison does not.
struct ShortNames {
  char searched[MAX_PATH] = "";
  char candidate[MAX_PATH] = "";
};

void PlaceShortPath(char *slot, const char *path) {
  if (lstrcmpiA(slot, path) == 0) return;
  const DWORD length = GetShortPathNameA(path, slot, MAX_PATH);
  // A name that is no existing file has no short form and never matches.
  if (length == 0 || length >= MAX_PATH) slot[0] = '\0';
}

const char *FileNameOf(const char *path) {
  const char *name = path;
  for (const char *c = path; *c != '\0'; ++c)
    if (*c == '\\' || *c == '/' || *c == ':') name = c + 1;
  return name;
}

// A name that is its own short form on every system: 1 to 8 characters and
// an optional extension of 1 to 3, of letters, digits and a few marks. Names
// the system makes short always carry a '~', which this excludes.
bool IsPlainShortName(const char *name) {
  const char *dot = strchr(name, '.');
  const size_t length = strlen(name), base = dot ? dot - name : length;
  const size_t extension = dot ? length - base - 1 : 0;
  if (base == 0 || base > 8 || extension > 3 ||
      (dot && (extension == 0 || strchr(dot + 1, '.'))))
    return false;
  for (const char *c = name; *c != '\0'; ++c) {
    const char lower = static_cast<char>(*c | 0x20);
    if (c != dot && !(lower >= 'a' && lower <= 'z') && !(*c >= '0' && *c <= '9') &&
        !strchr("_-$!#%&'(){}@^`", *c))
      return false;
  }
  return true;
}

// Whether a candidate's short form could end in the searched file's short
// name: when either name is plain, only an equal name can. Asking the file
// system for every candidate's short form costs more than the whole walk.
bool MayShareShortName(const char *candidate, const char *searchedShort) {
  const char *name = FileNameOf(candidate), *wanted = FileNameOf(searchedShort);
  return lstrcmpiA(name, wanted) == 0 ||
         (!IsPlainShortName(name) && !IsPlainShortName(wanted));
}

bool Matches(const char *name, int flags, const char *candidate, ShortNames &cache) {
  if (flags & KTMR_BASENAME) {
    char base[MAX_PATH];
    ExtractFileBase(candidate, base, MAX_PATH);
    if (lstrcmpiA(base, name) == 0) return true;
  }
  if (lstrcmpiA(name, candidate) == 0) return true;
  if (cache.searched[0] == '\0' || !MayShareShortName(candidate, cache.searched))
    return false;
  PlaceShortPath(cache.candidate, candidate);
  return cache.candidate[0] != '\0' && lstrcmpiA(cache.searched, cache.candidate) == 0;
}

// NT family: the main module of every process this one may open.
bool ProcessStatusSearch(const char *name, int flags, ShortNames &cache) {
  kt::ProcessStatusEntries entries;
  // At most 1000 processes are seen.
  DWORD ids[1000], bytes = 0;
  if (!kt::GetProcessStatusEntries(&entries) ||
      !entries.enumProcesses(ids, sizeof ids, &bytes))
    return false;
  PlaceShortPath(cache.searched, name);
  for (DWORD i = 0; i < bytes / sizeof ids[0]; ++i) {
    if (ids[i] == 0) continue;
    kt::OwnedHandle process(OpenProcess(kQueryAndRead, FALSE, ids[i]));
    char path[MAX_PATH];
    if (process && entries.moduleFileName(process.get(), nullptr, path, MAX_PATH) != 0) {
      path[MAX_PATH - 1] = '\0';
      if (Matches(name, flags, path, cache)) return true;
    }
  }
  return false;
}

// 95/98/ME family: the executable paths of the process snapshot.
bool ToolHelpSearch(const char *name, int flags, ShortNames &cache) {
  kt::ToolHelpEntries entries;
  if (!kt::GetToolHelpEntries(&entries)) return false;
  kt::OwnedHandle snapshot(entries.snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32 entry = kt::EmptyProcessEntry();
  PlaceShortPath(cache.searched, name);
  for (BOOL more = entries.first(snapshot.get(), &entry); more;
       more = entries.next(snapshot.get(), &entry)) {
    if (Matches(name, flags, entry.szExeFile, cache)) return true;
  }
  return false;
}

// Screen-saver detectors, one per kind of system.

BOOL ParameterDetector() {
  BOOL running = FALSE;
  return SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) && running;
}

// NT 4 runs the saver on a desktop of its own; one the caller may not open
// still counts.
BOOL DesktopDetector() {
  HDESK desktop = OpenDesktopA("screen-saver", 0, FALSE, MAXIMUM_ALLOWED);
  if (desktop != nullptr) {
    CloseDesktop(desktop);
    return TRUE;
  }
  return GetLastError() == ERROR_ACCESS_DENIED;
}

// Windows 95 only says which saver is configured: look for it running.
BOOL ProfileDetector() {
  char saver[256];
  GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", saver, sizeof saver, "SYSTEM.INI");
  if (saver[0] == '\0') return FALSE;
  ShortNames cache;
  PlaceShortPath(cache.searched, saver);
  return ToolHelpSearch(cache.searched, 0, cache);
}

using Detector = BOOL (*)();
std::atomic<Detector> g_detector{nullptr};

Detector ChooseDetector() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExA(&info);
  if (info.dwPlatformId == VER_PLATFORM_WIN32_NT)
    return info.dwMajorVersion < 5 ? DesktopDetector : ParameterDetector;
  return info.dwMinorVersion == 0 ? ProfileDetector : ParameterDetector;
}

}  // namespace

extern "C" BOOL KTAPI IsModuleRunningEx(LPCSTR module, int flags) {
  if (module == nullptr) return FALSE;
  ShortNames cache;
  return kt::NtFlag() ? ProcessStatusSearch(module, flags, cache)
                      : ToolHelpSearch(module, flags, cache);
}

extern "C" BOOL KTAPI IsModuleRunning(LPCSTR module) {
  return IsModuleRunningEx(module, 0);
}

extern "C" BOOL KTAPI IsScreenSaverRunning(void) {
  Detector detector = g_detector.load(std::memory_order_relaxed);
  if (detector == nullptr) {
    detector = ChooseDetector();
    g_detector.store(detector, std::memory_order_relaxed);
  }
  // Only a query that answers "none enabled" rules the saver out.
  BOOL enabled = TRUE;
  if (SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &enabled, 0) && !enabled)
    return FALSE;
  return detector();
}
