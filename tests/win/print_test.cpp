// Printing, exporting and searching real list views, and printing rich-edit
// text. Jobs go to the tests' own PostScript printer, whose spooler command
// leaves each page as a 300-dpi grey map and as text: A4 paper is 2479 x
// 3508 pixels, and tables keep one inch (300 pixels) from every edge.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>

#include <tuple>

#include "win/window_pixels.h"

namespace {

// Where a one-point rule on a one-inch margin starts: kRule.
constexpr int kInch = 300, kRule = kInch - 2;
using Cells = std::function<std::string(int, int)>;
using Columns = std::vector<std::pair<std::string, int>>;  // heading, width

// An owner-data report list view, whose items cost nothing to make: its
// parent answers each text with cell(item, column).
struct ListView : kttest::Control {
  Cells cell;
  ListView(const Columns &columns, int items, Cells cells)
      : Control(Answer), cell(std::move(cells)) {
    InitCommonControls();
    SetWindowLongPtrA(parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    c = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                        9, 9, parent, 0, 0, 0);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    for (size_t i = 0; i < columns.size(); ++i) {
      column.cx = columns[i].second;
      column.pszText = const_cast<char *>(columns[i].first.c_str());
      Send(LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    Send(LVM_SETITEMCOUNT, items);
  }
  static LRESULT CALLBACK Answer(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto *info = reinterpret_cast<NMLVDISPINFOA *>(l);
    if (message != WM_NOTIFY || info->hdr.code != LVN_GETDISPINFOA)
      return DefWindowProcA(window, message, w, l);
    auto *self = reinterpret_cast<ListView *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    const std::string text = self->cell(info->item.iItem, info->item.iSubItem);
    lstrcpynA(info->item.pszText, text.c_str(), info->item.cchTextMax);
    return 0;
  }
};

std::string Cell(int item, int column) {
  return (column == 0 ? "item-" : "port-") + std::to_string(1000 + item).substr(1);
}

// A file of the job printed last, which then goes: no later test reads it.
std::string Read(const std::string &name) {
  const char *jobs = getenv("KT_PRINT_JOBS");  // the folder ctest has spool.sh fill
  const std::string path = (jobs ? jobs : "") + name;
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  DeleteFileA(path.c_str());
  return bytes.str();
}

struct Page {
  int width = 0, height = 0;
  std::string pixels, text;
  // The first inked x (or y) from (x, y) on, stepping by (dx, dy); -1 if none.
  int Scan(int x, int y, int dx, int dy) const {
    for (; x >= 0 && y >= 0 && x < width && y < height; x += dx, y += dy)
      if (static_cast<unsigned char>(pixels[size_t(y) * width + x]) < 128)
        return dx ? x : y;
    return -1;
  }
  bool InkInRows(int from, int to) const {
    while (from < to && Scan(0, from, 1, 0) < 0) ++from;
    return from < to;
  }
};

// The pages of the job printed last.
std::vector<Page> Printed() {
  std::vector<Page> pages;
  for (Page page; true; pages.push_back(page)) {
    const std::string n = std::to_string(pages.size() + 1);
    std::istringstream pgm(Read("page-" + n + ".pgm"));  // P5, comments, size, 255
    int depth = 0;
    for (pgm.ignore(3); pgm.peek() == '#';) pgm.ignore(1 << 20, '\n');
    if (!(pgm >> page.width >> page.height >> depth).ignore()) return pages;
    page.pixels = pgm.str().substr(pgm.tellg());
    page.text = Read("page-" + n + ".txt");
  }
}

// The header, footer, page number and perPage on every page; each of the
// 150 cells of column once over all pages, in order.
void ExpectPages(const std::vector<Page> &pages, std::vector<std::string> perPage,
                 int column) {
  std::string all;
  perPage.insert(perPage.end(), {"Header text", "Footer text", ""});
  for (size_t i = 0; i < pages.size(); all += pages[i++].text) {
    perPage.back() = "page " + std::to_string(i + 1);
    for (const std::string &s : perPage)
      EXPECT_NE(pages[i].text.find(s), std::string::npos) << s << " on page " << i + 1;
  }
  for (size_t i = 0, at = 0; i < 150; ++i, ++at) {
    const std::string token = Cell(i, column);
    ASSERT_NE(at = all.find(token, at), std::string::npos) << token;
    EXPECT_EQ(all.find(token, at + 1), std::string::npos) << token;
  }
}

std::vector<Page> PrintList(const ListView &list, int columns) {
  HDC printer = CreateDCA(nullptr, "ktutil test printer", nullptr, nullptr);
  EXPECT_NE(printer, nullptr);
  ListView_Print(printer, list.c, columns, "ports", "Header text", "Footer text");
  DeleteDC(printer);
  return Printed();
}

TEST(ListViewPrint, RuledRowsInsideOneInchMarginsTheFirstColumnPayingAndOddTables) {
  // Widths summing to twice the printable width are halved, but the last
  // heading needs more room than that: the first column gives it.
  const int printable = 2479 - 2 * kInch, listed = printable * 2 / 3;
  const ListView list(
      {{"Name", listed}, {"Port", listed}, {std::string(25, 'W'), listed}}, 150, Cell);
  const std::vector<Page> pages = PrintList(list, 3);
  ASSERT_GE(pages.size(), 2u);
  ExpectPages(pages, {"Name", "Port", "WWWWW"}, 0);
  for (const Page &page : pages) {
    // The top rule, the left rule, the top rule's right end, the last rule;
    // the header above and the footer below, outside the margins.
    EXPECT_NEAR(page.Scan(page.width / 2, 0, 0, 1), kRule, 2);
    EXPECT_NEAR(page.Scan(page.width - 1, kInch, -1, 0), page.width - 1 - kInch, 3);
    EXPECT_LE(page.Scan(page.width / 2, page.height - 1, 0, -1), page.height - 1 - kInch);
    EXPECT_TRUE(page.InkInRows(0, kRule) &&
                page.InkInRows(page.height - kInch, page.height));
    std::vector<int> rules;  // vertical, between the top rule and the headings
    for (int x = page.Scan(0, kInch + 4, 1, 0); x >= 0;
         x = page.Scan(x + 8, kInch + 4, 1, 0))
      rules.push_back(x);
    ASSERT_EQ(rules.size(), 4u);
    EXPECT_NEAR(rules[0], kRule, 2);
    EXPECT_NEAR(rules[2] - rules[1], listed / 2, 2);
    EXPECT_GT(rules[3] - rules[2], listed / 2 + 100);
    EXPECT_NEAR(rules[3] - rules[0], printable, 3);
  }

  // Odd tables print one page of rules: no items; no columns; widths summing
  // to 0, a column missing and cells past 1,023 characters; headings wider
  // than the page.
  const std::string wide(60, 'W'), long1025 = std::string(1024, 'c') + ",";
  // Columns, items, columns printed.
  const std::tuple<Columns, int, int> cases[] = {
      {{{"Name", 100}}, 0, 1},
      {{{"Name", 100}}, 3, 0},
      {{{"Name", 0}, {"Port", 0}}, 3, 3},
      {{{wide, 1}, {wide, 1}, {wide, 1}}, 3, 3}};
  for (const auto &[columns, items, printed] : cases) {
    const ListView list(columns, items, [&](int i, int) { return long1025.substr(i); });
    const std::vector<Page> pages = PrintList(list, printed);
    ASSERT_EQ(pages.size(), 1u) << printed;
    EXPECT_NEAR(pages[0].Scan(0, kInch + 4, 1, 0), kRule, 2) << printed;
  }
}

// A control answering EM_FORMATRANGE as the platform documents: it draws
// the lines of its text that fit the rectangle and returns where it stopped.
LRESULT CALLBACK FormatRange(HWND window, UINT message, WPARAM render, LPARAM lParam) {
  if (message != EM_FORMATRANGE || lParam == 0)
    return DefWindowProcA(window, message, render, lParam);
  const FORMATRANGE &range = *reinterpret_cast<FORMATRANGE *>(lParam);
  char text[4096];
  const int length = GetWindowTextA(window, text, sizeof text);
  const int dpi = GetDeviceCaps(range.hdc, LOGPIXELSY), line = dpi / 6;
  int at = range.chrg.cpMin;
  for (int y = MulDiv(range.rc.top, dpi, 1440);
       at < length && y + line <= MulDiv(range.rc.bottom, dpi, 1440); y += line) {
    const int end = at + static_cast<int>(strcspn(text + at, "\n"));
    if (render)
      TextOutA(range.hdc, MulDiv(range.rc.left, dpi, 1440), y, text + at, end - at);
    at = end + (end < length);
  }
  return at;
}

TEST(PrintRichEditWnd, PrintsEveryLineOnceStopsWhenNothingIsLaidOutAndNamesThePrinter) {
  const WNDCLASSA formatRange = {0, FormatRange, 0, 0, 0, 0, 0, 0, 0, "KtFormatRange"};
  RegisterClassA(&formatRange);
  LoadLibraryA("riched20.dll");
  std::string text;
  for (int i = 0; i < 150; ++i) text += Cell(i, 1) + "\n";
  PRINTDLGA dialog = {};
  dialog.hDC = CreateDCA(nullptr, "ktutil test printer", nullptr, nullptr);
  auto print = [&](const char *window, const std::string &text) {
    HWND control =
        CreateWindowExA(0, window, text.c_str(), ES_MULTILINE, 0, 0, 9, 9, 0, 0, 0, 0);
    EXPECT_TRUE(
        PrintRichEditWnd(control, &dialog, nullptr, "Header text", "Footer text"));
    DestroyWindow(control);
    // Without a name the document is named after the product.
    EXPECT_NE(Read("job.ps").find("%%Title: Rozedizo Zadade Zorizez"), std::string::npos);
    return Printed();
  };
  const std::vector<Page> pages = print("KtFormatRange", text);
  EXPECT_EQ(pages.size(), 3u);
  ExpectPages(pages, {}, 1);
  EXPECT_EQ(print("KtFormatRange", "").size(), 0u);
  // Wine deviation: its own control lays out nothing at all.
  EXPECT_TRUE(print(RICHEDIT_CLASSA, text).empty() || !kttest::OnWine());
  DeleteDC(dialog.hDC);
  dialog.hDC = nullptr;
  SetLastError(0);
  EXPECT_FALSE(PrintRichEditWnd(nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_FALSE(PrintRichEditWnd(nullptr, &dialog, nullptr, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});

  // The print information names the user, the dialog's printer and the local time.
  char user[256], date[128];
  DWORD size = sizeof user;
  GetUserNameA(user, &size);
  // Just after the clock's two-second step, the time stays put for a while.
  for (DateTime now = GetCurrentDateTime(); now == GetCurrentDateTime();) Sleep(5);
  DateTimeToStr(GetCurrentDateTime(), date, sizeof date);
  auto *names = static_cast<DEVNAMES *>(GlobalAlloc(GMEM_FIXED, sizeof(DEVNAMES) + 8));
  names->wDeviceOffset = sizeof(DEVNAMES);
  strcpy(reinterpret_cast<char *>(names + 1), "Laser 4");
  auto info = [&](char *d, int n) { EXPECT_TRUE(GetPrintInfoString(&dialog, d, n)); };
  for (HGLOBAL devNames : {static_cast<HGLOBAL>(names), HGLOBAL{}}) {
    dialog.hDevNames = devNames;
    kttest::CheckBounded("Printed by " + std::string(user) +
                             (devNames ? " at Laser 4 on " : " on ") + date,
                         info);
  }
  GlobalFree(names);
}

TEST(ListViewSave, DelimitedTextAndHtmlReadBackByteForByteAndSearched) {
  // Cells are read as 1,023 characters at most, of which 1,021 are left in quotes.
  const std::vector<std::vector<std::string>> rows = {
      {"a", "b"},
      {"x,y", "tab\there"},
      {"<q\"uote,", std::string(1022, 'l') + ","},
      {"," + std::string(1023, 'm'), ""}};
  const ListView list({{"Name,first", 50}, {"Port", 50}}, 4,
                      [&](int item, int column) { return rows[item][column]; });
  const kttest::TempPath text("export.txt"), html("export.htm");
  ASSERT_TRUE(ListView_SaveToFile(list.c, 2, text.c_str(), 0, ";"));
  ASSERT_TRUE(ListView_SaveToHTMLFile(list.c, 2, html.c_str(), "Ports", 0));
  const std::string l = '"' + std::string(1021, 'l') + '"',
                    m = "\"," + std::string(1020, 'm') + '"';
  EXPECT_EQ(text.Contents(),
            "Name,first;Port\r\na;b\r\n\"x,y\";tab here\r\n\"<q\"uote,\";" + l + "\r\n" +
                m + ";\r\n");
  EXPECT_EQ(
      html.Contents(),
      "<html><title>Ports</title>\r\n<body bgcolor=ffffff><font size=-1 face=Arial>"
      "<h2>Ports</h2>\r\n<table border=1>\r\n<tr>\r\n<td>Name,first<td>Port\r\n<tr>\r\n"
      "<td>a<td>b\r\n<tr>\r\n<td>\"x,y\"<td>tab here\r\n<tr>\r\n<td>\"<q\"uote,\"<td>" +
          l + "\r\n<tr>\r\n<td>" + m + "<td>\r\n</table></body></html>");
  EXPECT_FALSE(ListView_SaveToFile(list.c, 2, "C:\\no-such-folder\\x.txt", 0, ";"));
  EXPECT_FALSE(ListView_SaveToHTMLFile(list.c, 2, "C:\\no-such-folder\\x.htm", "", 0));

  // The search starts after the focused item (at item 0 when none, or item
  // 0, has the focus) and never wraps: focused item, text, case, found.
  const std::tuple<int, const char *, BOOL, int> finds[] = {
      {-1, "TAB", FALSE, 1}, {-1, "TAB", TRUE, -1}, {0, "b", TRUE, 0},  {1, "l", TRUE, 2},
      {2, "A", FALSE, -1},   {-1, "M", FALSE, 3},   {1, "X", FALSE, -1}};
  for (const auto &[focused, what, matchCase, found] : finds) {
    ListView_SetItemState(list.c, focused, focused < 0 ? 0 : LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_EQ(ListView_FindText(list.c, 2, what, matchCase), found) << focused << what;
  }

  const ListView big({{"N", 50}}, 100000,
                     [](int item, int) { return std::to_string(item); });
  ASSERT_TRUE(ListView_SaveToFile(big.c, 1, text.c_str(), 0, ";"));
  const std::string all = text.Contents();
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 100001);
  EXPECT_EQ(all.substr(all.size() - 9), "\r\n99999\r\n");
}

}  // namespace
