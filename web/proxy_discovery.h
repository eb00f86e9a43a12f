// Where a form POST connects when a proxy is configured.
#pragma once

#include <windows.h>

namespace kt {

struct ProxySetting {
  char server[257];  // at most 256 characters
  DWORD port;        // host order
};

// The browser's setting when it enables a proxy (whatever its server text),
// else the product's own one when it is complete; false for no proxy.
bool DiscoverProxy(ProxySetting *proxy);

}  // namespace kt
