/* Stand-in for the service's monitor API "ktmonapi.dll": a service that keeps
 * a password and grants a logon the rights at once while none is set, or once
 * the right one is presented. It logs every call into the state the test
 * program exports. KT_MONITOR_PARTIAL leaves one entry out. */
#include <windows.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "monitor_standin.h"

/* Pointer-sized with high bits where they exist: a handle squeezed into 32
 * bits logs as "?". */
#define LOGON ((UINT_PTR)0x7E57AB1E << (sizeof(UINT_PTR) * 4) | 1)
#define HANDLE_TEXT(logon) ((logon) == LOGON ? "H" : (logon) != 0 ? "?" : "0")
#define EXPORT __declspec(dllexport)

static KtMonitorState *State(void) {
  return (KtMonitorState *)GetProcAddress(GetModuleHandleA(NULL), "ktMonitorState");
}

static void Log(const char *format, ...) {
  char *log = State()->log;
  va_list args;
  va_start(args, format);
  vsnprintf(log + strlen(log), sizeof State()->log - strlen(log), format, args);
  va_end(args);
}

EXPORT UINT_PTR WINAPI MonitorLogon(const BYTE *record, DWORD flags) {
  Log("Logon(%lx) ", flags);
  if (State()->crash) *(volatile int *)0 = 0;
  memcpy(State()->record, record, sizeof State()->record);
  State()->rights = State()->password[0] == '\0';
  return State()->failLogon ? 0 : LOGON;
}

EXPORT void WINAPI MonitorLogoff(UINT_PTR logon) {
  Log("Logoff(%s) ", HANDLE_TEXT(logon));
}

EXPORT DWORD WINAPI MonitorGetDWordValue(UINT_PTR logon, DWORD id) {
  const int value = id == 0x8077 && State()->rights;
  Log("Get(%s,%lx)=%d ", HANDLE_TEXT(logon), id, value);
  return value;
}

EXPORT DWORD WINAPI MonitorSetDWordValue(UINT_PTR logon, DWORD id, DWORD value) {
  Log("SetDWord(%s,%lx,%lu) ", HANDLE_TEXT(logon), id, value);
  return 1;
}

/* 0x4044 presents the password, 0x4043 replaces it (NULL or "": none). */
EXPORT DWORD WINAPI MonitorSetCharValue(UINT_PTR logon, DWORD id, const char *text) {
  KtMonitorState *state = State();
  Log("SetChar(%s,%lx,%s) ", HANDLE_TEXT(logon), id, text != NULL ? text : "NULL");
  if (id == 0x4044) return strcmp(text, state->password) == 0 ? state->rights = 1 : 0;
  if (id != 0x4043 || !state->rights) return 0;
  snprintf(state->password, sizeof state->password, "%s", text != NULL ? text : "");
  return 1;
}

/* Never called, but required. */
EXPORT void WINAPI MonitorAddEventHandler(void) { Log("AddEventHandler "); }
#ifndef KT_MONITOR_PARTIAL
EXPORT void WINAPI MonitorEnableAsyncCallback(void) { Log("EnableAsyncCallback "); }
#endif
