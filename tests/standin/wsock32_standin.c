/* Stand-in for WSOCK32.DLL in the 95 and 98 poses: WsControl passes the TCP
 * query on to the stand-in TCP driver, marked as coming this way; every other
 * export is forwarded to ws2_32 (see the .def file). */
#include <windows.h>

#include "tcp_script.h"

/* The tests look for this export to know which WSOCK32.DLL they have. */
DWORD WINAPI KtStandInMarker(void) { return 1; }

/* A reply longer than the room is cut to it. */
DWORD WINAPI WsControl(DWORD protocol, DWORD action, LPVOID request,
                       LPDWORD requestLength, LPVOID reply, LPDWORD replyLength) {
  HANDLE device;
  DWORD got = 0;
  BOOL answered;
  if (protocol != 6 || action != 0) return ERROR_INVALID_PARAMETER;
  DefineDosDeviceA(DDD_RAW_TARGET_PATH, "Tcp", "\\Device\\Tcp");
  device = CreateFileA("\\\\.\\Tcp", 0, 0, NULL, OPEN_EXISTING, 0, NULL);
  if (device == INVALID_HANDLE_VALUE) return ERROR_NOT_READY;
  answered = DeviceIoControl(device, KT_QUERY_WSCONTROL, request, *requestLength, reply,
                             *replyLength, &got, NULL) ||
             GetLastError() == ERROR_MORE_DATA;
  CloseHandle(device);
  *replyLength = got;
  return answered ? 0 : ERROR_INVALID_PARAMETER;
}
