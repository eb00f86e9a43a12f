/* ktinfo: loads ktutil.dll and prints what the library can tell about this
 * machine. Written in C, so it also proves the public header is C. */
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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

int main(int argc, char **argv) {
  if (argc == 3 && strcmp(argv[1], "md5") == 0) return RunMd5(argv[2]);
  if (argc == 3 && strcmp(argv[1], "resolve") == 0) return RunResolve(argv[2]);
  if (argc > 1) {
    fprintf(stderr, "usage: ktinfo [md5 FILE | resolve NAME]\n");
    return 2;
  }
  printf("ktinfo: what ktutil.dll reports about this machine\n");
  PrintPlatform();
  PrintFormatting();
  PrintNetworkText();
  PrintDateTime();
  PrintSystem();
  PrintProductSettings();
  PrintNetworkCards();
  PrintAdapters();
  /* Each subsystem adds its section here. */
  return 0;
}
