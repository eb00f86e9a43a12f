// A kernel handle that closes itself.
#pragma once

#include <windows.h>

namespace kt {

// NULL and INVALID_HANDLE_VALUE both mean "none": the platform answers
// failure with either, depending on the call.
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle = nullptr) { reset(handle); }
  ~OwnedHandle() { reset(); }
  OwnedHandle(const OwnedHandle &) = delete;
  OwnedHandle &operator=(const OwnedHandle &) = delete;

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // For calls that hand a new handle back through a pointer.
  HANDLE *receive() {
    reset();
    return &handle_;
  }
  void reset(HANDLE handle = nullptr) {
    if (handle_ != nullptr) CloseHandle(handle_);
    handle_ = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace kt
