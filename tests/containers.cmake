list(APPEND KT_PORTABLE_TESTS
  portable/hash_table_test.cpp
  portable/multimap_test.cpp
)
# The DLL does not export the allocator hook or the block hash: native only.
if(NOT WIN32)
  list(APPEND KT_PORTABLE_TESTS portable/hash_internal_test.cpp)
endif()
