kt_add_fuzzer(http_text_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/http_text_fuzz.cpp)
