// The debug log: category-masked messages to the debugger output and/or an
// appended file, switched by registry values read once per process.
#include <stdio.h>

#include "config/reg_key.h"
#include "config/registry_values.h"
#include "format.h"
#include "ktutil.h"

namespace {

constexpr char kMonitorKey[] = "Software\\Tessaly\\Monitor";
constexpr int kMessageSize = 1024;
constexpr int kFileNameSize = MAX_PATH + 1;

// Callers serialise DbgSetLog against logging; nothing here takes a lock.
struct LogSettings {
  bool read = false;
  DWORD flags = 0;
  char fileName[kFileNameSize] = {};
  FILE *file = nullptr;
} g_log;

void ReadSettingsOnce() {
  if (g_log.read) return;
  // Marked read even when the key is missing: the registry is asked once.
  g_log.read = true;
  kt::RegKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, kMonitorKey, KEY_READ) != ERROR_SUCCESS) return;
  g_log.flags = kt::ReadRegDword(key.get(), "DebugFlags", 0);
  if (!kt::ReadRegString(key.get(), "DebugLogFile", g_log.fileName, kFileNameSize))
    g_log.fileName[0] = '\0';
}

void CloseLogFile() {
  if (g_log.file != nullptr) fclose(g_log.file);
  g_log.file = nullptr;
}

void Output(const char *text) {
  if (g_log.flags & 1) OutputDebugStringA(text);
  if (g_log.fileName[0] == '\0') return;
  // A file that cannot be opened now is tried again with the next message.
  if (g_log.file == nullptr) g_log.file = fopen(g_log.fileName, "a");
  if (g_log.file == nullptr) return;
  fputs(text, g_log.file);
  // Each message reaches the disk before the call returns: the process may die next.
  fflush(g_log.file);
}

}  // namespace

extern "C" void KTAPI DbgPrintf(DWORD category, LPCSTR format, ...) {
  ReadSettingsOnce();
  if ((category & g_log.flags) == 0) return;
  char text[kMessageSize];
  va_list args;
  va_start(args, format);
  kt::BoundedFormat(text, sizeof text, format, args);
  va_end(args);
  Output(text);
}

extern "C" BOOL KTAPI DbgSetLog(DWORD flags, LPCSTR logFileName, BOOL saveToRegistry,
                                UINT_PTR) {
  // The settings-read mark stays as it is: before the first message the
  // registry still has the last word.
  CloseLogFile();
  g_log.flags = flags;
  strncpy0(g_log.fileName, logFileName != nullptr ? logFileName : "", kFileNameSize);
  if (!saveToRegistry) return TRUE;
  kt::RegKey key;
  if (key.Create(HKEY_LOCAL_MACHINE, kMonitorKey) != ERROR_SUCCESS) return FALSE;
  kt::WriteRegDword(key.get(), "DebugFlags", flags);
  if (logFileName != nullptr)
    kt::WriteRegString(key.get(), "DebugLogFile", logFileName);
  else
    RegDeleteValueA(key.get(), "DebugLogFile");
  return TRUE;
}
