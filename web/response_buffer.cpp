#include "web/response_buffer.h"

#include <stdlib.h>
#include <string.h>

#include "core/text_buffer.h"
#include "web/http_message.h"

namespace kt {
namespace {

constexpr size_t kFirstBlock = 65536;
// The body must fit a TextBuffer: its length plus a terminator in 32 bits.
constexpr size_t kMostBytes = 0xFFFFFFFEu;

}  // namespace

ResponseBuffer::~ResponseBuffer() {
  for (int i = 0; i < count_; ++i) free(blocks_[i].data);
}

char *ResponseBuffer::Room(size_t *room) {
  Block *last = count_ > 0 ? &blocks_[count_ - 1] : nullptr;
  if (last == nullptr || last->size == last->capacity) {
    if (total_ >= kMostBytes) return nullptr;
    // Each growth doubles the room held.
    size_t size = last == nullptr ? kFirstBlock : total_;
    if (size > kMostBytes - total_) size = kMostBytes - total_;
    if (last != nullptr && !HasEmptyLine()) {
      // Still in the head: it stays in one piece.
      char *grown = static_cast<char *>(realloc(last->data, last->size + size));
      if (grown == nullptr) return nullptr;
      last->data = grown;
      last->capacity = last->size + size;
    } else {
      if (count_ == sizeof blocks_ / sizeof *blocks_) return nullptr;
      char *data = static_cast<char *>(malloc(size));
      if (data == nullptr) return nullptr;
      last = &blocks_[count_++];
      *last = {data, 0, size};
    }
  }
  *room = last->capacity - last->size;
  return last->data + last->size;
}

void ResponseBuffer::Received(size_t count) {
  Block &last = blocks_[count_ - 1];
  // Before the empty line is found there is one block; the three bytes
  // before this chunk may hold the start of the line ending.
  const size_t from = !HasEmptyLine() && last.size > 3 ? last.size - 3 : 0;
  last.size += count;
  total_ += count;
  if (!HasEmptyLine()) {
    const size_t at = FindBody(last.data + from, last.size - from);
    if (at <= last.size - from) bodyAt_ = from + at;
  }
}

int ResponseBuffer::Status() const {
  // The status line cannot run past the head's empty line, so the first
  // block holds all of it.
  return count_ == 0 ? -1 : ParseStatusLine(blocks_[0].data, blocks_[0].size);
}

bool ResponseBuffer::AppendBody(TextBuffer *text) const {
  if (!HasEmptyLine()) return false;
  const size_t count = total_ - bodyAt_;
  if (count > 0xFFFFFFFEu - text->length ||
      !TextReserve(text, static_cast<DWORD>(text->length + count + 1)))
    return false;
  char *out = text->data + text->length;
  for (int i = 0; i < count_; ++i) {
    const size_t skip = i == 0 ? bodyAt_ : 0;
    memcpy(out, blocks_[i].data + skip, blocks_[i].size - skip);
    out += blocks_[i].size - skip;
  }
  *out = '\0';
  text->length += static_cast<DWORD>(count);
  return true;
}

}  // namespace kt
