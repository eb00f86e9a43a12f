list(APPEND KT_PORTABLE_TESTS portable/containers_test.cpp)
