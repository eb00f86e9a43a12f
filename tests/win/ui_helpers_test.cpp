// Icon blocks, delayed messages, boxes on their own thread, the tooltip
// painter and the control wrappers, on real windows and controls.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <richedit.h>

#include <tuple>

#include "support/kt_test_support.h"
#include "win_helpers.h"

namespace {

HWND Window(const char *cls, const char *text, DWORD style = WS_POPUP, HWND parent = 0) {
  return CreateWindowExA(0, cls, text, style, 0, 0, 300, 60, parent, 0, 0, 0);
}

// The icon's block, checking its hash on the way; empty when refused.
std::vector<BYTE> Block(HICON icon) {
  LPVOID block = nullptr;
  DWORD size = 0, hash = 0;
  if (!GetIconData(icon, &block, &size, &hash)) return {};
  std::vector<BYTE> bytes(static_cast<BYTE *>(block), static_cast<BYTE *>(block) + size);
  FreeIconData(block);
  EXPECT_GE(hash, 512u);
  return bytes;
}

TEST(IconData, RoundTripsThroughTheFixedPaletteInBothLayoutsAndRefusesLies) {
  for (DWORD size : {16u, 32u, 48u, 13u}) {
    // Red 0x34, green 0x65, blue 0x98: the nearest entry is 36 * 1 + 6 * 2 + 3.
    const std::vector<DWORD> pixels(size * size, 0x346598), zeros(size * size);
    ICONINFO parts = {TRUE, 0, 0, CreateBitmap(size, size, 1, 1, zeros.data()),
                      CreateBitmap(size, size, 1, 32, pixels.data())};
    HICON icon = CreateIconIndirect(&parts);
    DeleteObject(parts.hbmColor), DeleteObject(parts.hbmMask);
    const std::vector<BYTE> block = Block(icon);
    const DWORD row = (size + 3) & ~3u, colour = size * row,
                mask = size * ((size + 15) / 16 * 2);
    ASSERT_EQ(block.size(), colour + mask + 48) << size;
    EXPECT_EQ(std::vector<DWORD>(reinterpret_cast<const DWORD *>(block.data()),
                                 reinterpret_cast<const DWORD *>(block.data()) + 7),
              std::vector<DWORD>({0x1001, colour, mask, size, size, size, size}));
    for (DWORD i = 0; i < colour; ++i)
      ASSERT_TRUE(i % row >= size || block[48 + i] == 51) << i;
    HICON copy = CreateIconFromIconData(block.data(), static_cast<DWORD>(block.size()));
    EXPECT_EQ(Block(copy), block) << size;
    for (DWORD wrong : {colour + mask + 47, colour + mask + 49})
      EXPECT_EQ(CreateIconFromIconData(block.data(), wrong), nullptr) << size;
    DestroyIcon(copy), DestroyIcon(icon);
  }
  // Monochrome icons are refused.
  const std::vector<BYTE> bits(2048, 0x5A);
  HICON mono = CreateIcon(nullptr, 16, 16, 1, 1, bits.data(), bits.data());
  LPVOID block = &block;
  EXPECT_FALSE(GetIconData(mono, &block, nullptr, nullptr) || block != &block);
  DestroyIcon(mono);
  // The older layout: two 24-byte bitmap records (type, width, height, bytes
  // per row, planes and bits per pixel, bits), then the bits they describe,
  // taken at their size only. Rows too short for the width are refused though
  // the sizes agree.
  const LONG mask[6] = {0, 16, 16, 2, 1 << 16 | 1};
  for (auto [rowBytes, given, made] : {std::tuple{64, 48 + 1024 + 32, true},
                                       {64, 48 + 1024 + 33, false},
                                       {4, 48 + 64 + 32, false}}) {
    const LONG colour[6] = {0, 16, 16, rowBytes, 32 << 16 | 1};
    std::vector<BYTE> old(bits);
    memcpy(old.data(), colour, 24), memcpy(old.data() + 24, mask, 24);
    HICON icon = CreateIconFromIconData(old.data(), given);
    EXPECT_EQ(Block(icon).size(), made ? 48 + 16 * 16 + 32u : 0u) << given;
    DestroyIcon(icon);
  }
}

TEST(LaterAnswers, TenDelayedMessagesWaitAndAnAsyncBoxEndsWithItsAnswer) {
  HWND window = Window("STATIC", "");
  const DWORD start = GetTickCount();
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(PostDelayedMessage(window, WM_APP, i, 0, 300));
  SetLastError(0);
  EXPECT_FALSE(PostDelayedMessage(window, WM_APP, 10, 0, 300));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_NOT_ENOUGH_MEMORY});
  MSG message;
  EXPECT_TRUE(PostDelayedMessage(window, WM_APP + 1, 0, 0, 0));
  EXPECT_TRUE(PeekMessageA(&message, window, WM_APP + 1, WM_APP + 1, PM_REMOVE));
  for (int arrived = 0; arrived < 10 && GetTickCount() - start < 5000; Sleep(5))
    for (; PeekMessageA(&message, window, WM_APP, WM_APP, PM_REMOVE); ++arrived)
      EXPECT_GE(GetTickCount() - start, 300u);
  EXPECT_TRUE(PostDelayedMessage(window, WM_APP, 0, 0, 1));  // every slot free again
  DestroyWindow(window);

  // A box on its own thread returns at once and ends with the answer.
  HANDLE thread = AsyncMessageBox(nullptr, "Allow ftp?", "kt async", MB_YESNO);
  HWND box = nullptr;
  for (int i = 0; i < 1000 && !(box = FindWindowA("#32770", "kt async")); ++i) Sleep(5);
  char text[64] = "";
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  EXPECT_STREQ(text, "Allow ftp?");
  PostMessageA(box, WM_COMMAND, IDNO, 0);
  DWORD result = 0;
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(GetExitCodeThread(thread, &result) && result == IDNO);
  CloseHandle(thread);
}

TEST(Painting, TooltipKeysLeftValuesRightAndWhatEachWrapperSetsReadsBack) {
  // A window that answers WM_GETFONT, with a font drawn in whole pixels.
  HWND window = Window("STATIC", "Process=ftp.exe\nPort\t21");
  HFONT bold = CreateFontA(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0,
                           NONANTIALIASED_QUALITY, 0, "Tahoma");
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
  BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), 300, -60, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                     {}};
  void *bits = nullptr;
  HBITMAP canvas = CreateDIBSection(nullptr, &info, 0, &bits, 0, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, canvas);
  HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  EXPECT_EQ(PaintTooltipTST(window, dc), font);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
  TEXTMETRICA metrics;
  SelectObject(dc, bold);
  GetTextMetricsA(dc, &metrics);
  // Which system colours each third (100 pixels) of both lines holds, as bits.
  const int line = metrics.tmHeight + 1, back = 1 << COLOR_INFOBK,
            key = 1 << COLOR_INFOTEXT, value = 1 << COLOR_HIGHLIGHT;
  std::vector<int> found(6);
  for (int y = 0; y < 2 * line; ++y)
    for (int x = 0; x < 300; ++x)
      for (int c : {COLOR_INFOBK, COLOR_INFOTEXT, COLOR_HIGHLIGHT})
        found[y / line * 3 + x / 100] |= (GetPixel(dc, x, y + 2) == GetSysColor(c)) << c;
  EXPECT_EQ(found, (std::vector<int>{back | key, back, back | value, back | key, back,
                                     back | value}));
  DeleteDC(dc), DeleteObject(canvas), DeleteObject(bold), DestroyWindow(window);

  // What each control wrapper sets reads back through the control.
  HWND parent = Window("STATIC", "");
  HWND combo = CBCreate(parent, GetModuleHandleA(nullptr), 7);
  EXPECT_TRUE(CBFindData(combo, 20) == -1 && CBSelectData(combo, 20) == -1);
  EXPECT_TRUE(CBAddItem(combo, "one", 10, -1) && CBAddItem(combo, "two", 20, 3));
  EXPECT_TRUE(CBInsertItem(combo, 0, "zero", 5, 1) &&
              CBAddItemRes(combo, kttest::KtModule(), 27, 30));
  COMBOBOXEXITEMA item = {};
  item.mask = CBEIF_LPARAM | CBEIF_IMAGE;
  std::string items;
  for (; SendMessageA(combo, CBEM_GETITEMA, 0, LPARAM(&item)); ++item.iItem)
    items += std::to_string(item.lParam) + " " + std::to_string(item.iImage) + ";";
  EXPECT_EQ(items, "5 1;10 0;20 3;30 0;");
  EXPECT_TRUE(CBSelectData(combo, 20) == 2 &&
              SendMessageA(combo, CB_GETCURSEL, 0, 0) == 2);
  // The band and tool records are of sizes the controls accept.
  HWND child = Window("BUTTON", "b", WS_CHILD, parent);
  EXPECT_TRUE(CoolBar_AddWindowBand(Window(REBARCLASSNAMEA, "", WS_CHILD, parent), child,
                                    42, 50, "Band"));
  EXPECT_TRUE(TTAddWindowTool(Window(TOOLTIPS_CLASSA, ""), child, parent));
  LoadLibraryA("riched20.dll");
  HWND rich = Window(RICHEDIT_CLASSA, "old", WS_CHILD | ES_MULTILINE, parent);
  char text[32] = "";
  SetRichEditText(rich, "{\\rtf1 plain \\b bold\\b0  text}");
  GetWindowTextA(rich, text, sizeof text);
  EXPECT_STREQ(text, "plain bold text");
  SetRichEditText(rich, nullptr);
  EXPECT_EQ(GetWindowTextLengthA(rich), 0);
  DestroyWindow(parent);
}

}  // namespace
