// Signatures through a stand-in trust library, loaded in place of the
// system's, or with no trust library at all: the test command says which.
#include "system_test_helpers.h"
#include "win_helpers.h"

namespace {

TEST(Signature, StatusAndLoadFollowTheTrustLibrary) {
  HMODULE trust = GetModuleHandleA("wintrust.dll");
  const bool standIn = trust && GetProcAddress(trust, "KtStandIn");
  char overrides[64] = "";
  GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
  ASSERT_TRUE(standIn ? !strcmp(overrides, "wintrust=n")
                      : !strcmp(overrides, "wintrust=d") && !trust)
      << "run with WINEDLLOVERRIDES=wintrust=n (the stand-in) or =d (none)";
  const std::pair<const char *, DWORD> files[] = {{"trusted.dll", KTSIG_TRUSTED},
                                                  {"untrusted.dll", KTSIG_UNTRUSTED},
                                                  {"unknown.dll", KTSIG_UNKNOWN}};
  for (const auto &[name, status] : files) {
    const kttest::TempPath file(name);
    CopyFileA(kttest::BesideProgram("kt_version_full.dll").c_str(), file.c_str(), FALSE);
    const DWORD expected = standIn ? status : KTSIG_UNKNOWN;
    EXPECT_EQ(kttest::ReadAppInfo(file.path, KTAI_SIGNATURE).signatureStatus, expected)
        << name;
    HMODULE loaded = SafeLoadLibrary(file.c_str());
    EXPECT_TRUE((loaded != nullptr) == (expected == KTSIG_TRUSTED) &&
                GetModuleHandleA(file.c_str()) == loaded);
    if (loaded != nullptr) FreeLibrary(loaded);
  }
}

}  // namespace
