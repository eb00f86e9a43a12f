# Network information: address, port and protocol text, name lookup.
list(APPEND KT_PORTABLE_SOURCES
  net/address_text.cpp
  net/port_text.cpp
)
list(APPEND KT_WINDOWS_SOURCES
  net/name_lookup.cpp
  net/port_string.cpp
)
list(APPEND KT_WINDOWS_LIBS wsock32)
