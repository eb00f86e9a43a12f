// File helpers on real files, and the text writers at every buffer size that
// matters.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "ktutil.h"
#include "support/canary.h"

namespace {

std::string TempFile(const char *name, const char *contents = nullptr) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string file = temp + ("kt-" + std::to_string(GetCurrentProcessId())) + name;
  if (contents != nullptr) std::ofstream(file, std::ios::binary) << contents;
  return file;
}

std::string Contents(const std::string &file) {
  std::ostringstream text;
  text << std::ifstream(file, std::ios::binary).rdbuf();
  return text.str();
}

TEST(MoveFileExEx, NeverReplacesNorLeavesACopyBehind) {
  const std::string a = TempFile("a", "new"), b = TempFile("b", "old");
  EXPECT_FALSE(MoveFileExEx(a.c_str(), b.c_str()));
  EXPECT_EQ(Contents(a), "new");
  EXPECT_EQ(Contents(b), "old");

  // Open without delete sharing: the copy can read it, the delete must fail.
  DeleteFileA(b.c_str());
  HANDLE held = CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(MoveFileExEx(a.c_str(), b.c_str()));
  CloseHandle(held);
  EXPECT_FALSE(FileExists(b.c_str()));

  EXPECT_TRUE(MoveFileExEx(a.c_str(), b.c_str()));
  EXPECT_FALSE(FileExists(a.c_str()));
  EXPECT_EQ(Contents(b), "new");
  DeleteFileA(b.c_str());
  EXPECT_TRUE(FileExists("."));  // a folder counts too
}

TEST(BoundedWriters, CutAndTerminateAtEverySize) {
  char version[512], current[MAX_PATH];
  GetOSVersionString(version, sizeof version);
  GetCurrentDirectoryA(MAX_PATH, current);
  struct Writer {
    std::string full;
    BOOL (*write)(char *, int);
  } writers[] = {
      {version, [](char *d, int n) { return GetOSVersionString(d, n); }},
      // Short of MAX_PATH the user folder is the current directory.
      {current, [](char *d, int n) { return GetUserDirectory(nullptr, d, n); }},
  };
  for (const Writer &w : writers) {
    ASSERT_LT(w.full.size() + 1, static_cast<size_t>(MAX_PATH));
    const int exact = static_cast<int>(w.full.size()) + 1;
    for (int size : {0, 1, exact - 1, exact}) {
      kttest::CanaryBuffer buf(size);
      EXPECT_TRUE(w.write(buf.raw(), size)) << w.full << ' ' << size;
      EXPECT_TRUE(buf.Intact() && (size == 0 || buf.Terminated()))
          << w.full << ' ' << size;
      EXPECT_EQ(buf.text(), w.full.substr(0, size > 0 ? size - 1 : 0));
    }
  }
}

// Copied like strncpy: zero padding, and no terminator for a name that
// fills the buffer.
TEST(PlatformNameInfo, PadsWithZerosAndLeavesAFullNameUnterminated) {
  char big[64];
  ASSERT_TRUE(GetPlatformNameInfo(big, sizeof big));
  const int length = static_cast<int>(strlen(big));
  const std::string padded = big + std::string(8, '\0');
  for (int size : {0, 1, length, length + 1, length + 8}) {
    kttest::CanaryBuffer buf(size);
    memset(buf.raw(), 'x', size);
    EXPECT_TRUE(GetPlatformNameInfo(buf.raw(), size));
    EXPECT_TRUE(buf.Intact()) << size;
    EXPECT_EQ(std::string(buf.raw(), size), padded.substr(0, size)) << size;
  }
}

TEST(GetUserDirectory, FullSizedBufferGetsTheDocumentsFolder) {
  char documents[MAX_PATH];
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents), S_OK);
  kttest::CanaryBuffer buf(MAX_PATH);
  EXPECT_TRUE(GetUserDirectory(nullptr, buf.data(), MAX_PATH));
  EXPECT_TRUE(buf.Intact());
  // Wine deviation: its shell ends the folder's path with a backslash.
  const bool wine =
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  EXPECT_TRUE(buf.text() == documents ||
              (wine && buf.text() == std::string(documents) + "\\"))
      << buf.text();
}

}  // namespace
