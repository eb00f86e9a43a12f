// The small window helpers: height, default font, flashing, the system
// error box and the date-time picker's packed value.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>

#include "ktutil.h"
#include "support/kt_test_support.h"

namespace {

std::string g_captions;  // "1" or "0" per caption drawn active or not
LRESULT CALLBACK Caption(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCACTIVATE) g_captions += w ? "1" : "0";
  return DefWindowProcA(window, message, w, l);
}

TEST(WindowHelpers, HeightFontFlashingAndTheSystemErrorBox) {
  HWND window = CreateWindowA("STATIC", "", WS_POPUP, 10, 20, 100, 50, 0, 0, 0, 0);
  RECT r;
  EXPECT_TRUE(SetWindowHeight(window, 77));
  GetWindowRect(window, &r);
  EXPECT_EQ(std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top),
            "10,20 100x77");
  EXPECT_EQ(GetDefaultGUIFont(), GetStockObject(DEFAULT_GUI_FONT));
  // Centred on the work area, halves rounded down.
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_TRUE(CenterWindow(window));
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left * 10000 + r.top, ((work.left + work.right) / 2 - 50) * 10000 +
                                        (work.top + work.bottom) / 2 - 77 / 2);

  // The caption alternates at the caret's blink rate until stopped.
  SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(Caption));
  const UINT blink = GetCaretBlinkTime();
  SetCaretBlinkTime(40);
  EXPECT_EQ(EnableFlashWindow(nullptr, FALSE), 0);  // nothing flashing
  EnableFlashWindow(window, TRUE);
  for (DWORD end = GetTickCount() + 300; GetTickCount() < end; Sleep(5))
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&msg);
  const std::string flashed = g_captions;
  EXPECT_GE(flashed.size(), 4u) << flashed;
  EXPECT_EQ(flashed.substr(0, 4), "1010") << flashed;
  EXPECT_TRUE(flashed.find("11") == flashed.npos && flashed.find("00") == flashed.npos);
  // Stopping kills the timer and draws the caption as it is: inactive.
  EXPECT_TRUE(EnableFlashWindow(nullptr, FALSE));
  for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&msg);
  EXPECT_EQ(g_captions, flashed + "0");
  EXPECT_EQ(EnableFlashWindow(nullptr, FALSE), 0);
  SetCaretBlinkTime(blink);
  DestroyWindow(window);

  // The system's text under the library's caption, answered by the user.
  char want[512], caption[128];
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 ERROR_FILE_NOT_FOUND, 0, want, sizeof want, nullptr);
  LoadStringA(kttest::KtModule(), 27, caption, sizeof caption);
  std::string seen;
  std::thread user([&] {
    HWND box = nullptr;
    for (int i = 0; i < 1000 && !(box = FindWindowA("#32770", caption)); ++i) Sleep(5);
    char text[512] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    seen = text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  ShowSystemError(nullptr, ERROR_FILE_NOT_FOUND);
  user.join();
  EXPECT_EQ(seen, want);
}

TEST(WindowHelpers, DatePickerTakesAndGivesTheValueAsStored) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_DATE_CLASSES};
  InitCommonControlsEx(&classes);
  HWND picker = CreateWindowA(DATETIMEPICK_CLASSA, "", WS_POPUP | DTS_SHOWNONE, 0, 0, 200,
                              24, 0, 0, 0, 0);
  SYSTEMTIME st = {2031, 12, 0, 31, 23, 59, 0, 0}, got = {};
  const DateTime value = SystemTimeToDateTime(&st);
  EXPECT_EQ(DateTime_SetDateTime(picker, value), TRUE);
  EXPECT_EQ(SendMessageA(picker, DTM_GETSYSTEMTIME, 0, LPARAM(&got)), GDT_VALID);
  EXPECT_EQ(got.wYear * 100000000LL + got.wMonth * 1000000 + got.wDay * 10000 +
                got.wHour * 100 + got.wMinute,
            203112312359LL);  // no conversion to or from local time
  EXPECT_EQ(DateTime_GetDateTime(picker), value);
  SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_NONE, LPARAM(&st));  // check box cleared
  EXPECT_EQ(DateTime_GetDateTime(picker), DateTime(0));
  DestroyWindow(picker);
}

}  // namespace
