# GET of a 64 MiB body beside curl's, both from the tests' origin server.
if(WIN32)
  add_executable(http_get_bench ${CMAKE_CURRENT_SOURCE_DIR}/http_get_bench.cpp)
  target_link_libraries(http_get_bench PRIVATE ktutil wsock32)
  target_link_options(http_get_bench PRIVATE -static)
  add_test(NAME ${KT_BUILD_TAG}/http_vs_curl
    COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/servers/harness.py
            --scripts ${CMAKE_SOURCE_DIR}/tests/servers/http_scripts.py --
            sh ${CMAKE_CURRENT_SOURCE_DIR}/http_vs_curl.sh ${CMAKE_SOURCE_DIR}/tools/wine-run
            ${KT_WINE_PREFIX} $<TARGET_FILE:http_get_bench>)
  set_tests_properties(${KT_BUILD_TAG}/http_vs_curl PROPERTIES LABELS bench)
endif()
