#include "containers/container_alloc.h"

namespace kt {

ContainerAllocFn g_containerAlloc = std::calloc;

}  // namespace kt
