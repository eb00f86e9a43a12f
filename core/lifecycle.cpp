// Loading and unloading: the attach and detach steps, in their fixed order.
#include "lifecycle.h"

#include <winsock.h>

#include "attach_steps.h"
#include "datetime/base.h"

namespace kt {
namespace {

HINSTANCE g_module = nullptr;
DWORD g_attachCount = 0;
HDC g_screenDC = nullptr;
// Each successful start at attach is matched by one clean-up at detach.
int g_socketStarts = 0;

}  // namespace

HINSTANCE ModuleHandle() { return g_module; }
HDC ScreenDC() { return g_screenDC; }
DWORD AttachCount() { return g_attachCount; }

void Attach(HINSTANCE module) {
  if (g_module == nullptr) g_module = module;
  if (g_attachCount == 0) StartDateTimeBase();
  if (g_screenDC == nullptr) g_screenDC = GetDC(nullptr);
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(1, 1), &wsa) == 0) ++g_socketStarts;
  RegisterBarGaugeClass();
  RegisterStripGraphClass();
  StartNetReport();
  BindTrustVerification();
  // No step may fail the load: everything above degrades to "not there".
  ++g_attachCount;
}

void Detach() {
  if (g_attachCount > 0) --g_attachCount;
  if (g_attachCount == 0) StopDateTimeBase();
  for (; g_socketStarts > 0; --g_socketStarts) WSACleanup();
  StopNetReport();
  // The window classes stay registered until the process ends.
  if (g_screenDC != nullptr) {
    ReleaseDC(nullptr, g_screenDC);
    g_screenDC = nullptr;
  }
  ForgetTrustVerification();
}

}  // namespace kt
