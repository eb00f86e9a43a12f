list(APPEND KT_PORTABLE_TESTS
  portable/datetime_values_test.cpp
)
list(APPEND KT_WIN_TESTS
  win/datetime_oracle_test.cpp
)

# Texts and local time under two time zones (one in daylight saving time in
# December, one without) and two user locales with different date, time and
# decimal separators. Wine takes both from its process environment; the
# program checks that it did.
if(WIN32)
  add_executable(kt_datetime_text_tests win/datetime_text_test.cpp)
  target_link_libraries(kt_datetime_text_tests PRIVATE kt_test_support)
  target_link_options(kt_datetime_text_tests PRIVATE -static)
  foreach(setting "utc_en_us;UTC;en_US;0;409" "sydney_fi;Australia/Sydney;fi_FI;-600;40b"
                  "new_york_de;America/New_York;de_DE;300;407")
    list(GET setting 0 name)
    list(GET setting 1 zone)
    list(GET setting 2 locale)
    list(GET setting 3 bias)
    list(GET setting 4 lcid)
    add_test(NAME ${KT_BUILD_TAG}/kt_datetime_text_${name} COMMAND kt_datetime_text_tests)
    set_tests_properties(${KT_BUILD_TAG}/kt_datetime_text_${name} PROPERTIES ENVIRONMENT
      "TZ=${zone};LC_ALL=${locale};KT_EXPECT_BIAS=${bias};KT_EXPECT_LCID=${lcid}")
  endforeach()
endif()
