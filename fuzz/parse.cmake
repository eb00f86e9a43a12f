kt_add_fuzzer(tokenizer_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/tokenizer_fuzz.cpp)
kt_add_fuzzer(url_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/url_fuzz.cpp)
kt_add_fuzzer(pattern_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/pattern_fuzz.cpp)
