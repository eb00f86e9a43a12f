// Real common-control windows made by the UI tests.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace kttest {

// A report-style list view with headings and their widths, whose items ask
// cell(item, column) for their texts (an owner-data list view: 100,000 items
// cost nothing to make). Destroyed with the object, which must stay put.
struct ListView {
  using Cells = std::function<std::string(int, int)>;
  HWND parent, hwnd;
  Cells cell;

  ListView(const std::vector<std::pair<std::string, int>> &columns, int items, Cells cells)
      : cell(std::move(cells)) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    WNDCLASSA owner = {};
    owner.lpfnWndProc = Answer;
    owner.lpszClassName = "KtListOwner";
    RegisterClassA(&owner);
    parent = CreateWindowExA(0, "KtListOwner", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                             nullptr, nullptr);
    SetWindowLongPtrA(parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    hwnd = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT | LVS_OWNERDATA, 0, 0, 640,
                           480, parent, nullptr, nullptr, nullptr);
    for (size_t i = 0; i < columns.size(); ++i) {
      LVCOLUMNA column = {};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.cx = columns[i].second;
      column.pszText = const_cast<char *>(columns[i].first.c_str());
      SendMessageA(hwnd, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(hwnd, LVM_SETITEMCOUNT, items, 0);
  }
  ~ListView() { DestroyWindow(parent); }
  ListView(const ListView &) = delete;

  static LRESULT CALLBACK Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto *info = reinterpret_cast<NMLVDISPINFOA *>(lParam);
    if (message != WM_NOTIFY || info->hdr.code != LVN_GETDISPINFOA)
      return DefWindowProcA(window, message, wParam, lParam);
    auto *self = reinterpret_cast<ListView *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (info->item.mask & LVIF_TEXT)
      lstrcpynA(info->item.pszText, self->cell(info->item.iItem, info->item.iSubItem).c_str(),
                info->item.cchTextMax);
    return 0;
  }
};

}  // namespace kttest
