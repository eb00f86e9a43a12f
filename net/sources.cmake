# Network information: address, port and protocol text, name lookup; the
# network cards with their TCP/IP and DHCP settings; the adapter table.
list(APPEND KT_PORTABLE_SOURCES
  net/address_text.cpp
  net/dhcp_records.cpp
  net/port_text.cpp
  net/tcp_replies.cpp
)
list(APPEND KT_WINDOWS_SOURCES
  net/adapter_table.cpp
  net/card_settings.cpp
  net/card_table.cpp
  net/name_lookup.cpp
  net/port_string.cpp
)
list(APPEND KT_WINDOWS_LIBS wsock32 advapi32)
