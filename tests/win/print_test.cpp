// Printing through the tests' own PostScript printer. The spooler command
// turns each job into 300-dpi pages and text, read back here: the pages'
// paper is A4, 2480 x 3508 pixels, and the printed table must keep one inch
// (300 pixels) from every edge.
#include <gtest/gtest.h>
#include <windows.h>

#include <commdlg.h>
#include <richedit.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "ktutil.h"
#include "ui_windows.h"
#include "win_helpers.h"

namespace {

constexpr int kInch = 300, kPen = 4;
const std::string kJob = "C:\\kt-print\\";

std::string Read(const std::string &path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

struct Page {
  int width = 0, height = 0;
  std::string pixels, text;
  bool Ink(int x, int y) const {
    return static_cast<unsigned char>(pixels[static_cast<size_t>(y) * width + x]) < 128;
  }
  // The first inked x (or y) from (x, y) on, stepping by (dx, dy); -1 if none.
  int Scan(int x, int y, int dx, int dy) const {
    for (; x >= 0 && y >= 0 && x < width && y < height; x += dx, y += dy)
      if (Ink(x, y)) return dx != 0 ? x : y;
    return -1;
  }
  bool InkIn(int x0, int y0, int x1, int y1) const {
    for (int y = y0; y < y1; ++y)
      if (int x = Scan(x0, y, 1, 0); x >= 0 && x < x1) return true;
    return false;
  }
};

struct Job {
  std::vector<Page> pages;
  std::string postscript;
};

// The job printed last, whose files go so that no later test reads them.
Job Printed() {
  Job job = {{}, Read(kJob + "job.ps")};
  const std::string text = Read(kJob + "job.txt");
  for (size_t n = 1, from = 0;; ++n) {
    const std::string name = kJob + "page-" + std::to_string(n) + ".pgm";
    const std::string image = Read(name);
    DeleteFileA(name.c_str());
    Page page;
    // "P5", comment lines, width, height, 255, one white-space character.
    size_t header = 3;
    while (header < image.size() && image[header] == '#') header = image.find('\n', header) + 1;
    int size = 0;
    if (image.compare(0, 2, "P5") != 0 ||
        sscanf(image.c_str() + header, "%d %d 255%*c%n", &page.width, &page.height, &size) < 2)
      break;
    page.pixels = image.substr(header + size);
    const size_t end = std::min(text.find('\f', from), text.size());
    page.text = text.substr(from, end - from);
    from = end + 1;
    job.pages.push_back(page);
  }
  if (!getenv("KT_KEEP_JOB")) DeleteFileA((kJob + "job.ps").c_str());
  DeleteFileA((kJob + "job.txt").c_str());
  return job;
}

// The headings, header, footer and page number on every page; each of
// tokens once over all pages, in order.
void ExpectPages(const std::vector<Page> &pages, std::vector<std::string> perPage,
                 const std::vector<std::string> &tokens) {
  std::string all;
  perPage.insert(perPage.end(), {"Header text", "Footer text", ""});
  for (size_t i = 0; i < pages.size(); ++i) {
    perPage.back() = "page " + std::to_string(i + 1);
    for (const std::string &s : perPage)
      EXPECT_NE(pages[i].text.find(s), std::string::npos) << s << " on page " << i + 1;
    all += pages[i].text;
  }
  size_t at = 0;
  for (const std::string &token : tokens) {
    at = all.find(token, at);
    ASSERT_NE(at, std::string::npos) << token;
    EXPECT_EQ(all.find(token, at + 1), std::string::npos) << token;
  }
}

struct Printer {
  HDC dc = CreateDCA(nullptr, "ktutil test printer", nullptr, nullptr);
  ~Printer() { DeleteDC(dc); }
};

std::vector<Page> PrintList(const kttest::ListView &list, int columns) {
  Printer printer;
  EXPECT_NE(printer.dc, nullptr);
  ListView_Print(printer.dc, list.hwnd, columns, "ports", "Header text", "Footer text");
  return Printed().pages;
}

std::string Cell(int item, int column) {
  char text[32];
  snprintf(text, sizeof text, "%s-%03d", column == 0 ? "item" : "port", item);
  return text;
}

TEST(ListViewPrint, PagesRepeatTheHeadingsInsideOneInchMargins) {
  const kttest::ListView list({{"Name", 200}, {"Port", 100}, {"Process", 300}}, 150, Cell);
  const std::vector<Page> pages = PrintList(list, 3);
  ASSERT_GE(pages.size(), 2u);
  std::vector<std::string> items;
  for (int i = 0; i < 150; ++i) items.push_back(Cell(i, 0));
  ExpectPages(pages, {"Name", "Port", "Process"}, items);
  for (const Page &page : pages) {
    // The top rule, the left rule, the top rule's right end, the last rule.
    EXPECT_NEAR(page.Scan(page.width / 2, 0, 0, 1), kInch - kPen / 2, 2);
    EXPECT_NEAR(page.Scan(0, kInch + 4, 1, 0), kInch - kPen / 2, 2);
    EXPECT_NEAR(page.Scan(page.width - 1, kInch, -1, 0), page.width - 1 - kInch, 3);
    EXPECT_LE(page.Scan(page.width / 2, page.height - 1, 0, -1), page.height - 1 - kInch);
    // Header above the table, footer below it, both outside the margins.
    EXPECT_TRUE(page.InkIn(kInch - kPen, 0, page.width, kInch - kPen));
    EXPECT_TRUE(page.InkIn(0, page.height - kInch + kPen, page.width, page.height));
  }
}

TEST(ListViewPrint, ColumnsShareThePageAndTheFirstPaysForAWideHeading) {
  // Three columns of two thirds of the printable width each: half of that
  // is printed, except that the last heading needs more.
  const int printable = 2480 - 2 * kInch, listed = printable * 2 / 3;
  const kttest::ListView list(
      {{"Name", listed}, {"Port", listed}, {"A heading far too long for half its column", listed}},
      1, Cell);
  const std::vector<Page> pages = PrintList(list, 3);
  ASSERT_EQ(pages.size(), 1u);
  std::vector<int> rules;  // left edges of the vertical rules, between the top rule and headings
  for (int x = 1; x < pages[0].width; ++x)
    if (pages[0].Ink(x, kInch + 4) && !pages[0].Ink(x - 1, kInch + 4)) rules.push_back(x);
  ASSERT_EQ(rules.size(), 4u);
  EXPECT_NEAR(rules[0], kInch - kPen / 2, 2);
  EXPECT_NEAR(rules[2] - rules[1], listed / 2, 2);
  EXPECT_GT(rules[3] - rules[2], listed / 2 + 100);
  EXPECT_NEAR(rules[3] - rules[0], printable, 3);
}

TEST(ListViewPrint, OddTablesPrintOnePage) {
  const std::string wide(60, 'W'), comma = std::string(1100, 'c') + ",";
  struct Case {
    const char *what;
    std::vector<std::pair<std::string, int>> columns;
    int items, printed;
  } cases[] = {
      {"no items", {{"Name", 100}, {"Port", 100}}, 0, 2},
      {"no columns", {{"Name", 100}}, 3, 0},
      {"widths summing to 0", {{"Name", 0}, {"Port", 0}}, 3, 2},
      {"headings wider than the page", {{wide, 100}, {wide, 100}, {wide, 100}}, 3, 3},
      {"more columns than the list view has", {{"Name", 100}}, 3, 4},
      {"cells past 1,023 characters", {{"Name", 100}}, 3, 1},
  };
  for (const Case &c : cases) {
    const kttest::ListView list(c.columns, c.items, [&](int item, int) {
      return comma.substr(comma.size() - 1023 - item);  // 1,023 to 1,025 characters
    });
    const std::vector<Page> pages = PrintList(list, c.printed);
    ASSERT_EQ(pages.size(), 1u) << c.what;
    EXPECT_NEAR(pages[0].Scan(0, kInch + 4, 1, 0), kInch - kPen / 2, 2) << c.what;
  }
}

// A control answering EM_FORMATRANGE as the platform documents: it draws
// the lines of its text that fit the rectangle and returns where it stopped.
LRESULT CALLBACK FormatRangeProc(HWND window, UINT message, WPARAM render, LPARAM lParam) {
  if (message != EM_FORMATRANGE || lParam == 0)
    return DefWindowProcA(window, message, render, lParam);
  const FORMATRANGE &range = *reinterpret_cast<FORMATRANGE *>(lParam);
  char text[4096];
  const int length = GetWindowTextA(window, text, sizeof text);
  TEXTMETRICA metrics;
  GetTextMetricsA(range.hdc, &metrics);
  const int dpi = GetDeviceCaps(range.hdc, LOGPIXELSY), x = MulDiv(range.rc.left, dpi, 1440);
  int at = range.chrg.cpMin;
  for (int y = MulDiv(range.rc.top, dpi, 1440);
       at < length && y + metrics.tmHeight <= MulDiv(range.rc.bottom, dpi, 1440);
       y += metrics.tmHeight) {
    const int end = at + static_cast<int>(strcspn(text + at, "\n"));
    if (render) TextOutA(range.hdc, x, y, text + at, end - at);
    at = end + (end < length);
  }
  return at;
}

TEST(PrintRichEditWnd, PrintsEveryLineOnceAndStopsWhenNothingMoreIsLaidOut) {
  WNDCLASSA formatRange = {};
  formatRange.lpfnWndProc = FormatRangeProc;
  formatRange.lpszClassName = "KtFormatRange";
  RegisterClassA(&formatRange);
  LoadLibraryA("riched20.dll");
  std::string text;
  std::vector<std::string> lines;
  for (int i = 0; i < 150; ++i) {
    lines.push_back(Cell(i, 1));
    text += lines.back() + "\n";
  }
  Printer printer;
  PRINTDLGA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hDC = printer.dc;
  // Wine's control lays out nothing at all.
  const size_t wine = kttest::OnWine() ? 0 : 2;
  struct Case {
    const char *window;  // class
    std::string text;
    size_t pages;        // at least
  } cases[] = {{"KtFormatRange", text, 2}, {"KtFormatRange", "", 0}, {RICHEDIT_CLASSA, text, wine}};
  for (const Case &c : cases) {
    HWND window = CreateWindowExA(0, c.window, c.text.c_str(), ES_MULTILINE, 0, 0, 300, 300,
                                  nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(PrintRichEditWnd(window, &dialog, nullptr, "Header text", "Footer text"));
    DestroyWindow(window);
    const Job job = Printed();
    EXPECT_GE(job.pages.size(), c.pages) << c.window << c.text.size();
    EXPECT_LE(job.pages.size(), c.pages == 0 ? 0 : 5) << c.window << c.text.size();
    if (c.pages > 0) ExpectPages(job.pages, {}, lines);
    // Without a name the document is named after the product.
    EXPECT_NE(job.postscript.find("%%Title: Rozedizo Zadade Zorizez"), std::string::npos);
  }
  SetLastError(0);
  EXPECT_FALSE(PrintRichEditWnd(nullptr, nullptr, nullptr, nullptr, nullptr));
  dialog.hDC = nullptr;
  EXPECT_FALSE(PrintRichEditWnd(nullptr, &dialog, nullptr, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

}  // namespace
