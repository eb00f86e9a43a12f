// A destination of a given size followed by guard bytes, for checking that a
// bounded writer never writes past the size it was given.
#pragma once

#include <cstring>
#include <string>
#include <vector>

namespace kttest {

class CanaryBuffer {
 public:
  static constexpr unsigned char kFill = 0xA5;
  static constexpr int kGuard = 16;

  explicit CanaryBuffer(int size) : size_(size), bytes_(size + kGuard, kFill) {}

  char *data() { return size_ == 0 ? nullptr : reinterpret_cast<char *>(bytes_.data()); }
  // Non-null even for size 0, so a writer that ignores the size is caught.
  char *raw() { return reinterpret_cast<char *>(bytes_.data()); }
  int size() const { return size_; }
  std::string text() const {
    return std::string(reinterpret_cast<const char *>(bytes_.data()),
                       strnlen(reinterpret_cast<const char *>(bytes_.data()), size_));
  }
  bool Intact() const {
    for (int i = size_; i < size_ + kGuard; ++i)
      if (bytes_[i] != kFill) return false;
    return true;
  }
  // Terminated within the size (always true of a bounded writer's output).
  bool Terminated() const {
    return size_ > 0 && memchr(bytes_.data(), 0, size_) != nullptr;
  }

 private:
  int size_;
  std::vector<unsigned char> bytes_;
};

}  // namespace kttest
