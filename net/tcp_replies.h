// The TCP driver's query interface: the request record and the walk over
// its replies that fills the adapter table. Portable: the platform's side
// only carries the requests (adapter_table.cpp).
#pragma once

#include "ktutil.h"

namespace kt {

// The platform's query record: which object and what of it, then a context
// the caller zeroes. Its words are pointer-sized, so the record is 36 bytes
// on 32-bit builds and 40 on 64-bit ones, as the platform defines it.
struct TcpRequest {
  DWORD entity, instance, infoClass, infoType, infoId;
  UINT_PTR context[16 / sizeof(UINT_PTR)];
};

// Every reply is read into this many bytes; what does not fit is not seen.
constexpr DWORD kReplyRoom = 4096;

// Sends one request; returns the reply's byte count, 0 when it failed.
using TcpQuery = DWORD (*)(void *channel, const TcpRequest &request, BYTE *reply,
                           DWORD room);

// Clears the table (capacity records; adapters may be NULL) and the
// highest index (may be NULL).
void ClearAdapterTable(IpAdapterInfo *adapters, DWORD capacity, DWORD *highestIndex);

// Fills the cleared table from the driver. Routes are rows of routeRowSize
// bytes: 52 on the NT family, 48 on 95/98.
void ReadAdapterTable(TcpQuery query, void *channel, DWORD routeRowSize,
                      IpAdapterInfo *adapters, DWORD capacity, DWORD *highestIndex);

}  // namespace kt
