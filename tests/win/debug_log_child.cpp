// Makes debug-log and counter calls in a fresh process (the log settings are
// read once per process), for tests that watch it as its debugger.
//   p CATEGORY TEXT        DbgPrintf(CATEGORY, TEXT, 42)
//   s FLAGS FILE|- SAVE    DbgSetLog
//   d PATH                 make a directory
//   t NAME|-               PS_Init, one event, PS_EventEnd(NAME)
// The exit code counts the calls that answered 0.
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "ktutil.h"

int main(int argc, char **argv) {
  int failures = 0;
  auto number = [&](int i) { return static_cast<DWORD>(strtoul(argv[i], nullptr, 0)); };
  auto name = [&](int i) { return strcmp(argv[i], "-") == 0 ? nullptr : argv[i]; };
  for (int i = 1; i < argc; ++i) {
    char op = argv[i][0];
    if (op == 'p' && i + 2 < argc) {
      DbgPrintf(number(i + 1), argv[i + 2], 42);
      i += 2;
    } else if (op == 's' && i + 3 < argc) {
      failures += !DbgSetLog(number(i + 1), name(i + 2), number(i + 3), 0);
      i += 3;
    } else if (op == 'd' && i + 1 < argc) {
      CreateDirectoryA(argv[++i], nullptr);
    } else if (op == 't' && i + 1 < argc) {
      PerfCounter counter;
      failures += !PS_Init(&counter) || !PS_EventStart(&counter) ||
                  !PS_EventEnd(&counter, name(++i));
    } else {
      return 100;
    }
  }
  return failures;
}
