list(APPEND KT_PORTABLE_TESTS portable/md5_test.cpp)
if(WIN32)
  # ktinfo's streamed digest of a binary file against md5sum's.
  add_test(NAME ${KT_BUILD_TAG}/ktinfo_md5
    COMMAND ${CMAKE_COMMAND} -DWINE_RUN=${CMAKE_SOURCE_DIR}/tools/wine-run
            -DPREFIX=${KT_WINE_PREFIX} -DKTINFO=$<TARGET_FILE:ktinfo>
            -DFILE=$<TARGET_FILE_NAME:ktutil>
            -P ${CMAKE_CURRENT_SOURCE_DIR}/md5_ktinfo_check.cmake
    WORKING_DIRECTORY $<TARGET_FILE_DIR:ktutil>)
endif()

# The HTTP client against servers of the test command's own on 127.0.0.1:
# an origin server answering by script and recording every request, and
# tinyproxy. The entries set the prefix's real proxy settings (and every
# POST depends on them): they must not overlap anything else that does.
if(WIN32)
  add_executable(kt_http_tests win/http_test.cpp)
  target_link_libraries(kt_http_tests PRIVATE kt_test_support)
  target_link_options(kt_http_tests PRIVATE -static)
  set(kt_with_servers python3 ${CMAKE_CURRENT_SOURCE_DIR}/servers/harness.py
      --scripts ${CMAKE_CURRENT_SOURCE_DIR}/servers/http_scripts.py --proxy --
      ${CMAKE_SOURCE_DIR}/tools/wine-run ${KT_WINE_PREFIX})
  add_test(NAME ${KT_BUILD_TAG}/kt_http_tests
    COMMAND ${kt_with_servers} $<TARGET_FILE:kt_http_tests>)
  # ktinfo fetches and posts: status, length and digest of the body.
  add_test(NAME ${KT_BUILD_TAG}/ktinfo_get
    COMMAND ${kt_with_servers} $<TARGET_FILE:ktinfo> get http://127.0.0.1:{origin}/reply/ok/hello)
  add_test(NAME ${KT_BUILD_TAG}/ktinfo_post
    COMMAND ${kt_with_servers} $<TARGET_FILE:ktinfo> post http://localhost:{origin}/reply/nul/x a=1)
  set_tests_properties(${KT_BUILD_TAG}/ktinfo_get PROPERTIES PASS_REGULAR_EXPRESSION
    "status: 200\nlength: 5\nmd5: +5d41402abc4b2a76b9719d911017c592")
  set_tests_properties(${KT_BUILD_TAG}/ktinfo_post PROPERTIES PASS_REGULAR_EXPRESSION
    "locating localhost:[0-9]+ /reply/nul/x\n.*receiving.*\nfinished, completed\nstatus: 200\nlength: 5\nmd5: +b69c7fbcb4dda9fdd1b192fbeea0a5cb")
  set_tests_properties(${KT_BUILD_TAG}/kt_http_tests ${KT_BUILD_TAG}/ktinfo_get
    ${KT_BUILD_TAG}/ktinfo_post PROPERTIES RESOURCE_LOCK ktutil_proxy_settings)
endif()
list(APPEND KT_PORTABLE_TESTS portable/http_text_test.cpp)
if(WIN32)
  # Internal to the DLL: the Windows test program builds them in.
  list(APPEND KT_PORTABLE_TESTS ${CMAKE_SOURCE_DIR}/web/form_field.cpp
    ${CMAKE_SOURCE_DIR}/web/http_message.cpp ${CMAKE_SOURCE_DIR}/web/response_buffer.cpp)
endif()

# The update agent against an update server of the test command's own,
# reached through the product's proxy values; the shell's http handler is
# the test program itself while it runs.
list(APPEND KT_PORTABLE_TESTS portable/update_answer_test.cpp)
if(WIN32)
  list(APPEND KT_PORTABLE_TESTS ${CMAKE_SOURCE_DIR}/web/update_answer.cpp)
  add_executable(kt_update_tests win/update_test.cpp)
  target_link_libraries(kt_update_tests PRIVATE kt_test_support)
  target_link_options(kt_update_tests PRIVATE -static)
  add_test(NAME ${KT_BUILD_TAG}/kt_update_tests
    COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/servers/harness.py
            --scripts ${CMAKE_CURRENT_SOURCE_DIR}/servers/update_scripts.py --
            ${CMAKE_SOURCE_DIR}/tools/wine-run ${KT_WINE_PREFIX} $<TARGET_FILE:kt_update_tests>)
  set_tests_properties(${KT_BUILD_TAG}/kt_update_tests PROPERTIES
    RESOURCE_LOCK "ktutil_proxy_settings;ktutil_url_handler;kt_foreground")
  # ktinfo's background check deletes an offer the server no longer makes.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(kt_registry_view 64)
  else()
    set(kt_registry_view 32)
  endif()
  add_test(NAME ${KT_BUILD_TAG}/ktinfo_update
    COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/servers/harness.py
            --scripts ${CMAKE_CURRENT_SOURCE_DIR}/servers/update_scripts.py --
            sh ${CMAKE_CURRENT_SOURCE_DIR}/ktinfo_update_check.sh
            ${CMAKE_SOURCE_DIR}/tools/wine-run ${KT_WINE_PREFIX} $<TARGET_FILE:ktinfo>
            ${kt_registry_view})
  set_tests_properties(${KT_BUILD_TAG}/ktinfo_update PROPERTIES
    RESOURCE_LOCK ktutil_proxy_settings)
endif()
