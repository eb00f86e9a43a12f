# Native only: the map and the hash table against std::unordered_map.
if(NOT WIN32)
  kt_add_bench(containers_bench ${CMAKE_CURRENT_SOURCE_DIR}/containers_bench.cpp)
endif()
