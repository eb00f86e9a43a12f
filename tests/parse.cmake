list(APPEND KT_PORTABLE_TESTS
  portable/pattern_test.cpp
  portable/token_test.cpp
  portable/url_test.cpp
)
