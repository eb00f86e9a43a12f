// An open registry key that closes itself.
#pragma once

#include <windows.h>

namespace kt {

// The product's key under HKEY_LOCAL_MACHINE (and, per user, HKEY_CURRENT_USER).
constexpr const char kProductKey[] = "Software\\Tessaly";

class RegKey {
 public:
  RegKey() = default;
  explicit RegKey(HKEY key) : key_(key) {}
  ~RegKey() { reset(); }
  RegKey(RegKey &&other) noexcept : key_(other.release()) {}
  RegKey &operator=(RegKey &&other) noexcept {
    reset(other.release());
    return *this;
  }
  RegKey(const RegKey &) = delete;
  RegKey &operator=(const RegKey &) = delete;

  // Both return the platform's error code, 0 for success.
  LONG Open(HKEY root, const char *path, REGSAM access = KEY_READ) {
    reset();
    return RegOpenKeyExA(root, path, 0, access, &key_);
  }
  LONG Create(HKEY root, const char *path, REGSAM access = KEY_ALL_ACCESS) {
    reset();
    return RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                           nullptr, &key_, nullptr);
  }

  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  HKEY release() {
    HKEY key = key_;
    key_ = nullptr;
    return key;
  }
  void reset(HKEY key = nullptr) {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = key;
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace kt
