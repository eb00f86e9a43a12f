# Containers: hash table, map, multimap, block hash.
list(APPEND KT_PORTABLE_SOURCES
  containers/block_hash.cpp
  containers/container_alloc.cpp
  containers/hash_table.cpp
  containers/map.cpp
  containers/multimap.cpp
)
