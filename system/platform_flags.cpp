// Which Windows family and release the library runs on.
#include <atomic>

#include "ktutil.h"
#include "lifecycle.h"

namespace {

constexpr DWORD kUnknown = 0xFFFFFFFFu;
// On the 95/98/ME family the build number carries major.minor in its high
// half, so one comparison covers version and build.
constexpr DWORD kWin98SEBuild = 0x040A08AEu;  // 4.10.2222
constexpr DWORD kWinMEBuild = 0x045A0BB8u;    // 4.90.3000

// Racing first calls store the same answer, so relaxed order is enough.
std::atomic<DWORD> g_win98SE{kUnknown};
std::atomic<DWORD> g_winME{kUnknown};

DWORD NineXBuildAtLeast(std::atomic<DWORD> &cache, DWORD threshold) {
  DWORD answer = cache.load(std::memory_order_relaxed);
  if (answer != kUnknown) return answer;
  if (kt::NtFlag() != 0) {
    answer = 0;
  } else {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    // A 95/98/ME system that cannot say which one it is counts as recent.
    answer = !GetVersionExA(&info) || info.dwBuildNumber >= threshold ? 1 : 0;
  }
  cache.store(answer, std::memory_order_relaxed);
  return answer;
}

}  // namespace

static_assert(sizeof(OSVERSIONINFOA) == 148, "version record of the 95/98/ME family");

extern "C" DWORD KTAPI IsWinNT(void) { return kt::NtFlag(); }

extern "C" DWORD KTAPI IsWin2K(void) { return kt::Nt5Flag(); }

extern "C" DWORD KTAPI IsWin98SE(void) {
  return NineXBuildAtLeast(g_win98SE, kWin98SEBuild);
}

extern "C" DWORD KTAPI IsWinME(void) { return NineXBuildAtLeast(g_winME, kWinMEBuild); }
