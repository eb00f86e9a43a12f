// URL and version parsing over arbitrary text with small buffers.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "ktutil.h"

namespace {

const KTKEYWORD kSchemes[] = {
    {nullptr, 0, 0, nullptr},
    {"ftp", 2, 0, nullptr},
    {"http", 1, 0, nullptr},
    {nullptr, 0, 0, nullptr},
};
const KTKEYWORD kProtocols[] = {
    {nullptr, 0, 0, nullptr},
    {"http", 1, 0, nullptr},
    {nullptr, 0, 0, nullptr},
};

std::unique_ptr<char[]> Terminated(const uint8_t *data, size_t size, size_t room) {
  std::unique_ptr<char[]> text(new char[size + 1 + room]);
  std::memcpy(text.get(), data, size);
  text[size] = '\0';
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  // Maxima 0 to 7 from the first byte; each buffer is exactly max + 1.
  const DWORD pathMax = data[0] & 7, hostMax = (data[0] >> 3) & 7,
              queryMax = data[0] >> 6;
  ++data;
  --size;
  std::unique_ptr<char[]> text = Terminated(data, size, 0);
  const DWORD length = static_cast<DWORD>(std::strlen(text.get()));

  std::unique_ptr<char[]> path(new char[pathMax + 1]), host(new char[hostMax + 1]),
      query(new char[queryMax + 1]);
  URLADDRESS address{};
  DWORD cursor = 0;
  ParseURL(kSchemes, text.get(), &cursor, path.get(), pathMax, host.get(), hostMax,
           query.get(), queryMax, &address);
  if (cursor > length) std::abort();

  cursor = 0;
  ParseVersion(kProtocols, text.get(), &cursor);
  if (cursor > length) std::abort();

  // The url gets a blank appended: room for exactly one more character.
  std::unique_ptr<char[]> url = Terminated(data, size, 1);
  std::unique_ptr<char[]> scheme(new char[KT_URLPART_SIZE]),
      hostPort(new char[KT_URLPART_SIZE]), urlPath(new char[KT_URLPART_SIZE]);
  ParseHTTPUrl(url.get(), scheme.get(), hostPort.get(), urlPath.get());
  return 0;
}
