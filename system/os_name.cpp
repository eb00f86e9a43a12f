// One-line version text and the name of the operating system.
#include <string.h>

#include "ktutil.h"

namespace {

OSVERSIONINFOA VersionRecord() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExA(&info);
  return info;
}

// Minor version 0 is 95; 98 and ME both have a non-zero minor.
const char *NineXName(const OSVERSIONINFOA &info) {
  return info.dwMinorVersion != 0 ? "Windows 98" : "Windows 95";
}

}  // namespace

extern "C" BOOL KTAPI GetOSVersionString(LPSTR dest, int size) {
  const OSVERSIONINFOA info = VersionRecord();
  const char *platform = "other";
  switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
      platform = "Win32s";
      break;
    case VER_PLATFORM_WIN32_WINDOWS:
      platform = NineXName(info);
      break;
    case VER_PLATFORM_WIN32_NT:
      platform = "Windows NT";
      break;
  }
  // The build number is printed whole: on 95/98/ME it includes the version.
  wsnprintf(dest, size, "%s-%d.%d.%d-%s-%s", platform,
            static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion),
            static_cast<int>(info.dwBuildNumber), info.szCSDVersion,
            GetProcessorCount() < 2 ? "SP" : "SMP");
  return TRUE;
}

extern "C" BOOL KTAPI GetPlatformNameInfo(LPSTR dest, UINT size) {
  const OSVERSIONINFOA info = VersionRecord();
  const char *name = nullptr;
  switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
      name = "Win32s on Windows 3.1";
      break;
    case VER_PLATFORM_WIN32_WINDOWS:
      name = NineXName(info);
      break;
    case VER_PLATFORM_WIN32_NT:
      name = info.dwMajorVersion < 5 ? "Windows NT" : "Windows 2000";
      break;
    default:
      return FALSE;
  }
  // Callers compare fixed-size fields: pad with zeros, no terminator when full.
  if (dest != nullptr && size > 0) strncpy(dest, name, size);
  return TRUE;
}
