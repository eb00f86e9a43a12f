// File helpers on real files, and the text writers at every buffer size that
// matters.
#include <shlobj.h>

#include "win_helpers.h"

namespace {

TEST(SystemFiles, MovesNeverReplaceAndWritersCutAtEverySize) {
  // A move never replaces a file nor leaves a copy behind.
  const kttest::TempPath a("a", "new"), b("b", "old");
  EXPECT_FALSE(MoveFileExEx(a.c_str(), b.c_str()));
  EXPECT_TRUE(a.Contents() == "new" && b.Contents() == "old");

  // Open without delete sharing: the copy can read it, the delete must fail.
  DeleteFileA(b.c_str());
  HANDLE held = CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(MoveFileExEx(a.c_str(), b.c_str()));
  CloseHandle(held);
  EXPECT_FALSE(FileExists(b.c_str()));

  EXPECT_TRUE(MoveFileExEx(a.c_str(), b.c_str()));
  EXPECT_FALSE(FileExists(a.c_str()));
  EXPECT_EQ(b.Contents(), "new");
  EXPECT_TRUE(FileExists("."));  // a folder counts too

  char version[512], current[MAX_PATH], documents[MAX_PATH];
  GetOSVersionString(version, sizeof version);
  kttest::CheckBounded(
      version, [](char *d, int n) { EXPECT_TRUE(GetOSVersionString(d, n)); }, true);
  // The platform's name is copied like strncpy: zero padding, and no
  // terminator for a name that fills the buffer.
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
  // Short of MAX_PATH the user folder is the current directory; a full-sized
  // buffer gets the documents folder.
  ASSERT_LT(GetCurrentDirectoryA(MAX_PATH, current) + 1, DWORD{MAX_PATH});
  kttest::CheckBounded(
      current, [](char *d, int n) { EXPECT_TRUE(GetUserDirectory(nullptr, d, n)); },
      true);
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents), S_OK);
  kttest::CanaryBuffer home(MAX_PATH);
  EXPECT_TRUE(GetUserDirectory(nullptr, home.data(), MAX_PATH));
  EXPECT_TRUE(home.Intact());
  // Wine deviation: its shell ends the folder's path with a backslash.
  EXPECT_TRUE(home.text() == documents ||
              (kttest::OnWine() && home.text() == std::string(documents) + "\\"))
      << home.text();
}

}  // namespace
