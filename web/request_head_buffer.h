// The request head buffer reserved when the library loads, so that a
// request builds its head without allocating. One request at a time holds
// it; a request made while another holds it builds its head in a buffer of
// its own, so concurrent requests never share one.
#pragma once

#include <atomic>

#include "core/text_buffer.h"

namespace kt {

class RequestHeadBuffer {
 public:
  static constexpr DWORD kReserve = 65536;

  RequestHeadBuffer() { TextReserve(&shared_, kReserve); }
  ~RequestHeadBuffer() { TextClear(&shared_); }
  RequestHeadBuffer(const RequestHeadBuffer &) = delete;
  RequestHeadBuffer &operator=(const RequestHeadBuffer &) = delete;

  // The shared buffer while nobody holds it, else null.
  TextBuffer *Take() { return held_.exchange(true) ? nullptr : &shared_; }
  void Give() { held_.store(false); }

 private:
  TextBuffer shared_ = {};
  std::atomic<bool> held_{false};
};

// Made by the first static initialiser of the library (core/dllmain.cpp).
RequestHeadBuffer &SharedRequestHead();

}  // namespace kt
