list(APPEND KT_PORTABLE_TESTS portable/net_text_test.cpp)
list(APPEND KT_WIN_TESTS win/net_test.cpp)
list(APPEND KT_WIN_TEST_LIBS wsock32)
if(WIN32)
  # The text buffer helpers are internal to the DLL: the Windows test
  # program carries its own copy of them.
  list(APPEND KT_PORTABLE_TESTS ${CMAKE_SOURCE_DIR}/core/text_buffer.cpp)
endif()
