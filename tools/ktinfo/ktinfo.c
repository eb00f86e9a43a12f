/* ktinfo: loads ktutil.dll and prints what the library can tell about this
 * machine. Written in C, so it also proves the public header is C. */
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <windows.h>
#include <tlhelp32.h>

#include "ktutil.h"

static void Section(const char *title) { printf("\n[%s]\n", title); }

static void PrintPlatform(void) {
  Section("Platform");
  printf("NT family:            %lu\n", (unsigned long)IsWinNT());
  printf("Windows 2000 or later: %lu\n", (unsigned long)IsWin2K());
  printf("Processors:           %lu\n", (unsigned long)GetProcessorCount());
}

static void PrintSystem(void) {
  /* The name may fill its field without a terminator: one spare byte. */
  char name[33] = {0};
  char version[128];
  Section("System");
  if (!GetPlatformNameInfo(name, sizeof name - 1)) strcpy(name, "(unknown)");
  GetOSVersionString(version, sizeof version);
  printf("Platform name: %s\n", name);
  printf("OS version:    %s\n", version);
}

static void PrintFormatting(void) {
  char text[128];
  HINSTANCE lib = GetModuleHandleA("ktutil.dll");
  Section("Formatting");
  wsnprintf(text, sizeof text, "%s has %lu processor(s)", "This machine",
            (unsigned long)GetProcessorCount());
  printf("wsnprintf:   %s\n", text);
  /* Texts 15 ("none") and 16 ("page %d") of the library's string table. */
  wsrprintf(text, sizeof text, lib, "%s: %r", "proxy", 15);
  printf("wsrprintf:   %s\n", text);
  fmtrmsg(text, sizeof text, lib, 16, 7);
  printf("fmtrmsg:     %s\n", text);
  ExtractFileBase("C:\\Program Files\\Tessaly\\ktutil.dll", text, sizeof text);
  printf("file base:   %s\n", text);
}

static void PrintNetworkText(void) {
  char text[64];
  DWORD loopback = NameToIPAddr("localhost");
  Section("Addresses and ports");
  IPInfoToStr(loopback, ToggleNetHostS(80, FALSE), text, sizeof text);
  printf("localhost:   %s\n", loopback != 0 ? text : "(not resolved)");
  GetPortString(6, ToggleNetHostS(443, FALSE), TRUE, text, sizeof text);
  printf("port 443:    %s\n", text);
}

static void PrintDateTime(void) {
  char text[128];
  DateTime now = GetCurrentDateTime();
  DateTime start = GetStartDateTime();
  Section("Date and time");
  DateTimeToStr(now, text, sizeof text);
  printf("now (local):   %s\n", text);
  NormDateTimeToStr(now, text, sizeof text);
  printf("now (UTC):     %s\n", text);
  DateTimeToStr(start, text, sizeof text);
  printf("start (local): %s\n", text);
  NormDateTimeToStr(start, text, sizeof text);
  printf("start (UTC):   %s\n", text);
  TicksToHMSStr(GetTickCount(), text, sizeof text);
  printf("system up:     %s\n", text);
}

static void PrintCardFlags(DWORD flags) {
  static const struct {
    DWORD bit;
    const char *word;
  } words[] = {{KTNC_DIALUP, "dial-up"},
               {KTNC_TCPIP, "TCP/IP"},
               {KTNC_FIXED_ADDRESS, "fixed address"},
               {KTNC_DHCP_ADDRESS, "DHCP address"}};
  const char *separator = "";
  size_t i;
  printf("  flags:               0x%03lx (", (unsigned long)flags);
  for (i = 0; i < sizeof words / sizeof words[0]; ++i)
    if (flags & words[i].bit) {
      printf("%s%s", separator, words[i].word);
      separator = ", ";
    }
  printf("%s)\n", *separator ? "" : "none");
}

static void PrintNetworkCards(void) {
  static const struct {
    const char *label;
    size_t offset;
  } texts[] = {{"service name", offsetof(NCInfo, serviceName)},
               {"description", offsetof(NCInfo, description)},
               {"product name", offsetof(NCInfo, productName)},
               {"default gateway", offsetof(NCInfo, defaultGateway)},
               {"DHCP gateway", offsetof(NCInfo, dhcpDefaultGateway)},
               {"driver name", offsetof(NCInfo, driverName)},
               {"IP address", offsetof(NCInfo, ipAddress)},
               {"subnet mask", offsetof(NCInfo, subnetMask)},
               {"DHCP IP address", offsetof(NCInfo, dhcpIPAddress)},
               {"DHCP server", offsetof(NCInfo, dhcpServer)},
               {"DHCP subnet mask", offsetof(NCInfo, dhcpSubnetMask)},
               {"DHCP mask option", offsetof(NCInfo, dhcpSubnetMaskOpt)}},
    numbers[] = {{"DHCP enabled", offsetof(NCInfo, enableDHCP)},
                 {"lease", offsetof(NCInfo, lease)},
                 {"lease obtained", offsetof(NCInfo, leaseObtainedTime)},
                 {"lease terminates", offsetof(NCInfo, leaseTerminatesTime)},
                 {"T1", offsetof(NCInfo, t1)},
                 {"T2", offsetof(NCInfo, t2)}};
  NCInfo *info = malloc(sizeof *info);
  char path[256];
  DWORD count = 0, card, flags;
  size_t i;
  Section("Network cards");
  if (!GetNumNetworkCards(&count) || info == NULL) {
    printf("(none found)\n");
    free(info);
    return;
  }
  for (card = 0; card < count; ++card) {
    printf("Card %lu\n", (unsigned long)card);
    GetNCDescPath(card, path, sizeof path);
    printf("  description path:    %s\n", path);
    GetNCTcpipPath(card, path, sizeof path);
    printf("  TCP/IP path:         %s\n", path);
    GetNCDhcpPath(card, path, sizeof path);
    printf("  DHCP path:           %s\n", path);
    GetNCFlags(card, &flags);
    PrintCardFlags(flags);
    GetIndividualNCInfo(info, card);
    for (i = 0; i < sizeof texts / sizeof texts[0]; ++i)
      printf("  %-20s %s\n", texts[i].label, (const char *)info + texts[i].offset);
    for (i = 0; i < sizeof numbers / sizeof numbers[0]; ++i)
      printf("  %-20s %lu\n", numbers[i].label,
             (unsigned long)*(const DWORD *)((const char *)info + numbers[i].offset));
  }
  free(info);
}

static void PrintAdapters(void) {
  static IpAdapterInfo adapters[255];
  char hardware[18], address[16], mask[16], gateway[16];
  DWORD highest = 0, i, k;
  Section("Adapters");
  if (!GetIpAdapterInfo(adapters, 255, &highest)) {
    printf("(the TCP driver cannot be reached)\n");
    return;
  }
  printf("highest index: %lu\n", (unsigned long)highest);
  for (i = 0; i < 255; ++i) {
    const IpAdapterInfo *a = &adapters[i];
    if (a->index == 0) continue;
    EthAddrToStr(a->hardware, hardware);
    printf("Adapter %lu: type %lu, hardware %s, %s\n", (unsigned long)a->index,
           (unsigned long)a->type, hardware, a->description);
    for (k = 0; k < a->addressCount; ++k) {
      IPAddrToStr(a->addresses[k].address, address, sizeof address);
      IPAddrToStr(a->addresses[k].mask, mask, sizeof mask);
      IPAddrToStr(a->addresses[k].gateway, gateway, sizeof gateway);
      printf("  %s mask %s gateway %s\n", address, mask, gateway);
    }
  }
}

/* ktinfo md5 FILE: the file's digest in hexadecimal, read in blocks. */
static int RunMd5(const char *path) {
  static unsigned char block[1 << 16];
  MD5_CTX context;
  BYTE digest[16];
  size_t got;
  int i;
  FILE *file = fopen(path, "rb");
  if (file == NULL) {
    fprintf(stderr, "ktinfo: cannot open %s\n", path);
    return 1;
  }
  MD5Init(&context);
  while ((got = fread(block, 1, sizeof block, file)) > 0)
    MD5Update(&context, block, (UINT)got);
  if (ferror(file)) {
    fprintf(stderr, "ktinfo: cannot read %s\n", path);
    fclose(file);
    return 1;
  }
  fclose(file);
  MD5Final(digest, &context);
  for (i = 0; i < 16; ++i) printf("%02x", digest[i]);
  printf("  %s\n", path);
  return 0;
}

static BOOL KTAPI PrintStep(const HttpProgress *progress) {
  static const char *const names[] = {"", "connecting", "sending", "finished",
                                      "locating", "receiving"};
  if (progress->step == HTTP_STEP_FINISHED)
    printf("finished, %s\n", progress->result ? "completed" : "failed");
  else if (progress->step < 6)
    printf("%s %s:%lu %s\n", names[progress->step], progress->host,
           (unsigned long)progress->port, progress->target);
  fflush(stdout);
  return TRUE;
}

/* ktinfo get URL, ktinfo post URL BODY: status, length and digest of the
 * response body; a POST shows each step as it comes. */
static int RunHttp(const char *url, const char *body) {
  char copy[1024], scheme[KT_URLPART_SIZE], hostPort[KT_URLPART_SIZE], path[KT_URLPART_SIZE];
  char *colon;
  WORD port = 80;
  TextBuffer response = {0};
  int status = 0, i;
  BOOL done;
  MD5_CTX context;
  BYTE digest[16];
  strncpy0(copy, url, sizeof copy - 1); /* room for the blank the parser adds */
  scheme[0] = hostPort[0] = '\0';
  strcpy(path, "/");
  if (!ParseHTTPUrl(copy, scheme, hostPort, path) || strcmp(scheme, "http") != 0) {
    fprintf(stderr, "ktinfo: not an http:// URL: %s\n", url);
    return 2;
  }
  colon = strchr(hostPort, ':');
  if (colon != NULL) {
    *colon = '\0';
    port = (WORD)atoi(colon + 1);
  }
  done = body == NULL
             ? HttpGetEx(hostPort, port, path, &response, NULL, 0, &status, 0)
             : HttpPostFormEx(hostPort, port, path, body, (int)strlen(body), &response,
                              PrintStep, 0, &status, 0);
  if (!done) {
    fprintf(stderr, "ktinfo: request failed, error %lu\n", (unsigned long)GetLastError());
    free(response.data);
    return 1;
  }
  MD5Init(&context);
  MD5Update(&context, response.data, response.length);
  MD5Final(digest, &context);
  printf("status: %d\nlength: %lu\nmd5:    ", status, (unsigned long)response.length);
  for (i = 0; i < 16; ++i) printf("%02x", digest[i]);
  printf("\n");
  free(response.data);
  return 0;
}

/* ktinfo resolve NAME: every address the resolver gives for the name. */
static int RunResolve(const char *name) {
  DWORD addresses[64];
  char text[16];
  int count = NameToIPAddresses(name, addresses, 64);
  int i;
  if (count == 0) {
    fprintf(stderr, "ktinfo: cannot resolve %s\n", name);
    return 1;
  }
  for (i = 0; i < count; ++i) {
    IPAddrToStr(addresses[i], text, sizeof text);
    printf("%s\n", text);
  }
  return 0;
}

/* A 32-bit setting, or "(not set)": two different defaults both coming
 * back means nothing is stored. */
static void PrintDWordSetting(const char *label, const char *subKey, const char *name) {
  DWORD a = GetRegistryValueDWord(HKEY_LOCAL_MACHINE, subKey, name, 0);
  DWORD b = GetRegistryValueDWord(HKEY_LOCAL_MACHINE, subKey, name, 1);
  if (a == 0 && b == 1)
    printf("%-18s (not set)\n", label);
  else
    printf("%-18s %lu\n", label, (unsigned long)a);
}

static void PrintTextSetting(const char *label, const char *subKey, const char *name) {
  char text[262];
  /* The scrambled reader also reads plain texts. */
  if (GetRegistryValueStringEnc(HKEY_LOCAL_MACHINE, subKey, name, text, sizeof text))
    printf("%-18s \"%s\"\n", label, text);
  else
    printf("%-18s (not set)\n", label);
}

static void PrintProductSettings(void) {
  Section("Product settings");
  PrintDWordSetting("DebugFlags:", "Software\\Tessaly\\Monitor", "DebugFlags");
  PrintTextSetting("DebugLogFile:", "Software\\Tessaly\\Monitor", "DebugLogFile");
  PrintDWordSetting("HttpProxyEnabled:", "Software\\Tessaly", "HttpProxyEnabled");
  PrintTextSetting("HttpProxyServer:", "Software\\Tessaly", "HttpProxyServer");
  PrintDWordSetting("HttpProxyPort:", "Software\\Tessaly", "HttpProxyPort");
  PrintTextSetting("HU100:", "Software\\Tessaly", "HU100");
}

static void PrintUser(void) {
  char id[512];
  HANDLE self = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId());
  Section("User");
  GetCanonicalUserID(self, id, sizeof id);
  if (self != NULL) CloseHandle(self);
  printf("Canonical id:  %s\n", id);
  printf("Administrator: %s\n", IsAdmin() ? "yes" : "no");
}

/* ktinfo report: the system report, as the product shows it. */
static int RunReport(void) {
  TextBuffer report = {NULL, 0, 0};
  GetSystemReport(&report);
  printf("%s\n", report.data != NULL ? report.data : "");
  free(report.data);
  return 0;
}

/* ktinfo appinfo FILE: every field GetAppInfo fills. */
static int RunAppInfo(const char *path) {
  static const char *const kStatus[] = {"not trusted", "trusted", "cannot tell"};
  AppInfo info;
  SYSTEMTIME written;
  int i;
  memset(&info, 0, sizeof info);
  info.size = sizeof info;
  GetAppInfo(path, 0xFFFFFFFFu, &info);
  printf("description:       %s\n", info.description);
  printf("long path:         %s\n", info.longPath);
  printf("product version:   %s\n", info.productVersion);
  printf("file version:      %s\n", info.fileVersion);
  printf("product name:      %s\n", info.productName);
  printf("company:           %s\n", info.company);
  printf("internal name:     %s\n", info.internalName);
  printf("original name:     %s\n", info.originalName);
  printf("copyright:         %s\n", info.copyright);
  printf("trademarks:        %s\n", info.trademarks);
  printf("language:          %s\n", info.language);
  /* The file time is kept as the file system gives it, so shown unconverted. */
  if (DateTimeToSystemTime(info.fileTime, &written))
    printf("file time:         %04u-%02u-%02u %02u:%02u:%02u\n", written.wYear,
           written.wMonth, written.wDay, written.wHour, written.wMinute, written.wSecond);
  else
    printf("file time:         (unknown)\n");
  printf("file size:         %lu\n", (unsigned long)info.fileSize);
  printf("checksum:          %08lx\n", (unsigned long)info.checksum);
  printf("digest:            ");
  for (i = 0; i < 16; ++i) printf("%02x", info.digest[i]);
  printf("\nsignature:         %s\n",
         info.signatureStatus < 3 ? kStatus[info.signatureStatus] : "?");
  return 0;
}

/* The controls made for real, in a hidden window: the classes registered at
 * load, the height a gauge gives itself, where a layout bar lands. */
static void PrintControls(void) {
  HWND frame, gauge, bar;
  RECT r = {0, 0, 404, 300}, placed = {0, 0, 0, 0};
  WNDCLASSA wc;
  Section("Window controls");
  printf("KTStripGraph class: %s\n",
         GetClassInfoA(NULL, KT_STRIPGRAPH_CLASS, &wc) ? "registered" : "missing");
  printf("KTBarGauge class:   %s\n",
         GetClassInfoA(NULL, KT_BARGAUGE_CLASS, &wc) ? "registered" : "missing");
  frame = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 404, 300, NULL, NULL, NULL,
                          NULL);
  gauge = CreateWindowExA(0, KT_BARGAUGE_CLASS, "", WS_CHILD, 0, 0, 100, 10, frame, NULL,
                          NULL, NULL);
  bar = CreateLayoutBar(frame, 0, 500, 4, COLOR_BTNFACE, 1);
  SizeLayoutBar(bar, r, &placed);
  GetWindowRect(gauge, &r);
  printf("bar gauge height:   %ld pixels\n", (long)(r.bottom - r.top));
  printf("layout bar:         x %ld to %ld of 0 to 404, %u permille\n", (long)placed.left,
         (long)placed.right, GetLayoutBarPermille(bar));
  DestroyWindow(frame);
}

static void PrintPrintingAndHelpers(void) {
  char text[512];
  LPVOID block = NULL;
  DWORD size = 0, hash = 0;
  Section("Printing and helpers");
  GetPrintInfoString(NULL, text, sizeof text);
  printf("footer line: %s\n", text);
  if (GetIconData(LoadIconA(NULL, IDI_APPLICATION), &block, &size, &hash))
    printf("icon block:  %lu bytes, key %08lx\n", (unsigned long)size, (unsigned long)hash);
  else
    printf("icon block:  (not made)\n");
  FreeIconData(block);
  printf("GUI font:    %s\n", GetDefaultGUIFont() != NULL ? "DEFAULT_GUI_FONT" : "(none)");
}

/* Ids of this process's threads other than the caller, at most max. */
static int OtherThreads(DWORD *ids, int max) {
  THREADENTRY32 entry;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  int count = 0;
  entry.dwSize = sizeof entry;
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  for (BOOL more = Thread32First(snapshot, &entry); more && count < max;
       more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId() &&
        entry.th32ThreadID != GetCurrentThreadId())
      ids[count++] = entry.th32ThreadID;
  CloseHandle(snapshot);
  return count;
}

/* ktinfo update PRODUCT [--background] [--always]: one update check, as the
 * product's programs make it; a background check is waited for (its
 * thread is the one new here). Then the offer the product has stored. */
static int RunUpdate(int argc, char **argv) {
  DWORD flags = 0, before[64], after[64];
  int i, j, known = OtherThreads(before, 64), now;
  char key[300];
  for (i = 3; i < argc; ++i) {
    if (strcmp(argv[i], "--background") == 0) {
      flags |= CHECKUPDATE_BACKGROUND;
    } else if (strcmp(argv[i], "--always") == 0) {
      flags |= CHECKUPDATE_ALWAYS;
    } else {
      fprintf(stderr, "usage: ktinfo update PRODUCT [--background] [--always]\n");
      return 2;
    }
  }
  printf("CheckForUpdate: %lu\n", (unsigned long)CheckForUpdate(NULL, argv[2], flags));
  fflush(stdout);
  now = OtherThreads(after, 64);
  for (i = 0; i < now; ++i) {
    HANDLE thread;
    for (j = 0; j < known && before[j] != after[i]; ++j) continue;
    if (j < known || (thread = OpenThread(SYNCHRONIZE, FALSE, after[i])) == NULL) continue;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  wsnprintf(key, sizeof key, "Software\\Tessaly\\%s", argv[2]);
  PrintTextSetting("CurrentVersion:", key, "CurrentVersion");
  PrintTextSetting("UpdateAction:", key, "UpdateAction");
  PrintTextSetting("UpdateNotice:", key, "UpdateNotice");
  PrintDWordSetting("UpdateReminder:", key, "UpdateReminder");
  return 0;
}

int main(int argc, char **argv) {
  if (argc == 3 && strcmp(argv[1], "md5") == 0) return RunMd5(argv[2]);
  if (argc == 3 && strcmp(argv[1], "resolve") == 0) return RunResolve(argv[2]);
  if (argc == 3 && strcmp(argv[1], "get") == 0) return RunHttp(argv[2], NULL);
  if (argc == 4 && strcmp(argv[1], "post") == 0) return RunHttp(argv[2], argv[3]);
  if (argc == 2 && strcmp(argv[1], "report") == 0) return RunReport();
  if (argc == 3 && strcmp(argv[1], "appinfo") == 0) return RunAppInfo(argv[2]);
  if (argc >= 3 && strcmp(argv[1], "update") == 0) return RunUpdate(argc, argv);
  if (argc > 1) {
    fprintf(stderr, "usage: ktinfo [md5 FILE | resolve NAME | get URL | post URL BODY |\n"
                    "               report | appinfo FILE |\n"
                    "               update PRODUCT [--background] [--always]]\n");
    return 2;
  }
  printf("ktinfo: what ktutil.dll reports about this machine\n");
  PrintPlatform();
  PrintFormatting();
  PrintNetworkText();
  PrintDateTime();
  PrintSystem();
  PrintProductSettings();
  PrintUser();
  PrintControls();
  PrintPrintingAndHelpers();
  PrintNetworkCards();
  PrintAdapters();
  /* Each subsystem adds its section here. */
  return 0;
}
