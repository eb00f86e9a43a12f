// The adapter-table walk against a driver whose replies come from the input:
// each reply is a 16-bit length, then that many bytes (fewer at the end),
// and the driver may claim more bytes than it wrote. The table must stay
// within its records and hold only what the record allows.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "net/tcp_replies.h"

namespace {

struct Driver {
  const uint8_t *data;
  size_t size;
};

DWORD Answer(void *channel, const kt::TcpRequest &request, BYTE *reply, DWORD room) {
  Driver &driver = *static_cast<Driver *>(channel);
  if (request.context[0] != 0 || driver.size < 2) return 0;
  const DWORD claimed = driver.data[0] | driver.data[1] << 8;
  driver.data += 2;
  driver.size -= 2;
  size_t given = claimed < driver.size ? claimed : driver.size;
  if (given > room) given = room;
  memcpy(reply, driver.data, given);
  driver.data += given;
  driver.size -= given;
  return claimed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  // The first byte picks the capacity (0 for no array) and the route rows.
  const DWORD capacity = data[0] & 0x3F, routeRow = data[0] & 0x40 ? 52 : 48;
  std::vector<IpAdapterInfo> adapters(capacity);
  DWORD highest = 0xFFFFFFFF;
  IpAdapterInfo *table = capacity != 0 ? adapters.data() : nullptr;
  kt::ClearAdapterTable(table, capacity, &highest);
  Driver driver = {data + 1, size - 1};
  kt::ReadAdapterTable(&Answer, &driver, routeRow, table, capacity, &highest);
  if (highest > 255) abort();
  for (DWORD i = 0; i < capacity; ++i) {
    const IpAdapterInfo &a = adapters[i];
    if ((a.index != 0 && a.index != i + 1) || a.index > highest || a.addressCount > 4 ||
        memchr(a.description, 0, 128) == nullptr || a.reserved != 0)
      abort();
  }
  return 0;
}
