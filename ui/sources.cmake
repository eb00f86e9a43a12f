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
  ui/list_print.cpp
  ui/list_export.cpp
  ui/icon_data.cpp
  ui/window_helpers.cpp
  ui/control_wrappers.cpp
)
list(APPEND KT_WINDOWS_LIBS comctl32)
list(APPEND KT_WINDOWS_LIBS user32 gdi32)
