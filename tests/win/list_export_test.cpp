// Saving, searching and describing list views: real list views, files read
// back byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <commdlg.h>

#include "ktutil.h"
#include "ui_windows.h"
#include "win_helpers.h"

namespace {

const std::vector<std::vector<std::string>> kRows = {
    {"a", "b", "c"},
    {"x,y", "tab\there", "q\"uote,"},
    {std::string(1022, 'l') + ",", "," + std::string(1023, 'm'), ""},
};

kttest::ListView Rows(const std::vector<std::string> &headings,
                      const std::vector<std::vector<std::string>> &rows) {
  std::vector<std::pair<std::string, int>> columns;
  for (const std::string &heading : headings) columns.emplace_back(heading, 50);
  return kttest::ListView(columns, static_cast<int>(rows.size()), [rows](int item, int column) {
    return column < static_cast<int>(rows[item].size()) ? rows[item][column] : "";
  });
}

TEST(ListViewSave, QuotesCellsWithCommasAndLeavesHeadingsAlone) {
  const kttest::ListView list = Rows({"Name,first", "Port", "Note"}, kRows);
  const kttest::TempPath file("export.txt");
  ASSERT_TRUE(ListView_SaveToFile(list.hwnd, 3, file.c_str(), 0, ","));
  // Cells are read as 1,023 characters at most; quoted, 1,021 remain.
  const std::string cut = "\"" + std::string(1021, 'l') + "\",\"," + std::string(1020, 'm') + "\",";
  EXPECT_EQ(file.Contents(),
            "Name,first,Port,Note\r\na,b,c\r\n\"x,y\",tab here,\"q\"uote,\"\r\n" + cut + "\r\n");
  EXPECT_FALSE(ListView_SaveToFile(list.hwnd, 3, "C:\\no-such-folder\\x.txt", 0, ","));
}

TEST(ListViewSave, HtmlFollowsTheTemplateWithNothingEscaped) {
  const kttest::ListView list = Rows({"Name", "Port"}, {{"ftp", "21"}, {"<b>", "a,b"}});
  const kttest::TempPath file("export.html");
  ASSERT_TRUE(ListView_SaveToHTMLFile(list.hwnd, 2, file.c_str(), "Ports", 0));
  EXPECT_EQ(file.Contents(),
            "<html><title>Ports</title>\r\n<body bgcolor=ffffff><font size=-1 face=Arial>"
            "<h2>Ports</h2>\r\n<table border=1>\r\n<tr>\r\n<td>Name<td>Port\r\n"
            "<tr>\r\n<td>ftp<td>21\r\n<tr>\r\n<td><b><td>\"a,b\"\r\n</table></body></html>");
  EXPECT_FALSE(ListView_SaveToHTMLFile(list.hwnd, 2, "C:\\no-such-folder\\x.htm", "", 0));
}

TEST(ListViewSave, HundredThousandItems) {
  const kttest::ListView list({{"N", 50}}, 100000,
                              [](int item, int) { return std::to_string(item); });
  const kttest::TempPath file("big.txt");
  ASSERT_TRUE(ListView_SaveToFile(list.hwnd, 1, file.c_str(), 0, ";"));
  const std::string text = file.Contents();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 100001);
  EXPECT_EQ(text.substr(text.size() - 16), "\r\n99998\r\n99999\r\n");
}

TEST(ListViewFindText, StartsAfterTheFocusedItemAndNeverWraps) {
  const kttest::ListView list = Rows({"Name", "Port"}, {{"alpha", "1"}, {"x", "Beta"}, {"gamma", "2"},
                                                        {"beta", "3"}, {"delta", "4"}, {"BETA", "5"}});
  struct Case {
    int focused;
    const char *text;
    BOOL matchCase;
    int found;
  } cases[] = {{-1, "beta", FALSE, 1}, {-1, "beta", TRUE, 3}, {0, "BETA", FALSE, 1},
               {3, "beta", FALSE, 5},  {3, "Beta", TRUE, -1}, {-1, "zeta", FALSE, -1}};
  for (const Case &c : cases) {
    LVITEMA state = {};
    state.stateMask = LVIS_FOCUSED;
    for (int i = 0; i < 6; ++i) {
      state.state = i == c.focused ? LVIS_FOCUSED : 0;
      SendMessageA(list.hwnd, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&state));
    }
    EXPECT_EQ(ListView_FindText(list.hwnd, 2, c.text, c.matchCase), c.found) << c.text << c.focused;
  }
}

TEST(GetPrintInfoString, NamesUserPrinterAndTime) {
  char user[256];
  DWORD size = sizeof user;
  ASSERT_TRUE(GetUserNameA(user, &size));
  // Start just after the clock's two-second step, so the time stays put.
  for (DateTime now = GetCurrentDateTime(); now == GetCurrentDateTime();) Sleep(5);
  char date[128];
  DateTimeToStr(GetCurrentDateTime(), date, sizeof date);
  HGLOBAL names = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + 32);
  auto *devNames = static_cast<DEVNAMES *>(GlobalLock(names));
  devNames->wDeviceOffset = sizeof(DEVNAMES);
  strcpy(reinterpret_cast<char *>(devNames + 1), "Laser 4");
  GlobalUnlock(names);
  PRINTDLGA dialog = {};
  for (std::string printer : {"", " at Laser 4"}) {
    dialog.hDevNames = printer.empty() ? nullptr : names;
    kttest::CheckBounded("Printed by " + std::string(user) + printer + " on " + date,
                         [&](char *d, int n) { EXPECT_TRUE(GetPrintInfoString(&dialog, d, n)); });
  }
  GlobalFree(names);
}

}  // namespace
