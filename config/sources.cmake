# Configuration and registry: single values, scrambled texts, records.
list(APPEND KT_PORTABLE_SOURCES
  config/scramble.cpp
)
list(APPEND KT_WINDOWS_SOURCES
  config/config_record.cpp
  config/registry_values.cpp
)
list(APPEND KT_WINDOWS_LIBS advapi32)
