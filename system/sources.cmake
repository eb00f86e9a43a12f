# System services: platform tests, file and window-placement helpers; the
# dialog switches of the configuration subsystem build on them. Processes,
# the system report, file facts and user identity. The password dialog,
# service login and control, and the installer's entry points.
list(APPEND KT_PORTABLE_SOURCES
  system/version_resource.cpp
)
list(APPEND KT_WINDOWS_SOURCES
  system/files.cpp
  system/os_name.cpp
  system/platform_flags.cpp
  system/security_attributes.cpp
  system/window_place.cpp
  config/dialog_control.cpp
  system/app_info.cpp
  system/module_search.cpp
  system/process_entries.cpp
  system/process_info.cpp
  system/sid_text.cpp
  system/system_report.cpp
  system/trust_entry.cpp
  system/user_identity.cpp
  system/version_block.cpp
  system/vxd_version.cpp
  system/password_dialog.cpp
  system/monitor_login.cpp
  system/service_control.cpp
  system/installer_entries.cpp
)
list(APPEND KT_WINDOWS_LIBS user32 shell32 advapi32 version wsock32)
