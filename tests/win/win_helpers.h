// Helpers shared by the Windows-only tests.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <gtest/gtest.h>
#include <sddl.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "ktutil.h"
#include "support/canary.h"

namespace kttest {

// Marks where Wine answers other than Windows documents.
inline bool OnWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// A bounded writer at sizes 0, 1, exact - 1 and exact: never past the size,
// always terminated, the full text where it fits and else a prefix of it (cut
// right at the size, if exactCut).
inline void CheckBounded(const std::string &full,
                         const std::function<void(char *, int)> &write,
                         bool exactCut = false) {
  const int exact = static_cast<int>(full.size()) + 1;
  for (int size : {0, 1, exact - 1, exact}) {
    CanaryBuffer buf(size);
    write(buf.raw(), size);
    EXPECT_TRUE(buf.Intact() && (size == 0 || buf.Terminated()))
        << size << " of " << full;
    const size_t cut =
        exactCut || size >= exact ? std::max(size - 1, 0) : buf.text().size();
    EXPECT_EQ(buf.text(), full.substr(0, cut)) << size;
  }
}

// A name in the temporary folder, removed (file or empty folder) at the end.
struct TempPath {
  std::string path;
  explicit TempPath(const std::string &name, const char *contents = nullptr) {
    char folder[MAX_PATH];
    path = std::string(folder, GetTempPathA(MAX_PATH, folder)) + "kt-" +
           std::to_string(GetCurrentProcessId()) + "-" + name;
    DeleteFileA(path.c_str());
    if (contents != nullptr) std::ofstream(path, std::ios::binary) << contents;
  }
  ~TempPath() {
    DeleteFileA(path.c_str());
    RemoveDirectoryA(path.c_str());
  }
  const char *c_str() const { return path.c_str(); }
  std::string Contents() const {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
  }
};

// A key (made when missing) everyone may read and nobody write (or what
// sddl allows), until the object goes; the handle opened before the lock
// may still undo it.
struct LockedKey {
  HKEY key = nullptr;
  std::vector<BYTE> saved;
  LockedKey(HKEY root, const std::string &path,
            const char *sddl = "D:P(A;;0x20019;;;WD)") {
    RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    saved.resize(size);
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, saved.data(), &size);
    PSECURITY_DESCRIPTOR readOnly = nullptr;  // KEY_READ for Everyone, nothing inherited
    ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &readOnly,
                                                         nullptr);
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly);
    LocalFree(readOnly);
  }
  ~LockedKey() {
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, saved.data());
    RegCloseKey(key);
  }
};

}  // namespace kttest
