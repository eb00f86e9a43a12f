// Identifier texts beside the platform's own conversion.
#include "system/sid_text.h"

#include "win_helpers.h"

namespace {

std::string Text(PSID sid, DWORD size = 512) {
  std::string text(size, '\0');
  return kt::SidToText(sid, &text[0], &size) ? text.c_str() : "(failed)";
}

std::string PlatformText(PSID sid) {
  char *text = nullptr;
  const std::string copy = ConvertSidToStringSidA(sid, &text) ? text : "(failed)";
  LocalFree(text);
  return copy;
}

TEST(SidToText, WellKnownAndHandBuiltIdentifiersAtTheirExactSize) {
  for (auto type :
       {WinWorldSid, WinLocalSystemSid, WinBuiltinAdministratorsSid, WinNullSid}) {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    CreateWellKnownSid(type, nullptr, sid, &size);
    EXPECT_EQ(Text(sid), PlatformText(sid));
  }
  BYTE invalid[SECURITY_MAX_SID_SIZE] = {2};  // revision 2
  EXPECT_EQ(Text(invalid), "(failed)");

  for (BYTE count = 0; count <= 15; ++count) {
    // Revision, count, authority 5, sub-authorities.
    BYTE sid[SECURITY_MAX_SID_SIZE] = {SID_REVISION, count, 0, 0, 0, 0, 0, 5};
    for (DWORD i = 0, part; i < count; ++i) {
      part = 4294967295u - i * 268435457u;
      memcpy(sid + 8 + 4 * i, &part, 4);
    }
    const std::string expected = PlatformText(sid), parts = expected.substr(5);
    EXPECT_EQ(Text(sid), expected);
    DWORD size = 28 + 12 * count - 1;
    SetLastError(0);
    EXPECT_EQ(Text(sid, size), "(failed)");
    EXPECT_EQ(Text(sid, size + 1), expected);
    EXPECT_TRUE(!kt::SidToText(sid, nullptr, &size) && size == 28 + 12u * count &&
                GetLastError() == ERROR_INSUFFICIENT_BUFFER);
    // Wine deviation: its conversion prints these authorities signed, or
    // not at all, so they are written out here.
    memset(sid + 4, 0xFF, 4);
    EXPECT_EQ(Text(sid), "S-1-4294967295" + parts);
    sid[2] = 0xAB;
    EXPECT_EQ(Text(sid, 28 + 12 * count), "S-1-0xab00ffffffff" + parts);
  }
}

}  // namespace
