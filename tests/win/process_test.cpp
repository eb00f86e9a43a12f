// Running programs, process names, the screen saver and the user, as each
// release's family answers them. Children are copies of the idle program.
#include <windows.h>
// After windows.h, which they need.
#include <process.h>
#include <psapi.h>

#include "system_test_helpers.h"
#include "win_helpers.h"

namespace {

bool NtFamily() { return (GetVersion() & 0x80000000u) == 0; }

// A folder (the temporary one unless given) and a name with this process's
// id for "%lu".
std::string Named(const char *format, std::string folder = "") {
  char path[MAX_PATH];
  if (folder.empty()) folder.assign(path, GetTempPathA(MAX_PATH, path));
  wsnprintf(path, MAX_PATH, format, GetCurrentProcessId());
  return folder + path;
}

std::string PathForm(const std::string &path, bool shortForm) {
  char form[MAX_PATH];
  return std::string(form, (shortForm ? GetShortPathNameA : GetLongPathNameA)(
                               path.c_str(), form, MAX_PATH));
}

// A copy of the idle program running (started by its short path, if asked)
// until the object goes, and then removed.
struct RunningCopy {
  std::string path;
  HANDLE process;
  explicit RunningCopy(const std::string &file, bool byShortPath = false) : path(file) {
    CopyFileA(kttest::BesideProgram("kt_idle_child.exe").c_str(), path.c_str(), FALSE);
    const std::string program = PathForm(path, byShortPath);
    // The run-time joins the arguments unquoted: the name is quoted here.
    const intptr_t spawned =
        _spawnl(_P_NOWAIT, program.c_str(), ("\"" + program + "\"").c_str(),
                std::to_string(GetCurrentProcessId()).c_str(), nullptr);
    // A failed start's -1 is, as a handle, this very process: stopping it
    // would end the test program with a passing exit code.
    EXPECT_NE(spawned, -1) << program;
    process = spawned == -1 ? nullptr : reinterpret_cast<HANDLE>(spawned);
    char loaded[MAX_PATH];  // found once its main module is loaded
    for (int i = 0; i < 250 && !GetModuleFileNameExA(process, 0, loaded, MAX_PATH); ++i)
      Sleep(20);
  }
  void Stop() {
    TerminateProcess(process, 0);
    WaitForSingleObject(process, INFINITE);
  }
  ~RunningCopy() {
    Stop();
    CloseHandle(process);
    DeleteFileA(path.c_str());
  }
};

TEST(ProcessesAndUser, ProgramsByEveryFormOfPathTheScreenSaverIdentityAndSecurity) {
  const kttest::TempPath folder("long folder name");
  CreateDirectoryA(folder.c_str(), nullptr);
  RunningCopy copies[] = {
      RunningCopy(Named("\\kt idle %lu long name.exe", folder.path)),
      RunningCopy(Named("I%07lX.EXE")),  // in the short-named temporary folder
      RunningCopy(Named("kt idle %lu.exe"), true)};
  // A process is named by its long path, though started by its short one,
  // or told why not.
  const RunningCopy &byShort = copies[2];
  const DWORD id = GetProcessId(byShort.process), never = 0x7FFFFFFC;
  DWORD parent = 7;
  char text[MAX_PATH] = "x";
  EXPECT_FALSE(KTGetProcessInfo(byShort.process, id, text, 0, &parent));
  EXPECT_TRUE(text[0] == 'x' && parent == 7);
  const bool nt = NtFamily();
  if (nt) {
    kttest::CheckBounded(PathForm(byShort.path, false), [&](char *d, int n) {
      EXPECT_EQ(KTGetProcessInfo(byShort.process, id, d, n, &parent), n > 0);
    });
  } else {
    EXPECT_TRUE(KTGetProcessInfo(nullptr, id, text, MAX_PATH, &parent));
    // Wine deviation: its snapshot holds the bare program name.
    EXPECT_TRUE(
        text == byShort.path ||
        (kttest::OnWine() && !strcmp(text, strrchr(byShort.path.c_str(), '\\') + 1)));
  }
  EXPECT_EQ(parent, nt ? 7 : GetCurrentProcessId());
  EXPECT_FALSE(KTGetProcessInfo(nullptr, never, text, MAX_PATH, nullptr));
  EXPECT_STREQ(text, nt ? "Unknown Process: 2147483644 (Invalid Handle Error)"
                        : "Unknown Process: 2147483644 (Find Error)");

  for (RunningCopy &copy : copies) {
    const std::string base = copy.path.substr(copy.path.rfind('\\') + 1);
    std::string upper = copy.path;
    CharUpperA(&upper[0]);
    const std::tuple<std::string, int, bool> forms[] = {
        {base, KTMR_BASENAME, true},
        {base, 0, false},
        {upper, 0, true},
        {PathForm(copy.path, true), 0, true},
        {PathForm(copy.path, false), 0, true}};
    for (const auto &[name, flags, found] : forms) {
      // Wine deviation: its process snapshot names programs without their
      // folder, so the 95/98/ME search finds bare names only.
      EXPECT_TRUE(IsModuleRunningEx(name.c_str(), flags) == found ||
                  (kttest::OnWine() && !NtFamily() && !flags))
          << name << " " << flags;
    }
    copy.Stop();
    EXPECT_FALSE(IsModuleRunningEx(base.c_str(), KTMR_BASENAME) ||
                 IsModuleRunning(upper.c_str()));
  }
  EXPECT_FALSE(IsModuleRunning(kttest::BesideProgram("kt_idle_child.exe").c_str()));

  // The screen saver is asked of the release's detector. NT 4 runs a saver
  // on a desktop of this name; only this program makes one, as every
  // program in the session sees it.
  EXPECT_FALSE(IsScreenSaverRunning());
  if (nt && LOBYTE(GetVersion()) == 4) {
    HDESK saver =
        CreateDesktopA("screen-saver", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    EXPECT_TRUE(IsScreenSaverRunning());
    CloseDesktop(saver);
  }
  char computer[16], user[256], domain[256], expected[512];
  DWORD computerSize = 16, userSize = 256, domainSize = 256,
        sidSize = SECURITY_MAX_SID_SIZE, adminSize = SECURITY_MAX_SID_SIZE;
  BYTE sid[SECURITY_MAX_SID_SIZE], administrators[SECURITY_MAX_SID_SIZE];
  GetComputerNameA(computer, &computerSize);
  GetUserNameA(user, &userSize);
  wsnprintf(expected, sizeof expected, "win95:%s/%s", computer, user);
  SECURITY_ATTRIBUTES *shared = GetSecurityAttributes();
  if (nt) {
    SID_NAME_USE use;
    char *sidText = nullptr;
    LookupAccountNameA(nullptr, user, sid, &sidSize, domain, &domainSize, &use);
    ConvertSidToStringSidA(sid, &sidText);
    wsnprintf(expected, sizeof expected, "ntdomain:%s/%s?%s", domain, user, sidText);
    LocalFree(sidText);
    kttest::CheckBounded(
        "ntlocal:Unknown", [](char *d, int n) { GetCanonicalUserID(0, d, n); }, true);
    // Every user may open what is made with the record: a present, null list.
    BOOL present = FALSE, defaulted = TRUE, member = FALSE;
    PACL list = reinterpret_cast<PACL>(1);
    ASSERT_TRUE(shared != nullptr && shared == GetSecurityAttributes());
    EXPECT_TRUE(GetSecurityDescriptorDacl(shared->lpSecurityDescriptor, &present, &list,
                                          &defaulted));
    EXPECT_TRUE(present && !list && !defaulted && shared->bInheritHandle &&
                shared->nLength == sizeof *shared);
    CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &adminSize);
    CheckTokenMembership(nullptr, administrators, &member);
    EXPECT_EQ(IsAdmin(), member);
  } else {
    EXPECT_TRUE(IsAdmin() && shared == nullptr);
  }
  HANDLE self = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId());
  kttest::CheckBounded(
      expected, [&](char *d, int n) { GetCanonicalUserID(self, d, n); }, true);
  CloseHandle(self);
}

}  // namespace
