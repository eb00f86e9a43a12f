#include <winsock.h>

#include "support/kt_test_support.h"
#include "win_helpers.h"

namespace {

bool SocketsStarted() {
  char name[256];
  return gethostname(name, sizeof name) == 0 || WSAGetLastError() != WSANOTINITIALISED;
}

// A second copy of the DLL under another name loads as a separate module,
// so its attach and detach run here while the linked copy stays loaded.
TEST(Lifecycle, LoadingStartsSocketsAndUnloadingBalancesIt) {
  EXPECT_TRUE(SocketsStarted());  // this program never starts them itself
  char path[MAX_PATH];
  GetModuleFileNameA(kttest::KtModule(), path, MAX_PATH);
  const std::string copy = std::string(path) + ".copy.dll";
  ASSERT_TRUE(CopyFileA(path, copy.c_str(), FALSE));
  for (int i = 0; i < 3; ++i) {
    HMODULE module = LoadLibraryA(copy.c_str());
    ASSERT_TRUE(module != nullptr && module != kttest::KtModule());
    // The copy records its own handle: its string table is reachable.
    auto load = reinterpret_cast<int(__cdecl *)(LPSTR, int, HINSTANCE, UINT, ...)>(
        reinterpret_cast<void *>(GetProcAddress(module, "fmtmsg")));
    char buf[32] = "";
    if (load) load(buf, sizeof buf, module, 16, i);
    EXPECT_EQ(std::string(buf), "page " + std::to_string(i));
    EXPECT_TRUE(FreeLibrary(module));
    // One clean-up per start: the linked copy's start still holds.
    EXPECT_TRUE(SocketsStarted());
  }
  DeleteFileA(copy.c_str());
}

}  // namespace
