// Storage of the containers: handles, slot arrays and multimap nodes.
#pragma once

#include <cstddef>
#include <cstdlib>

namespace kt {

// Zeroed allocation (calloc's contract). Replaceable so that tests can make
// an allocation fail; growth must then leave a container working as it was.
using ContainerAllocFn = void *(*)(size_t count, size_t size);
extern ContainerAllocFn g_containerAlloc;

inline void *ContainerAlloc(size_t count, size_t size) {
  return g_containerAlloc(count, size);
}
inline void ContainerFree(void *block) { std::free(block); }

}  // namespace kt
