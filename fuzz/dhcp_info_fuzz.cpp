// The 95 lease record reader over records of any length: a field is read
// only when the record is at most 64 bytes and holds it, and then as stored.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "net/dhcp_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::vector<BYTE> record(data, data + size);  // exactly its size
  for (kt::DhcpInfoField field :
       {kt::kDhcpAddress, kt::kDhcpMask, kt::kDhcpServer, kt::kDhcpLease,
        kt::kDhcpObtained, kt::kDhcpT1, kt::kDhcpT2, kt::kDhcpTerminates}) {
    DWORD value = 0;
    const bool read = kt::ReadDhcpInfo(record.data(), record.size(), field, &value);
    if (read != (size <= kt::kDhcpInfoMaxBytes && size >= field + 4)) abort();
    if (read && memcmp(&value, data + field, 4) != 0) abort();
  }
  return 0;
}
