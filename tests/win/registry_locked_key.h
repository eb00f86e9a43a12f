// A key (made when missing) everyone may read and nobody write, until the
// object goes.
#pragma once

#include <sddl.h>
#include <windows.h>

#include <string>
#include <vector>

namespace kttest {

struct LockedKey {
  HKEY key = nullptr;
  std::vector<BYTE> saved;
  LockedKey(HKEY root, const std::string &path) {
    RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    saved.resize(size);
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, saved.data(), &size);
    PSECURITY_DESCRIPTOR readOnly = nullptr;  // KEY_READ for Everyone, nothing inherited
    ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "D:P(A;;0x20019;;;WD)", SDDL_REVISION_1, &readOnly, nullptr);
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly);
    LocalFree(readOnly);
  }
  // The handle opened before the lock may still undo it.
  ~LockedKey() {
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, saved.data());
    RegCloseKey(key);
  }
};

}  // namespace kttest
