// A destination of a given size followed by guard bytes, for checking that a
// bounded writer never writes past the size it was given.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace kttest {

class CanaryBuffer {
 public:
  static constexpr unsigned char kFill = 0xA5;
  static constexpr int kGuard = 16;

  explicit CanaryBuffer(int size) : size_(size), bytes_(size + kGuard, kFill) {}

  char *data() { return size_ == 0 ? nullptr : raw(); }
  // Non-null even for size 0, so a writer that ignores the size is caught.
  char *raw() { return reinterpret_cast<char *>(bytes_.data()); }
  int size() const { return size_; }
  std::string text() const { return std::string(chars(), strnlen(chars(), size_)); }
  bool Intact() const {
    return std::all_of(bytes_.begin() + size_, bytes_.end(),
                       [](unsigned char b) { return b == kFill; });
  }
  // Terminated within the size (always true of a bounded writer's output).
  bool Terminated() const { return size_ > 0 && memchr(chars(), 0, size_) != nullptr; }

 private:
  const char *chars() const { return reinterpret_cast<const char *>(bytes_.data()); }
  int size_;
  std::vector<unsigned char> bytes_;
};

}  // namespace kttest
