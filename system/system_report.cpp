// The diagnostic report that support staff ask users for: Winsock, versions
// of the product's and the system's files, system, processor and memory.
#include <stdarg.h>
#include <string.h>
#include <winsock.h>

#include <atomic>
#include <initializer_list>

#include "format.h"
#include "ktutil.h"
#include "system/version_block.h"
#include "text_buffer.h"

namespace {

// Set by the first successful Winsock start-up in a report, never cleared.
std::atomic<bool> g_winsockStarted{false};

// Where a file of the report is looked for, below the system directory.
enum Folder { kSystem, kDrivers, kProduct };
struct ReportFile {
  const char *name;
  Folder folder;
};
// Two files are listed twice, and so reported twice.
constexpr ReportFile kFiles[] = {
    {"wsock32.dll", kSystem},  {"ktdata.dll", kSystem},    {"comctl32.dll", kSystem},
    {"kernel32.dll", kSystem}, {"wsock32.dll", kSystem},   {"ktdatant.sys", kSystem},
    {"ktdata.dll", kSystem},   {"ktmonapi.dll", kSystem},  {"ktutil.dll", kSystem},
    {"user32.dll", kSystem},   {"ws2_32.dll", kSystem},    {"ktdata95.vxd", kSystem},
    {"wsock2.vxd", kSystem},   {"wsock.vxd", kSystem},     {"tcpip.sys", kDrivers},
    {"afd.sys", kDrivers},     {"ktruledb.dll", kProduct}, {"ktmon.exe", kProduct},
};

const char *const kArchitectures[] = {"INTEL", "MIPS", "DEC ALPHA", "POWER PC",
                                      "UNKNOWN"};
const char *const kFamilies[] = {"",
                                 "",
                                 "",
                                 "Intel 80386",
                                 "Intel 80486",
                                 "Intel Pentium",
                                 "Intel Pentium Pro or Pentium II"};

// Application addresses at their full width: 8 digits on the 32-bit build.
#ifdef _WIN64
#define KT_ADDRESS "%08I64x"
#else
#define KT_ADDRESS "%08x"
#endif

// Each piece is cut to 4095 characters.
void Append(TextBuffer *report, const char *format, ...) {
  char piece[4096];
  va_list args;
  va_start(args, format);
  kt::BoundedFormat(piece, sizeof piece, format, args);
  va_end(args);
  kt::TextAppend(report, piece);
}

void AppendLines(TextBuffer *report, std::initializer_list<const char *> lines) {
  for (const char *line : lines) kt::TextAppend(report, line);
}

const char *WinsockStatus(int result) {
  switch (result) {
    case 0:
      return "\nWinsock initilization successful";
    case WSAEINPROGRESS:
      return "\nWinsock error WSAEINPROGRESS: Winsock call in progress";
    case WSASYSNOTREADY:
      return "\nWinsock error WSASYSNOTREADY: Network subsystem is not ready";
    case WSAVERNOTSUPPORTED:
      return "\nWinsock error WSAVERNOTSUPPORTED: Wrong version";
    default:
      return "\nWinsock - unknown initilization error";
  }
}

void AppendWinsock(TextBuffer *report) {
  WSADATA wsa = {};
  const int result = WSAStartup(MAKEWORD(1, 1), &wsa);
  kt::TextAppend(report, WinsockStatus(result));
  if (result == 0) g_winsockStarted = true;
  if (g_winsockStarted) {
    Append(report, "\nWinsock info: Version %04hx, Max.Sockets %04hu", wsa.wHighVersion,
           wsa.iMaxSockets);
    const char *texts[] = {wsa.szDescription, wsa.szSystemStatus, wsa.lpVendorInfo};
    const size_t limits[] = {sizeof wsa.szDescription, sizeof wsa.szSystemStatus, 4095};
    for (int i = 0; i < 3; ++i) {
      const int length = texts[i] ? static_cast<int>(strnlen(texts[i], limits[i])) : 0;
      if (length > 0) Append(report, "\n%.*s", length, texts[i]);
    }
  }
  // The library's own start-up at load stays; this one is undone.
  if (result == 0) WSACleanup();
}

void AppendFileVersion(TextBuffer *report, const char *path, const char *name) {
  kt::VersionBlock block;
  const kt::VersionBlock::Outcome outcome = block.LoadFile(path);
  VS_FIXEDFILEINFO *fixed = nullptr;
  UINT length = 0;
  if (outcome == kt::VersionBlock::kNoResource) {
    Append(report, "\nUnable to locate file %-22s Version unavailable", name);
  } else if (block.Query("\\", reinterpret_cast<void **>(&fixed), &length) &&
             length >= sizeof *fixed) {
    const WORD a = HIWORD(fixed->dwFileVersionMS), b = LOWORD(fixed->dwFileVersionMS),
               c = HIWORD(fixed->dwFileVersionLS), d = LOWORD(fixed->dwFileVersionLS);
    // A third part of 0 is left out.
    if (c != 0)
      Append(report, "\n%-45sVersion %hu.%hu.%hu.%hu", path, a, b, c, d);
    else
      Append(report, "\n%-45sVersion %hu.%hu.%hu", path, a, b, d);
  }
}

void AppendFiles(TextBuffer *report) {
  char system[244];
  const UINT length = GetSystemDirectoryA(system, sizeof system);
  if (length == 0 || length >= sizeof system) system[0] = '\0';
  const bool endsInSlash = system[0] != '\0' && system[strlen(system) - 1] == '\\';
  for (const ReportFile &file : kFiles) {
    char path[4096];
    const char *between = file.folder == kDrivers   ? "\\drivers\\"
                          : file.folder == kProduct ? "\\Tessaly\\"
                          : endsInSlash             ? ""
                                                    : "\\";
    wsnprintf(path, sizeof path, "%s%s%s", system, between, file.name);
    AppendFileVersion(report, path, file.name);
  }
}

void AppendProcessorRevision(TextBuffer *report, WORD level, WORD revision) {
  const int high = revision >> 8, low = revision & 0xFF;
  int model, stepping;
  if (level == 3 || level == 4) {
    // Before the processor identification instruction: 0xFF, then model
    // and stepping as digits; else the model as a letter from 'A'.
    model = high == 0xFF ? ((low >> 4) & 0xF) - 10 : high + 'A';
    stepping = high == 0xFF ? low & 0xF : low;
  } else if (level == 5 || level == 6) {
    model = high;
    stepping = low;
  } else {
    Append(
        report,
        "\nProcessor Revision: Unable to calculate - unknown processor family.\nCode %x "
        "returned.",
        revision);
    return;
  }
  Append(report, "\nProcessor Revision: Model %d, Stepping %d, Code %x", model, stepping,
         revision);
}

}  // namespace

extern "C" int KTAPI GetSystemReport(TextBuffer *report) {
  if (report == nullptr) return 0;
  kt::TextClear(report);
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  MEMORYSTATUS memory = {};
  memory.dwLength = sizeof memory;
  GlobalMemoryStatus(&memory);

  AppendLines(report, {"\n;", "\n;*******", "\n;WININFO", "\n;*******", "\n;",
                       "\n;**** Winsock Information *******************", "\n;"});
  AppendWinsock(report);
  AppendLines(report, {"\n;", "\n;**** File Information **********************", "\n;"});
  AppendFiles(report);
  AppendLines(report, {"\n;", "\n;**** Operating System Information **********", "\n;"});

  Append(report, "\nMajor Version Number: %d\nMinor Version Number: %d\nBuild Number: %d",
         static_cast<int>(version.dwMajorVersion),
         static_cast<int>(version.dwMinorVersion),
         static_cast<int>(version.dwBuildNumber));
  char platform[257] = "";
  GetPlatformNameInfo(platform, 256);
  Append(report, "\nPlatform: %s", platform);
  Append(report, "\nSystem Language: %x", GetSystemDefaultLangID());
  Append(report, "\nSystem Comments: %s", version.szCSDVersion);

  const WORD architecture = system.wProcessorArchitecture, level = system.wProcessorLevel;
  Append(report,
         "\n;\n;**** Processor Information *****************\n;\nNumber of processors: "
         "%d\nProcessor Architecture: %s\nProcessor Family: %s",
         static_cast<int>(system.dwNumberOfProcessors),
         architecture < 5 ? kArchitectures[architecture] : "UNKNOWN",
         level < 7 ? kFamilies[level] : "");
  AppendProcessorRevision(report, level, system.wProcessorRevision);

  Append(report,
         "\n;\n;**** Memory Information ********************\n;\nHighest Memory Address "
         "Accessible : " KT_ADDRESS "\nLowest  Memory Address Accessible : " KT_ADDRESS,
         reinterpret_cast<UINT_PTR>(system.lpMaximumApplicationAddress),
         reinterpret_cast<UINT_PTR>(system.lpMinimumApplicationAddress));
  Append(report, "\nTotal Physical Memory: %dMB\n;",
         static_cast<int>((memory.dwTotalPhys >> 20) + 1));
  return 0;
}
