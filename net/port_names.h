// Which string of the library's table names a well-known port.
#pragma once

#include "ktutil.h"

namespace kt {

constexpr DWORD kProtoTcp = 6;
constexpr DWORD kProtoUdp = 17;

// String id of the service on hostPort, or 0 when it has no name. Ports
// 512, 513 and 520 name different services for TCP and UDP.
UINT ServiceNameId(DWORD ipProto, WORD hostPort);
// "TCP ", "UDP " or "".
const char *ProtocolPrefix(DWORD ipProto);

}  // namespace kt
