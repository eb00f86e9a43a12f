// Response parsing over arbitrary bytes, in one piece and received in small
// pieces, and form fields that must decode back to what was encoded.
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "web/form_field.h"
#include "web/http_message.h"
#include "web/response_buffer.h"

namespace {

std::string Decode(const char *text, size_t length) {
  std::string out;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%') {
      out += static_cast<char>(std::strtoul(std::string(text + i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // An exact-size copy: reading past the length is caught.
  std::vector<char> response(data, data + size);
  const int status = kt::ParseStatusLine(response.data(), size);
  if (status < -1) std::abort();
  const size_t body = kt::FindBody(response.data(), size);
  if (body != size + 1 && (body < 4 || body > size || std::memcmp(&response[body - 4], "\r\n\r\n", 4)))
    std::abort();

  // Received a few bytes at a time, the response reads the same.
  kt::ResponseBuffer pieces;
  const size_t piece = size > 0 ? data[0] % 7 + 1 : 1;
  for (size_t at = 0, room = 0; at < size; at += room) {
    char *into = pieces.Room(&room);
    room = std::min({room, piece, size - at});
    std::memcpy(into, data + at, room);
    pieces.Received(room);
  }
  TextBuffer received = {};
  if (pieces.Status() != status || pieces.AppendBody(&received) != (body <= size) ||
      (body <= size && (received.length != size - body ||
                        std::memcmp(received.data, data + body, size - body))))
    std::abort();
  std::free(received.data);

  const std::string value(reinterpret_cast<const char *>(data), size);
  TextBuffer form = {};
  if (!kt::AppendFormField(&form, "n", value.c_str())) std::abort();
  // Only letters, digits, "+" and "%" escapes may follow "n=": a bare "&"
  // or "=" would split the field.
  static const char kEncoded[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+%";
  const std::string expected = value.c_str();  // up to the first NUL
  if (expected.empty() ? form.length != 0
                       : (form.length < 2 || std::memcmp(form.data, "n=", 2) ||
                          std::strspn(form.data + 2, kEncoded) != form.length - 2 ||
                          Decode(form.data + 2, form.length - 2) != expected))
    std::abort();
  std::free(form.data);
  return 0;
}
