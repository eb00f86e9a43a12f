# The strip graph, bar gauge and layout bar controls:
list(APPEND KT_WIN_TESTS
  win/bar_gauge_test.cpp
  win/layout_bar_test.cpp
  win/meter_dialog.rc
  win/strip_graph_test.cpp
)

# Printing and export, window and common-control helpers:
