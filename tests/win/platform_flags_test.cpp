// Built once per Windows release that Wine poses as; the program's name
// (kt_tests_<release>.exe) says which release it is checking.
#include <cstring>

#include "win_helpers.h"

namespace {

// What each release must answer, from its documented version numbers. On
// 95/98/ME the build number carries major.minor in its high half and the
// version text prints it whole.
struct Release {
  const char *name;
  DWORD nt, nt5, win98se, winme;
  const char *platformName, *versionText;  // text up to the service pack
} const kReleases[] = {
    {"win95", 0, 0, 0, 0, "Windows 95", "Windows 95-4.0.67109814"},  // 4.0.950
    // Wine's "win98" is the second edition; the first cannot be posed.
    {"win98", 0, 0, 1, 0, "Windows 98", "Windows 98-4.10.67766446"},  // 4.10.2222
    {"winme", 0, 0, 1, 1, "Windows 98", "Windows 98-4.90.73010104"},  // 4.90.3000
    {"nt40", 1, 0, 0, 0, "Windows NT", "Windows NT-4.0.1381"},
    {"win2k", 1, 1, 0, 0, "Windows 2000", "Windows NT-5.0.2195"},
};

TEST(PlatformFlags, FollowThePosedRelease) {
  char path[MAX_PATH], name[32] = {}, text[256];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const Release *r = nullptr;
  for (const Release &c : kReleases)
    if (strstr(path, (std::string("kt_tests_") + c.name + ".exe").c_str())) r = &c;
  ASSERT_NE(r, nullptr) << "run as kt_tests_<release>.exe";
  SCOPED_TRACE(r->name);
  // Wine must really pose: the platform's own version word agrees.
  ASSERT_EQ((GetVersion() & 0x80000000u) == 0, r->nt == 1);
  EXPECT_EQ(IsWinNT(), r->nt);
  EXPECT_EQ(IsWin2K(), r->nt5);
  // The lazy flags answer the same on the second, cached call.
  for (int call = 0; call < 2; ++call)
    EXPECT_TRUE(IsWin98SE() == r->win98se && IsWinME() == r->winme) << call;

  EXPECT_TRUE(GetPlatformNameInfo(name, sizeof name));
  EXPECT_STREQ(name, r->platformName);
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  SYSTEM_INFO system;
  ASSERT_TRUE(GetVersionExA(&info));
  GetSystemInfo(&system);
  EXPECT_TRUE(GetOSVersionString(text, sizeof text));
  EXPECT_EQ(text, std::string(r->versionText) + "-" + info.szCSDVersion +
                      (system.dwNumberOfProcessors < 2 ? "-SP" : "-SMP"));
}

}  // namespace
