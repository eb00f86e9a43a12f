list(APPEND KT_PORTABLE_TESTS portable/core_test.cpp)
list(APPEND KT_WIN_TESTS
  win/format_test.cpp
  win/lifecycle_test.cpp
  win/resources_test.cpp
)
list(APPEND KT_RELEASE_TESTS
  win/platform_flags_test.cpp
)
