# Library core, diagnostics: the debug log and the performance counters.
list(APPEND KT_WINDOWS_SOURCES
  core/debug_log.cpp
  core/perf_counter.cpp
)
list(APPEND KT_WINDOWS_LIBS advapi32)
