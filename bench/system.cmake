# Processes and file facts (Windows): the module search beside a bare
# enumeration loop, and GetAppInfo's checksum and digest beside md5sum.
if(WIN32)
  kt_add_bench(module_search_bench ${CMAKE_CURRENT_SOURCE_DIR}/module_search_bench.cpp)
  target_link_libraries(module_search_bench PRIVATE psapi)
  add_executable(app_info_bench ${CMAKE_CURRENT_SOURCE_DIR}/app_info_bench.cpp)
  target_link_libraries(app_info_bench PRIVATE ktutil)
  target_link_options(app_info_bench PRIVATE -static)
  add_test(NAME ${KT_BUILD_TAG}/app_info_vs_md5sum
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/app_info_vs_md5sum.sh
            ${CMAKE_SOURCE_DIR}/tools/wine-run ${KT_WINE_PREFIX} $<TARGET_FILE:app_info_bench>)
  set_tests_properties(${KT_BUILD_TAG}/app_info_vs_md5sum PROPERTIES LABELS bench)
endif()
