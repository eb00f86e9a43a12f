// Printing a list view as a ruled table and a rich-edit control's text, each
// with the same page header, footer and page number.
#include <windows.h>

#include <commdlg.h>
#include <richedit.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "datetime/base.h"
#include "ui/list_view_text.h"

namespace {

constexpr UINT kPageNumber = 16;  // "page %d"
constexpr UINT kProductName = 27;
constexpr int kTwipsPerInch = 1440;

// A GDI object deleted when it goes; declare it before the DcState that
// selects it, so the device context lets go of it first.
struct GdiObject {
  HGDIOBJ handle;
  explicit GdiObject(HGDIOBJ h) : handle(h) {}
  ~GdiObject() {
    if (handle != nullptr) DeleteObject(handle);
  }
  GdiObject(const GdiObject &) = delete;
  GdiObject &operator=(const GdiObject &) = delete;
};

// Puts back the caller's font, pen and mapping mode.
struct DcState {
  HDC dc;
  int saved;
  explicit DcState(HDC d) : dc(d), saved(SaveDC(d)) {}
  ~DcState() { RestoreDC(dc, saved); }
};

HFONT CreateArial(HDC dc, int points, int weight) {
  return CreateFontA(-MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, weight,
                     FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
}

int TextHeight(HDC dc, HGDIOBJ font) {
  SelectObject(dc, font);
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  return metrics.tmHeight;
}

// The 10-point header above the printed area's top and the footer with the
// page number at its bottom, both outside the margins.
class PageFrame {
 public:
  PageFrame(HDC dc, LPCSTR header, LPCSTR footer)
      : dc_(dc), header_(header), footer_(footer), font_(CreateArial(dc, 10, FW_NORMAL)) {}
  int Height() const { return TextHeight(dc_, font_.handle); }
  void Place(const RECT &header, const RECT &footer) {
    headerRect_ = header;
    footerRect_ = footer;
  }
  void DrawHeader() {
    if (header_ == nullptr) return;
    SelectObject(dc_, font_.handle);
    DrawTextA(dc_, header_, -1, &headerRect_, DT_NOPREFIX | DT_BOTTOM);
  }
  void DrawFooter(int page) {
    if (footer_ == nullptr) return;
    SelectObject(dc_, font_.handle);
    DrawTextA(dc_, footer_, -1, &footerRect_, DT_NOPREFIX);
    char format[64], number[128];
    kt::LoadLibraryText(kPageNumber, format, sizeof format);
    wsprintfA(number, format, page);
    DrawTextA(dc_, number, -1, &footerRect_, DT_NOPREFIX | DT_RIGHT);
  }

 private:
  HDC dc_;
  LPCSTR header_, footer_;
  GdiObject font_;
  RECT headerRect_ = {}, footerRect_ = {};
};

struct Column {
  int width;  // the list view's, then the printed one
  int format;
  kt::ListText heading;
};

struct FreeDeleter {
  void operator()(void *p) const { free(p); }
};

UINT Alignment(int format) {
  if (format == LVCFMT_CENTER) return DT_CENTER;
  return format == LVCFMT_RIGHT ? DT_RIGHT : DT_LEFT;
}

void Rule(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

// One page's geometry in printer pixels.
struct Sheet {
  int left, top, right, bottom;  // one inch in from the paper's edges
  int padding;                   // 80 twips each side of a cell
  int pen;                       // one point
};

class TablePrinter {
 public:
  TablePrinter(HDC dc, HWND listView, Column *columns, int count, const Sheet &sheet)
      : dc_(dc), listView_(listView), columns_(columns), count_(count), sheet_(sheet) {}

  // Widths in proportion across the page; a heading that does not fit
  // widens its column at the first column's expense.
  void FitColumns(HGDIOBJ headingFont) {
    long long sum = 0;
    for (int i = 0; i < count_; ++i) sum += columns_[i].width;
    const int total = sum > INT_MAX ? INT_MAX : static_cast<int>(sum);
    SelectObject(dc_, headingFont);
    for (int i = 0; i < count_; ++i) {
      Column &column = columns_[i];
      column.width = MulDiv(column.width, sheet_.right - sheet_.left, total);
      SIZE extent = {};
      GetTextExtentPoint32A(dc_, column.heading, static_cast<int>(strlen(column.heading)),
                            &extent);
      const int minimum = 2 * sheet_.padding + extent.cx;
      if (column.width >= minimum) continue;
      if (i > 0) columns_[0].width -= minimum - column.width;
      column.width = minimum;
    }
    // Headings wider than the page squeeze the first column out altogether.
    if (count_ > 0 && columns_[0].width < 0) columns_[0].width = 0;
    columns_[count_].width = 1;
  }

  // Draws the row's texts, each read by text(column, buffer).
  template <class Text>
  void DrawRow(int y, int height, Text text) {
    kt::ListText buffer;
    int x = sheet_.left;
    for (int i = 0; i < count_; x += columns_[i].width, ++i) {
      if (columns_[i].width == 0 || !text(i, buffer)) continue;
      RECT cell = {x + sheet_.padding, y, x + columns_[i].width - sheet_.padding, y + height};
      DrawTextA(dc_, buffer, -1, &cell,
                Alignment(columns_[i].format) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
  }

  // The ruled table from item on, as far as the page allows; returns the
  // first item left for the next page.
  int PrintPage(int item, int items, HGDIOBJ headingFont, HGDIOBJ cellFont, int frameHeight) {
    const int q = sheet_.pen, headingHeight = TextHeight(dc_, headingFont);
    Rule(dc_, sheet_.left, sheet_.top, sheet_.right, sheet_.top);
    SelectObject(dc_, headingFont);
    DrawRow(sheet_.top + 2 * q, headingHeight, [&](int i, char *text) {
      strcpy(text, columns_[i].heading);
      return true;
    });
    int y = sheet_.top + 3 * q + headingHeight;
    Rule(dc_, sheet_.left, y, sheet_.right, y);
    y += 2 * q;
    const int cellHeight = TextHeight(dc_, cellFont);
    while (item < items) {
      DrawRow(y, cellHeight,
              [&](int i, char *text) { return kt::ReadListCell(listView_, item, i, text); });
      y += cellHeight + q;
      ++item;
      if (y > sheet_.bottom - 2 * frameHeight) break;
    }
    Rule(dc_, sheet_.left, y, sheet_.right, y);
    int x = sheet_.left;
    for (int i = 0; i <= count_; x += columns_[i].width, ++i) Rule(dc_, x, sheet_.top, x, y);
    return item;
  }

 private:
  HDC dc_;
  HWND listView_;
  Column *columns_;
  int count_;
  Sheet sheet_;
};

}  // namespace

extern "C" void KTAPI ListView_Print(HDC dc, HWND listView, int columns, LPCSTR docName,
                                     LPCSTR header, LPCSTR footer) {
  const int horzRes = GetDeviceCaps(dc, HORZRES), vertRes = GetDeviceCaps(dc, VERTRES);
  const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  const int offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
  const int offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
  const int items = kt::ListItemCount(listView);
  if (columns < 0) columns = 0;
  std::unique_ptr<Column[], FreeDeleter> table(
      static_cast<Column *>(calloc(static_cast<size_t>(columns) + 1, sizeof(Column))));
  if (!table) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return;
  }
  const Sheet sheet = {dpiX - offsetX,
                       dpiY - offsetY,
                       horzRes + offsetX - dpiX - 1,
                       vertRes - 1 + offsetY - dpiY,
                       MulDiv(80, dpiX, kTwipsPerInch),
                       MulDiv(1, dpiY, 72)};
  GdiObject headingFont(CreateArial(dc, 8, FW_BOLD)), cellFont(CreateArial(dc, 8, FW_NORMAL));
  GdiObject pen(CreatePen(PS_SOLID, sheet.pen, RGB(0, 0, 0)));
  PageFrame frame(dc, header, footer);
  DcState state(dc);
  SetMapMode(dc, MM_TEXT);
  const int frameHeight = frame.Height();
  frame.Place({sheet.left, 0, sheet.right, frameHeight},
              {sheet.left, vertRes - 1 - frameHeight, sheet.right, vertRes - 1});

  for (int i = 0; i < columns; ++i) {
    Column &column = table[i];
    column.width = static_cast<int>(SendMessageA(listView, LVM_GETCOLUMNWIDTH, i, 0));
    if (!kt::ReadListHeading(listView, i, column.heading, &column.format)) {
      column.heading[0] = '\0';
      column.format = LVCFMT_LEFT;
    }
  }
  TablePrinter printer(dc, listView, table.get(), columns, sheet);
  printer.FitColumns(headingFont.handle);

  DOCINFOA doc = {sizeof doc, docName, nullptr, nullptr, 0};
  // Without a job there is nothing to draw on.
  if (StartDocA(dc, &doc) <= 0) return;
  int item = 0, page = 0;
  do {
    StartPage(dc);
    frame.DrawHeader();
    SelectObject(dc, pen.handle);
    item = printer.PrintPage(item, items, headingFont.handle, cellFont.handle, frameHeight);
    frame.DrawFooter(++page);
    EndPage(dc);
  } while (item < items);
  EndDoc(dc);
}

extern "C" BOOL KTAPI PrintRichEditWnd(HWND richEdit, PRINTDLGA *printDialog, LPCSTR docName,
                                       LPCSTR header, LPCSTR footer) {
  if (printDialog == nullptr || printDialog->hDC == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const HDC dc = printDialog->hDC;
  const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  auto twipsX = [&](int caps) { return MulDiv(GetDeviceCaps(dc, caps), kTwipsPerInch, dpiX); };
  auto twipsY = [&](int caps) { return MulDiv(GetDeviceCaps(dc, caps), kTwipsPerInch, dpiY); };
  const int width = twipsX(HORZRES), height = twipsY(VERTRES);
  const int offsetX = twipsX(PHYSICALOFFSETX), offsetY = twipsY(PHYSICALOFFSETY);
  FORMATRANGE range = {};
  range.hdc = range.hdcTarget = dc;
  range.rcPage = {0, 0, width, height};
  range.rc = {kTwipsPerInch - offsetX, kTwipsPerInch - offsetY,
              width + offsetX - kTwipsPerInch, height + offsetY - kTwipsPerInch};

  PageFrame frame(dc, header, footer);
  DcState state(dc);
  SetMapMode(dc, MM_TEXT);
  const int h = frame.Height();
  const int left = MulDiv(range.rc.left, dpiX, kTwipsPerInch);
  const int right = MulDiv(range.rc.right, dpiX, kTwipsPerInch);
  const int bottom = MulDiv(height, dpiY, kTwipsPerInch);
  frame.Place({left, 0, right, h}, {left, bottom - h, right, bottom});

  char name[256];
  if (docName == nullptr) kt::LoadLibraryText(kProductName, name, sizeof name);
  DOCINFOA doc = {sizeof doc, docName != nullptr ? docName : name, nullptr, nullptr, 0};
  if (StartDocA(dc, &doc) <= 0) return FALSE;
  const LONG length = static_cast<LONG>(SendMessageA(richEdit, WM_GETTEXTLENGTH, 0, 0));
  auto format = [&](BOOL render) {
    return static_cast<LONG>(
        SendMessageA(richEdit, EM_FORMATRANGE, render, reinterpret_cast<LPARAM>(&range)));
  };
  for (LONG start = 0, page = 1; start < length; ++page) {
    range.chrg = {start, -1};
    // Measured first: a control that lays out nothing more (the text length
    // counts line ends twice, or the control cannot print) ends the job
    // instead of adding blank pages.
    const LONG fits = format(FALSE);
    if (fits <= start) break;
    StartPage(dc);
    frame.DrawHeader();
    const LONG next = format(TRUE);
    frame.DrawFooter(page);
    EndPage(dc);
    start = next > start ? next : fits;
  }
  SendMessageA(richEdit, EM_FORMATRANGE, FALSE, 0);
  EndDoc(dc);
  return TRUE;
}
