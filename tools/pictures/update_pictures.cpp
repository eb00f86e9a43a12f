// Writes PNG pictures of the update agent's dialogs, as a user sees them,
// into the folder given: the progress of a check (held open by a slow
// update server) and the offer of an update. Runs beside the tests' update
// server (tests/servers/update_scripts.py), reached through the product's
// proxy values, which it sets and removes again.
//
//   update_pictures FOLDER     (KT_ORIGIN_PORT names the server's port)
#include <windows.h>
// The image library's header needs the platform's first.
#include <gdiplus.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <thread>

#include "ktutil.h"

namespace {

const char kTessaly[] = "Software\\Tessaly", kProduct[] = "Tessaly Firewall";
const char kProductKey[] = "Software\\Tessaly\\Tessaly Firewall";

HWND WaitForWindow(const char *title) {
  for (int i = 0; i < 3000; ++i, Sleep(10))
    if (HWND window = FindWindowA(nullptr, title))
      if (IsWindowVisible(window)) return window;
  return nullptr;
}

// The window as the screen shows it, frame included.
bool SavePicture(HWND window, const std::string &path) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(300);
  const bool printed =
      BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
  SelectObject(memory, old);
  // The PNG encoder of the platform's image library.
  static const CLSID kPng = {
      0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  Gdiplus::GpBitmap *image = nullptr;
  std::wstring wide(path.begin(), path.end());
  const bool saved = printed &&
                     Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(
                         bitmap, nullptr, &image) == Gdiplus::Ok &&
                     Gdiplus::DllExports::GdipSaveImageToFile(image, wide.c_str(), &kPng,
                                                              nullptr) == Gdiplus::Ok;
  if (image != nullptr) Gdiplus::DllExports::GdipDisposeImage(image);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  printf("%s %s\n", saved ? "wrote" : "could not write", path.c_str());
  return saved;
}

// Pictures the window titled title once its text (control id) reads
// until, then presses button.
bool Picture(const char *title, int id, const char *until, const std::string &path,
             int button) {
  HWND window = WaitForWindow(title);
  char text[512] = "";
  for (int i = 0; window && i < 1000 && !strstr(text, until); ++i, Sleep(10))
    GetDlgItemTextA(window, id, text, sizeof text);
  const bool saved = window != nullptr && SavePicture(window, path);
  if (window != nullptr) SendDlgItemMessageA(window, button, BM_CLICK, 0, 0);
  return saved;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2 || getenv("KT_ORIGIN_PORT") == nullptr) {
    fprintf(stderr, "usage: update_pictures FOLDER (beside the tests' update server)\n");
    return 2;
  }
  const std::string folder = argv[1];
  Gdiplus::GdiplusStartupInput startup;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &startup, nullptr);
  SetRegistryValueDWord(HKEY_LOCAL_MACHINE, kTessaly, "HttpProxyEnabled", 1);
  SetRegistryValueString(HKEY_LOCAL_MACHINE, kTessaly, "HttpProxyServer", "127.0.0.1");
  SetRegistryValueDWord(HKEY_LOCAL_MACHINE, kTessaly, "HttpProxyPort",
                        atoi(getenv("KT_ORIGIN_PORT")));

  bool saved = true;
  // The server takes its time answering "slow": the dialog waits for it.
  SetRegistryValueString(HKEY_LOCAL_MACHINE, kProductKey, "CurrentVersion", "slow");
  std::thread progress([&] {
    saved &= Picture("Checking for upgrade", 1003, "Receiving", folder + "\\progress.png",
                     IDCANCEL);
  });
  CheckForUpdate(nullptr, kProduct, 0);
  progress.join();
  // The cancelled check runs on until the server answers; a background
  // check with the offer put off for ever starts nothing and says when.
  SetRegistryValueString(HKEY_LOCAL_MACHINE, kProductKey, "UpdateAction", "x");
  SetRegistryValueDWord(HKEY_LOCAL_MACHINE, kProductKey, "UpdateReminder", 0);
  while (!CheckForUpdate(nullptr, kProduct, 0x40)) Sleep(50);

  SetRegistryValueString(HKEY_LOCAL_MACHINE, kProductKey, "CurrentVersion", "yes");
  std::thread offer([&] {
    saved &= Picture("Tessaly Firewall Update Agent", 1000, "Version",
                     folder + "\\offer.png", 104);
  });
  CheckForUpdate(nullptr, kProduct, 0);
  offer.join();

  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
  for (const char *name : {"HttpProxyEnabled", "HttpProxyServer", "HttpProxyPort"})
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kTessaly, name);
  Gdiplus::GdiplusShutdown(token);
  return saved ? 0 : 1;
}
