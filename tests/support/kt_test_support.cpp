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

void ScratchKey::SetRaw(const char *value, DWORD type, const void *bytes, DWORD size) {
  RegSetValueExA(key_, value, 0, type, static_cast<const BYTE *>(bytes), size);
}

void ScratchKey::SetString(const char *value, const std::string &text) {
  SetRaw(value, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void ScratchKey::SetDword(const char *value, DWORD number) {
  SetRaw(value, REG_DWORD, &number, sizeof number);
}

std::optional<std::string> ScratchKey::GetString(const char *value) const {
  char buf[4096];
  DWORD size = sizeof buf, type = 0;
  if (RegQueryValueExA(key_, value, nullptr, &type, reinterpret_cast<BYTE *>(buf), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::nullopt;
  return std::string(buf, strnlen(buf, size));
}

std::optional<DWORD> ScratchKey::GetDword(const char *value) const {
  DWORD number = 0, size = sizeof number, type = 0;
  if (RegQueryValueExA(key_, value, nullptr, &type, reinterpret_cast<BYTE *>(&number),
                       &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return std::nullopt;
  return number;
}

}  // namespace kttest
