// Built once per Windows release that Wine poses as; the program's name
// (kt_tests_<release>.exe) says which release it is checking.
#include <gtest/gtest.h>

#include <string>

#include "ktutil.h"

namespace {

struct Release {
  const char *name;
  DWORD nt, nt5;
};

const Release kReleases[] = {
    {"win95", 0, 0}, {"win98", 0, 0}, {"winme", 0, 0}, {"nt40", 1, 0}, {"win2k", 1, 1},
};

const Release *PosedRelease() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string exe(path);
  for (const Release &r : kReleases)
    if (exe.find(std::string("kt_tests_") + r.name + ".exe") != std::string::npos) return &r;
  return nullptr;
}

TEST(PlatformFlags, FollowThePosedRelease) {
  const Release *release = PosedRelease();
  ASSERT_NE(release, nullptr) << "run as kt_tests_<release>.exe";
  // Wine must really pose: the platform's own version word agrees.
  ASSERT_EQ((GetVersion() & 0x80000000u) == 0, release->nt == 1) << release->name;
  EXPECT_EQ(IsWinNT(), release->nt) << release->name;
  EXPECT_EQ(IsWin2K(), release->nt5) << release->name;
}

}  // namespace
