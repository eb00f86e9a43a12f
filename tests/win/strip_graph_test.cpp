// The strip graph as a user sees it: pixels read back from the control.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ktutil.h"
#include "win/window_pixels.h"

namespace {

using kttest::Pixels;

struct Graph {
  kttest::TestParent parent;
  HWND g;
  Graph(int w, int h) : g(parent.Child(KT_STRIPGRAPH_CLASS, 0, 0, 0, w, h)) {}
  LRESULT Send(UINT m, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageA(g, m, wp, lp); }
  // Commits one sample per value (the second series gets up[i] / 2 + down);
  // the chart's first sample is always 0, so sample i lands in column i + 1.
  void Feed(std::vector<int> up, int down = 0) {
    Send(SGM_ADVANCE);
    for (int v : up) {
      Send(SGM_SETVALUE, 0, v);
      Send(SGM_SETVALUE, 1, v >= 0 ? v / 2 + down : 0);
      Send(SGM_ADVANCE);
    }
  }
};

TEST(StripGraph, BarsRiseAndFallFromTheMiddleAtLeastThreePixelsLong) {
  Graph graph(50, 101);
  graph.Feed({2, 3, 6, 100, 50, -10, 0});
  Pixels p(graph.g);
  // Baselines at rows 49 and 51 of 101; the middle grid row lies between.
  struct { int x; const char *up, *down; } cases[] = {
      {1, "", ""},            // 2 and 1 scale to nothing
      {2, "47-49", ""},       // 3 scales to 1, stretched to three pixels
      {3, "47-49", "51-53"},  // 6 and 3 scale to 2 and 1
      {4, "1-49", "51-75"},
      {5, "26-49", "51-62"},
      {6, "49-52", ""},       // below the scale: the other way
      {7, "", ""},
  };
  for (auto &c : cases) {
    EXPECT_EQ(p.Runs(c.x, true, kttest::kRed), c.up) << c.x;
    EXPECT_EQ(p.Runs(c.x, true, kttest::kGreen), c.down) << c.x;
  }
}

TEST(StripGraph, AFullChartScrollsOneColumnPerAdvanceAsIfDrawnAfresh) {
  Graph graph(200, 41);  // baseline of the first series at row 19
  UpdateWindow(graph.g);  // every advance from here on draws into the picture
  std::vector<int> values = {90};
  for (int i = 1; i < 197; ++i) values.push_back(i % 40);
  graph.Feed(values);  // 198 committed samples, 90 the oldest but one
  EXPECT_EQ(graph.Send(SGM_GETMAX, 0), 90);
  UpdateWindow(graph.g);
  EXPECT_EQ(Pixels(graph.g).Runs(5, false, kttest::kDarkGreen).substr(0, 8), "10,20,30");
  graph.Send(SGM_ADVANCE);
  EXPECT_EQ(graph.Send(SGM_GETMAX, 0), 90);  // 199 committed: still all there
  for (int i = 0; i < 4; ++i) {
    graph.Send(SGM_SETVALUE, 0, 40);
    graph.Send(SGM_ADVANCE);
    UpdateWindow(graph.g);
  }
  EXPECT_EQ(graph.Send(SGM_GETMAX, 0), 40);  // 90 dropped
  const Pixels scrolled(graph.g);
  // The grid moved left with the data; the newest sample is next to last.
  EXPECT_EQ(scrolled.Runs(5, false, kttest::kDarkGreen).substr(0, 7), "6,16,26");
  EXPECT_EQ(scrolled.Runs(198, true, kttest::kRed), "13-19");
  EXPECT_EQ(scrolled.Runs(199, true, kttest::kRed), "");
  // Same width again: the picture is drawn whole; it must not differ.
  graph.Send(WM_SIZE, 0, MAKELPARAM(200, 41));
  InvalidateRect(graph.g, nullptr, FALSE);
  EXPECT_TRUE(Pixels(graph.g).bits == scrolled.bits);
}

TEST(StripGraph, ResizingKeepsTheNewestSamplesOldestFirst) {
  Graph graph(50, 101);
  std::vector<int> values;
  for (int i = 1; i <= 30; ++i) values.push_back(i * 3);
  graph.Feed(values);
  graph.Send(SGM_SETVALUE, 0, 99);  // the open sample is not carried over
  struct { int width; const char *first, *last; LRESULT max; } steps[] = {
      {10, "18-49", "6-49", 90},  // 9 newest: 66 .. 90
      {100, "18-49", "6-49", 90},
      {0, "", "", 0},
      {3, "", "", 0},
  };
  for (auto &step : steps) {
    SetWindowPos(graph.g, nullptr, 0, 0, step.width, 101, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(graph.Send(SGM_GETMAX, 0), step.max) << step.width;
    EXPECT_EQ(graph.Send(SGM_GETVALUE, 0), 0) << step.width;
    if (step.width < 10) continue;
    const Pixels p(graph.g);
    EXPECT_EQ(p.Runs(0, true, kttest::kRed), step.first) << step.width;
    EXPECT_EQ(p.Runs(8, true, kttest::kRed), step.last) << step.width;
    EXPECT_EQ(p.Runs(9, true, kttest::kRed), "") << step.width;
  }
  // Width 0: nothing to advance; width 1: room for no committed sample.
  SetWindowPos(graph.g, nullptr, 0, 0, 1, 101, SWP_NOZORDER | SWP_NOMOVE);
  graph.Send(SGM_ADVANCE);
  graph.Send(SGM_SETVALUE, 0, 7);
  EXPECT_EQ(graph.Send(SGM_GETVALUE, 0), 0);
}

TEST(StripGraph, ValuesCountOnlyOnceASampleIsCommitted) {
  Graph graph(20, 30);
  graph.Send(SGM_SETVALUE, 0, 5);  // nothing committed yet: ignored
  graph.Send(SGM_ADVANCE);
  EXPECT_EQ(graph.Send(SGM_GETMAX, 0), 0);
  graph.Send(SGM_SETVALUE, 0, -7);
  graph.Send(SGM_SETVALUE, 2, 9);  // no third series
  EXPECT_EQ(graph.Send(SGM_GETVALUE, 0), -7);
  EXPECT_EQ(graph.Send(SGM_GETVALUE, 2), 0);
  EXPECT_EQ(graph.Send(SGM_GETMAX, 0), 0);  // the open sample does not count
  graph.Send(SGM_ADVANCE);
  EXPECT_EQ(graph.Send(SGM_GETMAX, 0), 0);  // never below 0
  // An empty scale draws no bar; one far off the scale runs off the window.
  graph.Feed({INT_MAX, INT_MIN});
  graph.Send(SGM_SETRANGE, 5, 5);
  graph.Send(WM_SIZE, 0, MAKELPARAM(20, 30));
  InvalidateRect(graph.g, nullptr, FALSE);
  EXPECT_EQ(Pixels(graph.g).Runs(3, true, kttest::kRed), "");
  graph.Send(SGM_SETRANGE, 0, 100);
  graph.Send(WM_SIZE, 0, MAKELPARAM(20, 30));
  InvalidateRect(graph.g, nullptr, FALSE);
  const Pixels p(graph.g);
  EXPECT_EQ(p.Runs(3, true, kttest::kRed), "0-14");
  EXPECT_EQ(p.Runs(4, true, kttest::kRed), "14-29");
}

}  // namespace
