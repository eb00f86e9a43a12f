# The strip graph, bar gauge and layout bar controls:
list(APPEND KT_WIN_TESTS
  win/bar_gauge_test.cpp
  win/layout_bar_test.cpp
  win/meter_dialog.rc
  win/strip_graph_test.cpp
)

# Printing and export, window and common-control helpers:
list(APPEND KT_WIN_TESTS
  win/ui_helpers_test.cpp
  win/window_helpers_test.cpp
)
list(APPEND KT_WIN_TEST_LIBS comctl32)
# Printing goes to the tests' PostScript printer in the shared prefix: set up
# before and removed after this build's print and export tests, which never
# overlap another program printing. Wine's spooler hands each job to
# spool.sh, which leaves it as pages and text in this build's print-jobs.
if(WIN32)
  add_executable(kt_test_printer print/test_printer.cpp)
  target_link_libraries(kt_test_printer PRIVATE winspool advapi32)
  target_link_options(kt_test_printer PRIVATE -static)
  add_executable(kt_print_tests win/print_test.cpp)
  target_include_directories(kt_print_tests PRIVATE win)
  target_link_libraries(kt_print_tests PRIVATE kt_test_support comctl32)
  target_link_options(kt_print_tests PRIVATE -static)
  # Wine's drive Z: is the root of the file system.
  string(REPLACE "/" "\\" kt_ppd "Z:${CMAKE_CURRENT_SOURCE_DIR}/print/kt_test.ppd")
  string(REPLACE "/" "\\" kt_jobs "Z:${CMAKE_BINARY_DIR}/print-jobs/")
  set(kt_spool "|/bin/sh ${CMAKE_CURRENT_SOURCE_DIR}/print/spool.sh ${CMAKE_BINARY_DIR}/print-jobs")
  add_test(NAME ${KT_BUILD_TAG}/print_setup COMMAND kt_test_printer install ${kt_ppd} ${kt_spool})
  add_test(NAME ${KT_BUILD_TAG}/kt_print_tests COMMAND kt_print_tests)
  add_test(NAME ${KT_BUILD_TAG}/print_cleanup COMMAND kt_test_printer remove)
  set_tests_properties(${KT_BUILD_TAG}/print_setup PROPERTIES FIXTURES_SETUP kt_printer)
  set_tests_properties(${KT_BUILD_TAG}/kt_print_tests PROPERTIES FIXTURES_REQUIRED kt_printer
    RESOURCE_LOCK "kt_printer;kt_foreground" ENVIRONMENT "KT_PRINT_JOBS=${kt_jobs}")
  set_tests_properties(${KT_BUILD_TAG}/print_cleanup PROPERTIES FIXTURES_CLEANUP kt_printer)
  set_tests_properties(${KT_BUILD_TAG}/print_setup ${KT_BUILD_TAG}/print_cleanup
    PROPERTIES RESOURCE_LOCK kt_printer)
endif()
