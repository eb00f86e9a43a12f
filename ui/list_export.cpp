// Saving a list view as delimited text or an HTML table, searching it, and
// the "printed by" line of printed pages.
#include <windows.h>

#include <commdlg.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "datetime/base.h"
#include "lifecycle.h"
#include "ui/list_view_text.h"

namespace {

constexpr UINT kUnknownUser = 3055;
constexpr UINT kPrintedBy = 3056;            // "Printed by %s on %s"
constexpr UINT kPrintedByOnPrinter = 3057;   // "Printed by %s at %s on %s"

// A cell with a comma goes in double quotes (inner quotes stay as they are),
// cut to stay within its buffer; TABs become spaces.
void CleanCell(char *text) {
  if (strchr(text, ',') != nullptr) {
    size_t length = strlen(text);
    if (length > kt::kListTextSize - 3) length = kt::kListTextSize - 3;
    memmove(text + 1, text, length);
    text[0] = text[length + 1] = '"';
    text[length + 2] = '\0';
  }
  for (char *c = text; *c != '\0'; ++c)
    if (*c == '\t') *c = ' ';
}

// A file written as text mode would write it, each "\n" as CR LF, but in
// large blocks: exports of long lists cost little more than reading them.
class TextFile {
 public:
  explicit TextFile(FILE *file) : file_(file) {}
  ~TextFile() {
    Flush();
    fclose(file_);
  }
  TextFile(const TextFile &) = delete;
  TextFile &operator=(const TextFile &) = delete;
  void Put(const char *text) {
    for (; *text != '\0'; ++text) {
      if (used_ + 2 > sizeof buffer_) Flush();
      if (*text == '\n') buffer_[used_++] = '\r';
      buffer_[used_++] = *text;
    }
  }

 private:
  void Flush() {
    fwrite(buffer_, 1, used_, file_);
    used_ = 0;
  }
  FILE *file_;
  size_t used_ = 0;
  char buffer_[16384];
};

FILE *Create(LPCSTR path) { return path != nullptr ? fopen(path, "wb") : nullptr; }

// The heading row, then one row per item: each row opens with rowStart and
// each readable text follows cellStart(column). Ends every row with "\n".
template <class CellStart>
void WriteTable(HWND listView, int columns, TextFile &file, const char *rowStart,
                CellStart cellStart) {
  const int items = kt::ListItemCount(listView);
  kt::ListText text;
  file.Put(rowStart);
  for (int i = 0, format; i < columns; ++i) {
    if (!kt::ReadListHeading(listView, i, text, &format)) continue;
    file.Put(cellStart(i));
    file.Put(text);
  }
  file.Put("\n");
  for (int item = 0; item < items; ++item) {
    file.Put(rowStart);
    for (int i = 0; i < columns; ++i) {
      if (!kt::ReadListCell(listView, item, i, text)) continue;
      CleanCell(text);
      file.Put(cellStart(i));
      file.Put(text);
    }
    file.Put("\n");
  }
}

}  // namespace

extern "C" BOOL KTAPI ListView_SaveToFile(HWND listView, int columns, LPCSTR path, UINT_PTR,
                                          LPCSTR separator) {
  FILE *created = Create(path);
  if (created == nullptr) return FALSE;
  TextFile file(created);
  if (separator == nullptr) separator = "";
  WriteTable(listView, columns, file, "",
             [separator](int column) { return column == 0 ? "" : separator; });
  return TRUE;
}

extern "C" BOOL KTAPI ListView_SaveToHTMLFile(HWND listView, int columns, LPCSTR path,
                                              LPCSTR title, UINT_PTR) {
  FILE *created = Create(path);
  if (created == nullptr) return FALSE;
  TextFile file(created);
  if (title == nullptr) title = "";
  for (const char *part : {"<html><title>", title, "</title>\n<body bgcolor=ffffff><font size=-1 face=Arial><h2>",
                           title, "</h2>\n<table border=1>\n"})
    file.Put(part);
  WriteTable(listView, columns, file, "<tr>\n", [](int) { return "<td>"; });
  file.Put("</table></body></html>");
  return TRUE;
}

extern "C" int KTAPI ListView_FindText(HWND listView, int columns, LPCSTR wanted,
                                       BOOL matchCase) {
  if (wanted == nullptr) return -1;
  const int items = kt::ListItemCount(listView);
  // Asked from item 0 on, so a focused item 0 is not found: that search,
  // like one without focus, starts at item 0.
  const int focused = static_cast<int>(SendMessageA(listView, LVM_GETNEXTITEM, 0, LVNI_FOCUSED));
  kt::ListText text;
  for (int item = focused < 0 ? 0 : focused + 1; item < items; ++item) {
    for (int i = 0; i < columns; ++i) {
      if (!kt::ReadListCell(listView, item, i, text)) continue;
      if (matchCase ? strstr(text, wanted) != nullptr : stristr(text, wanted) != nullptr)
        return item;
    }
  }
  return -1;
}

extern "C" BOOL KTAPI GetPrintInfoString(const PRINTDLGA *printDialog, LPSTR dest, int size) {
  char user[256];
  DWORD userSize = sizeof user;
  if (!GetUserNameA(user, &userSize) || user[0] == '\0')
    kt::LoadLibraryText(kUnknownUser, user, sizeof user);
  char date[128];
  DateTimeToStr(GetCurrentDateTime(), date, sizeof date);
  char printer[261] = "";
  HGLOBAL names = printDialog != nullptr ? printDialog->hDevNames : nullptr;
  if (const auto *block = names ? static_cast<const DEVNAMES *>(GlobalLock(names)) : nullptr) {
    // The device name must lie inside the block, however it is filled.
    const SIZE_T blockSize = GlobalSize(names);
    if (blockSize >= sizeof *block && block->wDeviceOffset < blockSize) {
      const char *device = reinterpret_cast<const char *>(block) + block->wDeviceOffset;
      const size_t room = blockSize - block->wDeviceOffset;
      const size_t length = strnlen(device, room < sizeof printer ? room : sizeof printer - 1);
      memcpy(printer, device, length);
      printer[length] = '\0';
    }
    GlobalUnlock(names);
  }
  if (printer[0] != '\0') {
    fmtmsg(dest, size, kt::ModuleHandle(), kPrintedByOnPrinter, user, printer, date);
  } else {
    fmtmsg(dest, size, kt::ModuleHandle(), kPrintedBy, user, date);
  }
  return TRUE;
}
