#include <gtest/gtest.h>
#include <winsock.h>

#include <string>

#include "ktutil.h"
#include "support/kt_test_support.h"

namespace {

// A second copy of the DLL under another name loads as a separate module,
// so its attach and detach run inside this test while the linked copy
// stays loaded.
class LibraryCopy {
 public:
  LibraryCopy() {
    char path[MAX_PATH];
    GetModuleFileNameA(kttest::KtModule(), path, MAX_PATH);
    copy_ = std::string(path) + ".copy.dll";
    CopyFileA(path, copy_.c_str(), FALSE);
  }
  ~LibraryCopy() { DeleteFileA(copy_.c_str()); }
  const char *path() const { return copy_.c_str(); }

 private:
  std::string copy_;
};

bool SocketsStarted() {
  char name[256];
  return gethostname(name, sizeof name) == 0 || WSAGetLastError() != WSANOTINITIALISED;
}

TEST(Lifecycle, LoadingStartsSocketsForTheProcess) {
  // This program never starts Windows Sockets itself.
  EXPECT_TRUE(SocketsStarted());
}

TEST(Lifecycle, RepeatedLoadAndUnloadBalanceTheirSteps) {
  LibraryCopy copy;
  for (int i = 0; i < 3; ++i) {
    HMODULE module = LoadLibraryA(copy.path());
    ASSERT_NE(module, nullptr);
    ASSERT_NE(module, kttest::KtModule());
    // The copy records its own handle: its string table is reachable.
    auto load = reinterpret_cast<int(__cdecl *)(LPSTR, int, HINSTANCE, UINT, ...)>(
        reinterpret_cast<void *>(GetProcAddress(module, "fmtmsg")));
    ASSERT_NE(load, nullptr);
    char buf[32];
    load(buf, sizeof buf, module, 16, i);
    EXPECT_EQ(std::string(buf), "page " + std::to_string(i));
    ASSERT_TRUE(FreeLibrary(module));
    // One clean-up per start: the linked copy's start still holds.
    EXPECT_TRUE(SocketsStarted());
  }
}

TEST(Lifecycle, ProcessorCountMatchesTheSystem) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  EXPECT_EQ(GetProcessorCount(), info.dwNumberOfProcessors);
  EXPECT_GE(GetProcessorCount(), 1u);
}

}  // namespace
