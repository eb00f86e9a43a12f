// The system report against the platform's own answers to the same
// questions, under each release Wine poses as.
#include <stdlib.h>

#include "win_helpers.h"

namespace {

std::string Format(const char *format, ...) {
  char text[4096];
  va_list args;
  va_start(args, format);
  _vsnprintf(text, sizeof text - 1, format, args);
  va_end(args);
  text[sizeof text - 1] = '\0';
  return text;
}

// A file's line, from its version as the version API reads it.
std::string FileLine(const std::string &folder, const char *name) {
  const std::string path = folder + name;
  DWORD unused, size = GetFileVersionInfoSizeA(path.c_str(), &unused);
  std::string block(size + 1, '\0');
  VS_FIXEDFILEINFO *fixed;
  UINT length;
  if (size == 0) return Format("\nUnable to locate file %-22s Version unavailable", name);
  GetFileVersionInfoA(path.c_str(), 0, size, &block[0]);
  VerQueryValueA(&block[0], "\\", reinterpret_cast<void **>(&fixed), &length);
  const WORD a = HIWORD(fixed->dwFileVersionMS), b = LOWORD(fixed->dwFileVersionMS),
             c = HIWORD(fixed->dwFileVersionLS), d = LOWORD(fixed->dwFileVersionLS);
  return Format("\n%-45sVersion %hu.%hu.", path.c_str(), a, b) +
         (c ? Format("%hu.%hu", c, d) : Format("%hu", d));
}

TEST(GetSystemReport, SaysWhatThePlatformSays) {
  TextBuffer report = {};
  GetSystemReport(&report);
  const std::string first(report.data, report.length);
  GetSystemReport(&report);  // replaces, never appends
  const std::string text(report.data, report.length);
  free(report.data);
  EXPECT_EQ(text, first);
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(text.find("\n;\n;*******\n;WININFO\n;*******\n;\n;**** Winsock"), 0u);

  // The product's files and the system's, in the report's order.
  char system[MAX_PATH];
  const std::string folder(system, GetSystemDirectoryA(system, MAX_PATH));
  std::string files = "\n;\n;**** File Information **********************\n;";
  for (const char *name :
       {"wsock32.dll", "ktdata.dll", "comctl32.dll", "kernel32.dll", "wsock32.dll",
        "ktdatant.sys", "ktdata.dll", "ktmonapi.dll", "ktutil.dll", "user32.dll",
        "ws2_32.dll", "ktdata95.vxd", "wsock2.vxd", "wsock.vxd"})
    files += FileLine(folder + "\\", name);
  files += FileLine(folder + "\\drivers\\", "tcpip.sys") +
           FileLine(folder + "\\drivers\\", "afd.sys") +
           FileLine(folder + "\\Tessaly\\", "ktruledb.dll") +
           FileLine(folder + "\\Tessaly\\", "ktmon.exe");
  EXPECT_NE(text.find(files + "\n;\n;**** Operating System"), std::string::npos) << files;

  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  SYSTEM_INFO info;
  MEMORYSTATUS memory = {};
  GetVersionExA(&version);
  GetSystemInfo(&info);
  GlobalMemoryStatus(&memory);
  EXPECT_EQ(GetProcessorCount(), info.dwNumberOfProcessors);
  // Windows ME calls itself Windows 98 here.
  const char *platform =
      version.dwPlatformId == VER_PLATFORM_WIN32_NT
          ? (version.dwMajorVersion < 5 ? "Windows NT" : "Windows 2000")
          : (version.dwMinorVersion ? "Windows 98" : "Windows 95");
  EXPECT_NE(
      text.find(Format(
          "\nMajor Version Number: %lu\nMinor Version Number: %lu\nBuild Number: %lu"
          "\nPlatform: %s\nSystem Language: %x\nSystem Comments: %s\n;\n;**** Processor "
          "Information *****************\n;\nNumber of processors: %lu\nProcessor "
          "Architecture: %s\n",
          version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber, platform,
          GetSystemDefaultLangID(), version.szCSDVersion, info.dwNumberOfProcessors,
          info.wProcessorArchitecture ? "UNKNOWN" : "INTEL")),
      std::string::npos)
      << text;
  // It ends with the memory figures.
  const std::string memoryLines = Format(
      "\nHighest Memory Address Accessible : %08I64x\nLowest  Memory Address Accessible "
      ": "
      "%08I64x\nTotal Physical Memory: %luMB\n;",
      ULONGLONG{reinterpret_cast<UINT_PTR>(info.lpMaximumApplicationAddress)},
      ULONGLONG{reinterpret_cast<UINT_PTR>(info.lpMinimumApplicationAddress)},
      static_cast<unsigned long>((memory.dwTotalPhys >> 20) + 1));
  EXPECT_EQ(text.substr(text.size() - std::min(text.size(), memoryLines.size())),
            memoryLines);
}

}  // namespace
