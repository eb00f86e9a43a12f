// A whole HTTP response as it is received, kept so that receiving costs time
// in proportion to its size: the head, with whatever arrives alongside it,
// in one block that grows until the empty line ending the head is in it,
// then the body in blocks of doubling size that are never copied before
// the caller gets them. Portable.
#pragma once

#include <stddef.h>

#include "ktutil.h"

namespace kt {

class ResponseBuffer {
 public:
  ResponseBuffer() = default;
  ~ResponseBuffer();
  ResponseBuffer(const ResponseBuffer &) = delete;
  ResponseBuffer &operator=(const ResponseBuffer &) = delete;

  // Where the next bytes go and how many fit there; null when memory runs
  // out or the response would no longer fit a TextBuffer.
  char *Room(size_t *room);
  // count bytes were written at Room().
  void Received(size_t count);

  // The status code, or -1 when the response does not start with a status line.
  int Status() const;
  bool HasEmptyLine() const { return bodyAt_ != kNotFound; }
  // Appends every byte after the head's empty line as one TextBuffer append
  // (reserving exactly what is needed); false when the buffer cannot grow.
  bool AppendBody(TextBuffer *text) const;

 private:
  struct Block {
    char *data;
    size_t size, capacity;
  };
  static constexpr size_t kNotFound = ~size_t(0);
  // Doubling from 64 KiB, 4 GiB fill fewer than 20 blocks.
  Block blocks_[20] = {};
  int count_ = 0;
  size_t total_ = 0, bodyAt_ = kNotFound;
};

}  // namespace kt
