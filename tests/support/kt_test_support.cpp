#include "kt_test_support.h"

#include <stdexcept>

namespace kttest {

HMODULE KtModule() {
  HMODULE module = GetModuleHandleA("ktutil.dll");
  if (module == nullptr) throw std::runtime_error("ktutil.dll is not loaded");
  return module;
}

ScratchKey::ScratchKey(const std::string &name, HKEY root)
    : root_(root), path_("Software\\Tessaly\\ktutil-test\\" + name) {
  RegDeleteTreeA(root_, path_.c_str());
  if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                      nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create " + path_);
}

ScratchKey::~ScratchKey() {
  RegCloseKey(key_);
  RegDeleteTreeA(root_, path_.c_str());
  // Drop the shared parent too once the last test key under it is gone.
  RegDeleteKeyA(root_, "Software\\Tessaly\\ktutil-test");
}

// The platform's reader checks the type and terminates the text.
std::optional<std::string> ScratchKey::GetString(const char *value) const {
  char buf[4096];
  DWORD size = sizeof buf;
  if (RegGetValueA(key_, nullptr, value,
                   RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, buf,
                   &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(buf);
}

std::optional<DWORD> ScratchKey::GetDword(const char *value) const {
  DWORD number = 0, size = sizeof number;
  if (RegGetValueA(key_, nullptr, value, RRF_RT_REG_DWORD, nullptr, &number, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return number;
}

}  // namespace kttest
