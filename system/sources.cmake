# System services: platform tests, file and window-placement helpers; the
# dialog switches of the configuration subsystem build on them.
list(APPEND KT_WINDOWS_SOURCES
  system/files.cpp
  system/os_name.cpp
  system/platform_flags.cpp
  system/security_attributes.cpp
  system/window_place.cpp
  config/dialog_control.cpp
  system/trust_entry.cpp
)
list(APPEND KT_WINDOWS_LIBS user32 shell32 advapi32)
