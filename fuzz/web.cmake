kt_add_fuzzer(http_text_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/http_text_fuzz.cpp)
kt_add_fuzzer(update_answer_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/update_answer_fuzz.cpp)
