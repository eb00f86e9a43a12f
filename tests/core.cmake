list(APPEND KT_PORTABLE_TESTS portable/core_test.cpp)
list(APPEND KT_WIN_TESTS
  win/fault_guard_test.cpp
  ${CMAKE_SOURCE_DIR}/core/fault_guard.cpp  # internal to the DLL
  win/format_test.cpp
  win/lifecycle_test.cpp
  win/resources_test.cpp
)
list(APPEND KT_RELEASE_TESTS
  win/platform_flags_test.cpp
)
