# Text parsing: tokenizer, keyword lookup, URL, version and pattern parsing.
list(APPEND KT_PORTABLE_SOURCES
  parse/keyword.cpp
  parse/pattern.cpp
  parse/tokenizer.cpp
  parse/url.cpp
  parse/version.cpp
)
