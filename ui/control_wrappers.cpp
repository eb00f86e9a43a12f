// Thin wrappers over the common controls and rich edit: each fills one
// record and sends one message.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <cstddef>
#include <cstring>

#include "ktutil.h"

namespace {

// The records as the oldest supported common controls know them.
constexpr UINT kBandSize = offsetof(REBARBANDINFOA, cxHeader) + sizeof(UINT);
constexpr UINT kToolSize = offsetof(TOOLINFOA, lParam) + sizeof(LPARAM);
#if defined(__i386__)
static_assert(kBandSize == 80 && kToolSize == 44, "the i686 record sizes");
#endif

BOOL InsertItem(HWND comboEx, INT_PTR index, LPCSTR text, LPARAM data, int image) {
  COMBOBOXEXITEMA item = {};
  item.mask = CBEIF_TEXT | CBEIF_LPARAM;
  item.iItem = index;
  item.pszText = const_cast<LPSTR>(text);
  item.lParam = data;
  if (image != -1) {
    item.mask |= CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item.iImage = item.iSelectedImage = image;
  }
  return SendMessageA(comboEx, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) != -1;
}

struct StreamSource {
  const char *text;
  size_t left;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG *given) {
  StreamSource *source = reinterpret_cast<StreamSource *>(cookie);
  const size_t count = source->left < static_cast<size_t>(wanted) ? source->left : wanted;
  memcpy(buffer, source->text, count);
  source->text += count;
  source->left -= count;
  *given = static_cast<LONG>(count);
  return 0;
}

}  // namespace

extern "C" LRESULT KTAPI CoolBar_AddWindowBand(HWND rebar, HWND child, UINT id, UINT minWidth,
                                               LPCSTR text) {
  RECT frame = {};
  GetWindowRect(child, &frame);
  REBARBANDINFOA band = {};
  band.cbSize = kBandSize;
  band.fMask = RBBIM_STYLE | RBBIM_COLORS | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID;
  band.fStyle = RBBS_FIXEDBMP;
  band.clrFore = GetSysColor(COLOR_BTNTEXT);
  band.clrBack = GetSysColor(COLOR_BTNFACE);
  band.hwndChild = child;
  band.cxMinChild = minWidth;
  band.cyMinChild = frame.bottom - frame.top;
  band.cx = frame.right - frame.left;
  band.wID = id;
  if (text != nullptr) {
    band.fMask |= RBBIM_TEXT;
    band.lpText = const_cast<LPSTR>(text);
  }
  return SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1),
                      reinterpret_cast<LPARAM>(&band));
}

extern "C" HWND KTAPI CBCreate(HWND parent, HINSTANCE instance, UINT id) {
  // The class is registered only once the common controls are asked for it.
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_USEREX_CLASSES};
  InitCommonControlsEx(&classes);
  return CreateWindowExA(0, WC_COMBOBOXEXA, nullptr,
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 0, 200, 200,
                         parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance,
                         nullptr);
}

extern "C" BOOL KTAPI CBAddItem(HWND comboEx, LPCSTR text, LPARAM data, int image) {
  return InsertItem(comboEx, -1, text, data, image);
}

extern "C" BOOL KTAPI CBInsertItem(HWND comboEx, int index, LPCSTR text, LPARAM data,
                                   int image) {
  return InsertItem(comboEx, index, text, data, image);
}

extern "C" BOOL KTAPI CBAddItemRes(HWND comboEx, HINSTANCE module, UINT stringId, LPARAM data) {
  char text[256];
  if (LoadStringA(module, stringId, text, sizeof text) <= 0) text[0] = '\0';
  return InsertItem(comboEx, -1, text, data, -1);
}

extern "C" int KTAPI CBFindData(HWND combo, LPARAM data) {
  const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    if (SendMessageA(combo, CB_GETITEMDATA, i, 0) == data) return i;
  return -1;
}

extern "C" int KTAPI CBSelectData(HWND combo, LPARAM data) {
  const int index = CBFindData(combo, data);
  return index < 0 ? -1 : static_cast<int>(SendMessageA(combo, CB_SETCURSEL, index, 0));
}

extern "C" LRESULT KTAPI TTAddWindowTool(HWND tooltip, HWND window, HWND owner) {
  TOOLINFOA tool = {};
  tool.cbSize = kToolSize;
  tool.uFlags = TTF_IDISHWND | TTF_CENTERTIP;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(window);
  tool.lpszText = LPSTR_TEXTCALLBACKA;
  return SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

extern "C" LRESULT KTAPI DateTime_SetDateTime(HWND picker, DateTime dt) {
  SYSTEMTIME time = {};
  DateTimeToSystemTime(dt, &time);
  return SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

extern "C" DateTime KTAPI DateTime_GetDateTime(HWND picker) {
  SYSTEMTIME time = {};
  if (SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID)
    return 0;
  return SystemTimeToDateTime(&time);
}

extern "C" LRESULT KTAPI SetRichEditText(HWND richEdit, LPCSTR text) {
  StreamSource source = {text != nullptr ? text : "", text != nullptr ? strlen(text) : 0};
  EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, ReadStream};
  return SendMessageA(richEdit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}
