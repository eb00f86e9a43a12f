// Port texts with service names from the library's string table.
#include <winsock.h>

#include "core/lifecycle.h"
#include "ktutil.h"
#include "net/bounded_text.h"
#include "net/byte_order.h"
#include "net/port_names.h"

extern "C" int KTAPI GetPortString(DWORD ipProto, WORD port, BOOL withNumber, LPSTR dest,
                                   int size) {
  const WORD hostPort = kt::NetToHostS(port);
  const char *prefix = kt::ProtocolPrefix(ipProto);
  if (UINT id = kt::ServiceNameId(ipProto, hostPort)) {
    if (withNumber) {
      char name[24];
      if (LoadStringA(kt::ModuleHandle(), id, name, sizeof name) > 0) {
        kt::BoundedText out(dest, size);
        out.Put(name);
        out.Put(" (");
        out.Put(prefix);
        out.Put("Port ");
        out.PutDecimal(hostPort);
        out.Put(')');
        return out.Finish();
      }
    } else if (dest != nullptr && size > 0) {
      int length = LoadStringA(kt::ModuleHandle(), id, dest, size);
      if (length > 0) return length;
    }
  }
  kt::BoundedText out(dest, size);
  out.Put(prefix);
  out.Put("Port ");
  out.PutDecimal(hostPort);
  return out.Finish();
}

extern "C" void KTAPI INetAddrToStr(const struct sockaddr_in *address, LPSTR dest,
                                    int size) {
  if (address == nullptr) {
    if (dest != nullptr && size > 0) dest[0] = '\0';
    return;
  }
  IPInfoToStr(address->sin_addr.s_addr, address->sin_port, dest, size);
}
