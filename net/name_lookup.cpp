// Host-name lookups through Windows Sockets 1.1, started when the library
// loads.
#include <string.h>
#include <winsock.h>

#include "ktutil.h"

namespace {

// The lookup's result lives in the thread's own area of Windows Sockets and
// is overwritten by the next call: copy out before returning.
hostent *LookUp(LPCSTR name) {
  hostent *host = gethostbyname(name);
  if (host == nullptr || host->h_addrtype != AF_INET || host->h_length != 4 ||
      host->h_addr_list == nullptr)
    return nullptr;
  return host;
}

}  // namespace

extern "C" DWORD KTAPI NameToIPAddr(LPCSTR name) {
  hostent *host = LookUp(name);
  if (host == nullptr || host->h_addr_list[0] == nullptr) return 0;
  DWORD address;
  memcpy(&address, host->h_addr_list[0], 4);
  return address;
}

extern "C" int KTAPI NameToIPAddresses(LPCSTR name, DWORD *addresses, int capacity) {
  if (addresses == nullptr || capacity <= 0) return 0;
  hostent *host = LookUp(name);
  if (host == nullptr) return 0;
  int count = 0;
  for (; count < capacity && host->h_addr_list[count] != nullptr; ++count)
    memcpy(&addresses[count], host->h_addr_list[count], 4);
  return count;
}

extern "C" HANDLE KTAPI NameToIPAddressesAsync(HWND window, UINT message, LPCSTR name,
                                               LPSTR buffer, int length) {
  return WSAAsyncGetHostByName(window, message, name, buffer, length);
}

extern "C" int KTAPI CancelAsyncLookup(HANDLE task) {
  return WSACancelAsyncRequest(task);
}
