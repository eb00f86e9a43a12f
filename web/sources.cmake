# Web client and update agent: the MD5 digest so far.
list(APPEND KT_PORTABLE_SOURCES
  web/md5.cpp
)
