// Who a process runs as, in one text form on every system, and whether the
// current user is an administrator.
#include <string.h>

#include <memory>
#include <new>

#include "ktutil.h"
#include "lifecycle.h"
#include "system/owned_handle.h"
#include "system/sid_text.h"

namespace {

int Clamp(DWORD size) { return size > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(size); }

// The computer's name, "Unknown" when it cannot be read (also when longer
// than the 15 characters of a network name).
void ComputerName(char name[16]) {
  DWORD size = 16;
  if (!GetComputerNameA(name, &size)) strcpy(name, "Unknown");
}

void NtCanonicalUserID(HANDLE process, LPSTR dest, int size) {
  kt::OwnedHandle token;
  alignas(8) BYTE user[1000];
  DWORD got = 0;
  if (process == nullptr || !OpenProcessToken(process, TOKEN_READ, token.receive()) ||
      !GetTokenInformation(token.get(), TokenUser, user, sizeof user, &got)) {
    strncpy0(dest, "ntlocal:Unknown", size);
    return;
  }
  PSID sid = reinterpret_cast<TOKEN_USER *>(user)->User.Sid;
  char name[200] = "", domain[256] = "", sidText[256] = "";
  DWORD nameSize = sizeof name, domainSize = sizeof domain, sidSize = sizeof sidText;
  SID_NAME_USE use;
  if (!LookupAccountSidA(nullptr, sid, name, &nameSize, domain, &domainSize, &use))
    name[0] = domain[0] = '\0';
  if (!kt::SidToText(sid, sidText, &sidSize)) sidText[0] = '\0';

  // Built-in accounts belong to no domain: the computer names them.
  if (domain[0] != '\0' && lstrcmpiA(domain, "BUILTIN") != 0) {
    if (sidText[0] != '\0')
      wsnprintf(dest, size, "ntdomain:%s/%s?%s", domain, name, sidText);
    else
      wsnprintf(dest, size, "ntdomain:%s/%s", domain, name);
  } else {
    char computer[16];
    ComputerName(computer);
    wsnprintf(dest, size, "ntlocal:computer=%s;userid=%s", computer, name);
  }
}

// The groups of the thread's token, or the process's when the thread does
// not impersonate.
std::unique_ptr<BYTE[]> CurrentTokenGroups() {
  kt::OwnedHandle token;
  if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.receive())) {
    if (GetLastError() != ERROR_NO_TOKEN ||
        !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive()))
      return nullptr;
  }
  DWORD size = 1024;
  std::unique_ptr<BYTE[]> groups(new (std::nothrow) BYTE[size]);
  if (groups &&
      !GetTokenInformation(token.get(), TokenGroups, groups.get(), size, &size)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return nullptr;
    groups.reset(new (std::nothrow) BYTE[size]);
    if (groups &&
        !GetTokenInformation(token.get(), TokenGroups, groups.get(), size, &size))
      return nullptr;
  }
  return groups;
}

}  // namespace

extern "C" void KTAPI GetCanonicalUserID(HANDLE process, LPSTR dest, DWORD size) {
  if (dest == nullptr || size == 0) return;
  if (kt::NtFlag()) {
    NtCanonicalUserID(process, dest, Clamp(size));
    return;
  }
  // No accounts on 95/98/ME: the computer and the name given at logon.
  char computer[16], user[200];
  DWORD userSize = sizeof user;
  ComputerName(computer);
  if (!GetUserNameA(user, &userSize)) strcpy(user, "Unknown");
  wsnprintf(dest, Clamp(size), "win95:%s/%s", computer, user);
}

extern "C" BOOL KTAPI IsAdmin(void) {
  if (!kt::NtFlag()) return TRUE;
  std::unique_ptr<BYTE[]> buffer = CurrentTokenGroups();
  if (!buffer) return FALSE;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                &administrators))
    return FALSE;
  // Membership alone counts, whatever the group's attributes say.
  const auto *groups = reinterpret_cast<const TOKEN_GROUPS *>(buffer.get());
  BOOL found = FALSE;
  for (DWORD i = 0; i < groups->GroupCount && !found; ++i)
    found = EqualSid(groups->Groups[i].Sid, administrators);
  FreeSid(administrators);
  return found;
}
