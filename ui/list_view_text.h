// Reading a report-style list view's headings and cells, for printing,
// exporting and searching it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ktutil.h"

namespace kt {

// Every heading and cell is read into this much room: 1,023 characters.
constexpr int kListTextSize = 1024;
using ListText = char[kListTextSize];

inline int ListItemCount(HWND listView) {
  return static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
}

// False when the list view has no such item or sub-item.
inline bool ReadListCell(HWND listView, int item, int column, ListText text) {
  LVITEMA cell = {};
  cell.mask = LVIF_TEXT;
  cell.iItem = item;
  cell.iSubItem = column;
  cell.pszText = text;
  cell.cchTextMax = kListTextSize;
  text[0] = '\0';
  if (!SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&cell)))
    return false;
  // The control may point at text of its own instead of filling ours.
  if (cell.pszText != text) strncpy0(text, cell.pszText ? cell.pszText : "", kListTextSize);
  return true;
}

// The heading and its LVCFMT_ alignment bits; false for a missing column.
inline bool ReadListHeading(HWND listView, int column, ListText text, int *format) {
  LVCOLUMNA heading = {};
  heading.mask = LVCF_TEXT | LVCF_FMT;
  heading.pszText = text;
  heading.cchTextMax = kListTextSize;
  text[0] = '\0';
  if (!SendMessageA(listView, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&heading)))
    return false;
  *format = heading.fmt & LVCFMT_JUSTIFYMASK;
  return true;
}

}  // namespace kt
