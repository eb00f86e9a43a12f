# Window controls and printing.
# The strip graph, bar gauge and layout bar controls:
list(APPEND KT_WINDOWS_SOURCES
  ui/bar_gauge.cpp
  ui/control_common.cpp
  ui/layout_bar.cpp
  ui/strip_graph.cpp
)

# Printing and export, window and common-control helpers:
list(APPEND KT_WINDOWS_SOURCES
)
list(APPEND KT_WINDOWS_LIBS user32 gdi32)
