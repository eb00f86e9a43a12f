// The strip graph as a user sees it: pixels read back from the control.
#include <climits>

#include "win/window_pixels.h"

namespace {

using kttest::kRed;

struct Graph : kttest::Control {
  Graph(int w, int h) : Control(KT_STRIPGRAPH_CLASS, 0, w, h) {}
  // One committed sample per value, half of it in the second series. The
  // chart's first sample is always 0: sample i lands in column i + 1.
  void Feed(const std::vector<int> &values) {
    Send(SGM_ADVANCE);
    for (int v : values) {
      Send(SGM_SETVALUE, 0, v);
      Send(SGM_SETVALUE, 1, v >= 0 ? v / 2 : 0);
      Send(SGM_ADVANCE);
    }
  }
  // The same width again drops the picture: the next paint draws it whole.
  kttest::Pixels Redrawn() {
    RECT r;
    GetClientRect(c, &r);
    Send(WM_SIZE, 0, MAKELPARAM(r.right, r.bottom));
    InvalidateRect(c, nullptr, FALSE);
    return kttest::Pixels(c);
  }
};

TEST(StripGraph, BarsRiseAndFallFromTheMiddleAndResizingKeepsTheNewest) {
  Graph graph(50, 101);
  graph.Send(SGM_SETVALUE, 0, 5);  // nothing committed yet: ignored
  graph.Feed({2, 3, 6, 100, 50, -10, INT_MAX, INT_MIN, 0});
  const kttest::Pixels p(graph.c);
  // Red above and green below baselines at rows 49 and 51 of 101, column by
  // column: the first sample (always 0); 2 and 1 scale to nothing; 3 scales
  // to 1, stretched to three pixels; 6 and 3 to 2 and 1; 100; 50; -10, below
  // the scale, the other way; INT_MAX and INT_MIN, far off the scale, cut by
  // the window; 0; the open sample, not drawn.
  std::string runs;
  for (int x = 0; x < 10; ++x)
    runs += p.Runs(x, true, kRed) + "/" + p.Runs(x, true, kttest::kGreen) + " ";
  EXPECT_EQ(runs,
            "/ / 47-49/ 47-49/51-53 1-49/51-75 26-49/51-62 49-52/ "
            "0-49/51-100 49-100/ / ");
  graph.Send(SGM_SETRANGE, 5, 5);  // an empty scale: no bars
  EXPECT_EQ(graph.Redrawn().Runs(4, true, kRed), "");

  // Resizing keeps the newest samples, oldest first.
  Graph resized(50, 101);
  resized.Feed({-9, -3});
  resized.Send(SGM_SETVALUE, 0, 1000);        // the open sample does not count
  EXPECT_EQ(resized.Send(SGM_GETMAX, 0), 0);  // and the largest is never below 0
  std::vector<int> values(30);
  for (int i = 0; i < 30; ++i) values[i] = 3 * (i + 1);
  resized.Feed(values);
  resized.Send(SGM_SETVALUE, 0, 99);  // the open sample is not carried over
  for (int width : {10, 100, 0, 1, 3}) {
    SetWindowPos(resized.c, nullptr, 0, 0, width, 101, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(resized.Send(SGM_GETMAX, 0), width < 10 ? 0 : 90) << width;
    EXPECT_EQ(resized.Send(SGM_GETVALUE, 0), 0) << width;
    if (width < 10) {  // widths 0 and 1 have no room for a committed sample
      resized.Send(SGM_ADVANCE);
      resized.Send(SGM_SETVALUE, 0, 7);
      EXPECT_EQ(resized.Send(SGM_GETVALUE, 0), width > 1 ? 7 : 0) << width;
      continue;
    }
    const kttest::Pixels q(resized.c);  // the 9 newest samples, 66 to 90
    EXPECT_EQ(q.Runs(0, true, kRed) + " " + q.Runs(8, true, kRed), "18-49 6-49") << width;
    EXPECT_EQ(q.Runs(9, true, kRed), "") << width;
  }
}

TEST(StripGraph, AFullChartScrollsOneColumnPerAdvanceAsIfDrawnAfresh) {
  Graph graph(200, 41);   // the first series' baseline at row 19
  UpdateWindow(graph.c);  // every advance from here on draws into the picture
  std::vector<int> values = {90};
  for (int i = 1; i < 198; ++i) values.push_back(i % 40);
  graph.Feed(values);  // 199 committed samples: full
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(graph.Send(SGM_GETMAX, 0), i < 2 ? 90 : 40) << i;  // the oldest goes
    graph.Send(SGM_SETVALUE, 0, 40);
    graph.Send(SGM_ADVANCE);
    UpdateWindow(graph.c);
  }
  const kttest::Pixels scrolled(graph.c);
  // The grid moved left with the data; the newest sample is next to last.
  EXPECT_EQ(scrolled.Runs(5, false, kttest::kDarkGreen).substr(0, 7), "6,16,26");
  EXPECT_EQ(scrolled.Runs(198, true, kRed), "13-19");
  EXPECT_TRUE(graph.Redrawn().bits == scrolled.bits);
}

}  // namespace
