list(APPEND KT_PORTABLE_TESTS
  portable/pattern_test.cpp
  portable/parse_test.cpp
)
