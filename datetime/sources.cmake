# Date and time: the packed DateTime, its arithmetic, ranges and texts.
list(APPEND KT_PORTABLE_SOURCES
  datetime/calendar.cpp
  datetime/norm_text.cpp
  datetime/pack.cpp
  datetime/ranges.cpp
)
if(WIN32)
  list(APPEND KT_WINDOWS_SOURCES
    datetime/base.cpp
    datetime/date_text.cpp
    datetime/day_text.cpp
    datetime/dos_weekday_win.cpp
    datetime/duration_text.cpp
    datetime/local_time.cpp
  )
else()
  # The platform's DOS-date conversion, for the native build.
  list(APPEND KT_PORTABLE_SOURCES datetime/dos_weekday_native.cpp)
endif()
