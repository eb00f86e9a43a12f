/* Stand-in for the NT family's TCP driver, which Wine lacks: creates
 * \Device\Tcp and answers queries from the reply script the tests give it,
 * logging each. It lives as long as the Wine server, so the script and log
 * stay between the programs of a run; each test sets its own. */
#include <ntddk.h>

#include "tcp_script.h"

static UCHAR g_script[65536];
static ULONG g_scriptSize, g_logCount;
static KtLogEntry g_log[512];
static PDEVICE_OBJECT g_device;

/* Logs the query and answers it from the script; a reply longer than the
 * room is cut to it, with the overflow status, as the real driver does. */
static NTSTATUS Query(ULONG code, const UCHAR *request, ULONG length, UCHAR *reply,
                      ULONG room, ULONG_PTR *written) {
  ULONG at = 0;
  if (g_logCount < sizeof g_log / sizeof g_log[0]) {
    KtLogEntry *entry = &g_log[g_logCount++];
    RtlZeroMemory(entry, sizeof *entry);
    entry->code = code;
    entry->requestLength = length;
    entry->replyRoom = room;
    RtlCopyMemory(entry->request, request, length < 40 ? length : 40);
  }
  while (length >= 20 && g_scriptSize - at >= sizeof(KtScriptRecord)) {
    const KtScriptRecord *r = (const KtScriptRecord *)(g_script + at);
    at += sizeof *r;
    if (r->length > g_scriptSize - at) break;
    if (RtlCompareMemory(r, request, 20) == 20) {
      *written = r->length < room ? r->length : room;
      RtlCopyMemory(reply, g_script + at, *written);
      return r->length > room ? STATUS_BUFFER_OVERFLOW : STATUS_SUCCESS;
    }
    at += r->length;
  }
  return STATUS_INVALID_PARAMETER;
}

static NTSTATUS WINAPI Dispatch(DEVICE_OBJECT *device, IRP *irp) {
  IO_STACK_LOCATION *stack = IoGetCurrentIrpStackLocation(irp);
  const ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
  const ULONG inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
  const ULONG room = stack->Parameters.DeviceIoControl.OutputBufferLength;
  const UCHAR *in = stack->Parameters.DeviceIoControl.Type3InputBuffer;
  NTSTATUS status = STATUS_SUCCESS;
  ULONG_PTR written = 0;
  (void)device;
  if (stack->MajorFunction != IRP_MJ_DEVICE_CONTROL) {
  } else if (code == KT_SET_SCRIPT) {
    g_scriptSize = inLength < sizeof g_script ? inLength : sizeof g_script;
    RtlCopyMemory(g_script, in, g_scriptSize);
    g_logCount = 0;
  } else if (code == KT_GET_LOG) {
    written = g_logCount * sizeof(KtLogEntry);
    if (written > room) written = room;
    RtlCopyMemory(irp->UserBuffer, g_log, written);
  } else if (code == KT_QUERY_NT || code == KT_QUERY_WSCONTROL) {
    status = Query(code, in, inLength, irp->UserBuffer, room, &written);
  } else {
    status = STATUS_INVALID_DEVICE_REQUEST;
  }
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = written;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

static void WINAPI Unload(DRIVER_OBJECT *driver) {
  (void)driver;
  IoDeleteDevice(g_device);
}

NTSTATUS WINAPI DriverEntry(DRIVER_OBJECT *driver, UNICODE_STRING *registryPath) {
  UNICODE_STRING name = RTL_CONSTANT_STRING(L"\\Device\\Tcp");
  NTSTATUS status =
      IoCreateDevice(driver, 0, &name, FILE_DEVICE_NETWORK, 0, FALSE, &g_device);
  (void)registryPath;
  if (!NT_SUCCESS(status)) return status;
  driver->MajorFunction[IRP_MJ_CREATE] = Dispatch;
  driver->MajorFunction[IRP_MJ_CLOSE] = Dispatch;
  driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = Dispatch;
  driver->DriverUnload = Unload;
  return STATUS_SUCCESS;
}
