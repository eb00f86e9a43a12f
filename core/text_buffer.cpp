// TextBuffer storage uses malloc and free, so that a caller of the DLL
// built with the same C run-time can release it with free.
#include "text_buffer.h"

#include <stdlib.h>
#include <string.h>

static_assert(sizeof(void *) != 4 || sizeof(TextBuffer) == 12, "TextBuffer layout");

namespace kt {

bool TextReserve(TextBuffer *text, DWORD size) {
  if (text == nullptr) return false;
  if (size <= text->capacity) return true;
  char *grown = static_cast<char *>(malloc(size));
  if (grown == nullptr) return false;
  if (text->data != nullptr) memcpy(grown, text->data, text->length);
  free(text->data);
  // Keeps the text terminated: the old terminator is not among the used bytes.
  if (size > text->length) grown[text->length] = '\0';
  text->data = grown;
  text->capacity = size;
  return true;
}

bool TextAppend(TextBuffer *text, const void *bytes, DWORD count) {
  if (text == nullptr || (bytes == nullptr && count > 0)) return false;
  // length + count + 1 must not wrap around 32 bits.
  if (count > 0xFFFFFFFEu - text->length) return false;
  if (!TextReserve(text, text->length + count + 1)) return false;
  if (count > 0) memcpy(text->data + text->length, bytes, count);
  text->length += count;
  text->data[text->length] = '\0';
  return true;
}

bool TextAppend(TextBuffer *text, const char *zeroTerminated) {
  if (zeroTerminated == nullptr) zeroTerminated = "";
  return TextAppend(text, zeroTerminated, static_cast<DWORD>(strlen(zeroTerminated)));
}

void TextClear(TextBuffer *text) {
  if (text == nullptr) return;
  free(text->data);
  text->data = nullptr;
  text->capacity = 0;
  text->length = 0;
}

const char *TextOf(const TextBuffer *text) {
  return (text == nullptr || text->data == nullptr) ? "" : text->data;
}

}  // namespace kt
