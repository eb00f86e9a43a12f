kt_add_fuzzer(address_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/address_fuzz.cpp)
kt_add_fuzzer(port_pair_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/port_pair_fuzz.cpp)
