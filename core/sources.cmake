# Library core: lifecycle, formatting, strings, flags.
list(APPEND KT_PORTABLE_SOURCES
  core/bits.cpp
  core/file_name.cpp
  core/text.cpp
)
list(APPEND KT_WINDOWS_SOURCES
  core/dllmain.cpp
  core/fault_guard.cpp
  core/format.cpp
  core/lifecycle.cpp
  core/rformat.cpp
  core/system_info.cpp
)
list(APPEND KT_WINDOWS_LIBS wsock32 user32 gdi32)
include(${CMAKE_CURRENT_LIST_DIR}/text_buffer_sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/diag_sources.cmake)
