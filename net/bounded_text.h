// Bounded text without a formatter: the address and port writers are called
// per packet by the monitor, so they avoid printf. Same result rule as
// wsnprintf: the count written, size - 1 when cut, -1 for size 0.
#pragma once

namespace kt {

class BoundedText {
 public:
  BoundedText(char *dest, int size)
      : dest_(dest), room_(dest != nullptr && size > 0 ? size - 1 : -1) {}

  void Put(char c) {
    if (length_ < room_) dest_[length_++] = c;
  }
  void Put(const char *text) {
    for (; *text != '\0' && length_ < room_; ++text) dest_[length_++] = *text;
  }
  void PutDecimal(unsigned value) {
    char digits[10];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    while (n > 0) Put(digits[--n]);
  }
  // Terminates and returns the count written.
  int Finish() {
    if (room_ < 0) return -1;
    dest_[length_] = '\0';
    return length_;
  }

 private:
  char *dest_;
  int room_;
  int length_ = 0;
};

}  // namespace kt
