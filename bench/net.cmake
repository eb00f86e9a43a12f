# Address and port text beside inet_ntoa, the card table beside direct
# registry reads (Windows); MD5 beside OpenSSL
# (native, optimised by tools/run-bench).
if(WIN32)
  kt_add_bench(net_text_bench ${CMAKE_CURRENT_SOURCE_DIR}/net_text_bench.cpp)
  target_link_libraries(net_text_bench PRIVATE wsock32)
  # Lays out cards in the shared prefix, as the release tests do.
  kt_add_bench(netcards_bench ${CMAKE_CURRENT_SOURCE_DIR}/netcards_bench.cpp)
  set_tests_properties(${KT_BUILD_TAG}/netcards_bench PROPERTIES RESOURCE_LOCK kt_net_prefix)
else()
  kt_add_bench(md5_bench ${CMAKE_CURRENT_SOURCE_DIR}/md5_bench.cpp)
  add_test(NAME ${KT_BUILD_TAG}/md5_vs_openssl
    COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/md5_vs_openssl.sh $<TARGET_FILE:md5_bench>)
  set_tests_properties(${KT_BUILD_TAG}/md5_vs_openssl PROPERTIES LABELS bench)
endif()
