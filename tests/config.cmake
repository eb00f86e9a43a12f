list(APPEND KT_PORTABLE_TESTS
  portable/scramble_test.cpp
)
if(WIN32)
  # The table is internal to the DLL: the Windows test program builds it in.
  list(APPEND KT_PORTABLE_TESTS ${CMAKE_SOURCE_DIR}/config/scramble.cpp)
endif()
list(APPEND KT_WIN_TESTS
  win/debug_log_test.cpp
  win/registry_values_test.cpp
)

if(WIN32)
  # Debug-log settings are read once per process: the tests watch fresh
  # processes of this program as their debugger.
  add_executable(debug_log_child win/debug_log_child.cpp)
  target_link_libraries(debug_log_child PRIVATE ktutil)
  target_link_options(debug_log_child PRIVATE -static)
endif()
