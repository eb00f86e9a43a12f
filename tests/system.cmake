# Platform tests, file helpers, text writers, dialog switches, window placement
# and the box.
list(APPEND KT_WIN_TESTS
  win/dialog_control_test.cpp
  win/system_files_test.cpp
)
list(APPEND KT_WIN_TEST_LIBS shell32)
