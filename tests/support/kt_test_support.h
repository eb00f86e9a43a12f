// Helpers shared by the Windows tests: the library's module handle and
// registry keys that clean up after themselves.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kttest {

// The loaded ktutil.dll: the module whose resources the library uses.
HMODULE KtModule();

// A registry key made for one test under root\Software\Tessaly\ktutil-test,
// removed with everything below it when the object goes. A leftover from a
// crashed run is removed first, so every test starts from nothing.
class ScratchKey {
 public:
  explicit ScratchKey(const std::string &name, HKEY root = HKEY_CURRENT_USER);
  ~ScratchKey();
  ScratchKey(const ScratchKey &) = delete;
  ScratchKey &operator=(const ScratchKey &) = delete;

  HKEY root() const { return root_; }
  HKEY key() const { return key_; }
  // Path below the root, for functions that open the key themselves.
  const std::string &path() const { return path_; }

  void SetRaw(const char *value, DWORD type, const void *bytes, DWORD size) {
    RegSetValueExA(key_, value, 0, type, static_cast<const BYTE *>(bytes), size);
  }
  void SetString(const char *value, const std::string &text) {
    SetRaw(value, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
  }
  void SetDword(const char *value, DWORD number) {
    SetRaw(value, REG_DWORD, &number, sizeof number);
  }
  // The value if it exists with that type (REG_SZ or REG_EXPAND_SZ for texts).
  std::optional<std::string> GetString(const char *value) const;
  std::optional<DWORD> GetDword(const char *value) const;

 private:
  HKEY root_;
  std::string path_;
  HKEY key_ = nullptr;
};

}  // namespace kttest
