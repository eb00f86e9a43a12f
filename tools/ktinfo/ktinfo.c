/* ktinfo: loads ktutil.dll and prints what the library can tell about this
 * machine. Written in C, so it also proves the public header is C. */
#include <stdio.h>
#include <string.h>

#include "ktutil.h"

static void Section(const char *title) { printf("\n[%s]\n", title); }

static void PrintPlatform(void) {
  Section("Platform");
  printf("NT family:            %lu\n", (unsigned long)IsWinNT());
  printf("Windows 2000 or later: %lu\n", (unsigned long)IsWin2K());
  printf("Processors:           %lu\n", (unsigned long)GetProcessorCount());
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

int main(void) {
  printf("ktinfo: what ktutil.dll reports about this machine\n");
  PrintPlatform();
  PrintFormatting();
  /* Each subsystem adds its section here. */
  return 0;
}
