kt_add_fuzzer(containers_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/containers_fuzz.cpp)
