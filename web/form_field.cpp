#include "web/form_field.h"

#include <string.h>

#include "core/text_buffer.h"

namespace kt {
namespace {

bool KeptAsIs(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

size_t EncodedSize(const char *text) {
  size_t size = 0;
  for (const unsigned char *c = reinterpret_cast<const unsigned char *>(text); *c; ++c)
    size += (KeptAsIs(*c) || *c == ' ') ? 1 : 3;
  return size;
}

char *Encode(const char *text, char *out) {
  static const char kHex[] = "0123456789ABCDEF";
  for (const unsigned char *c = reinterpret_cast<const unsigned char *>(text); *c; ++c) {
    if (KeptAsIs(*c)) {
      *out++ = static_cast<char>(*c);
    } else if (*c == ' ') {
      *out++ = '+';
    } else {
      *out++ = '%';
      *out++ = kHex[*c >> 4];
      *out++ = kHex[*c & 15];
    }
  }
  return out;
}

}  // namespace

bool AppendFormField(TextBuffer *form, const char *name, const char *value) {
  if (form == nullptr) return false;
  if (value == nullptr || *value == '\0') return true;
  if (name == nullptr) name = "";
  // Sized first and reserved once, so a field is appended whole or not at all.
  const size_t field = (form->length > 0 ? 1 : 0) + EncodedSize(name) + 1 + EncodedSize(value);
  if (field >= 0xFFFFFFFFu - form->length ||
      !TextReserve(form, static_cast<DWORD>(form->length + field + 1)))
    return false;
  char *out = form->data + form->length;
  if (form->length > 0) *out++ = '&';
  out = Encode(name, out);
  *out++ = '=';
  out = Encode(value, out);
  *out = '\0';
  form->length += static_cast<DWORD>(field);
  return true;
}

}  // namespace kt
