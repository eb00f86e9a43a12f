// One security-attributes record whose descriptor lets every user open what
// is created with it (a present but null access list).
#include "ktutil.h"
#include "lifecycle.h"

namespace {

SECURITY_ATTRIBUTES g_attributes = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
// Set before the one attempt, so a failed preparation is not repeated.
// Racing first calls may each prepare a descriptor; the record keeps one.
volatile LONG g_prepared = 0;

}  // namespace

extern "C" LPSECURITY_ATTRIBUTES KTAPI GetSecurityAttributes(void) {
  if (kt::NtFlag() == 0) return nullptr;
  if (InterlockedExchange(&g_prepared, 1) == 0) {
    // Never freed: the record lives as long as the process.
    auto descriptor = static_cast<PSECURITY_DESCRIPTOR>(
        LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH));
    if (descriptor != nullptr &&
        InitializeSecurityDescriptor(descriptor, SECURITY_DESCRIPTOR_REVISION) &&
        SetSecurityDescriptorDacl(descriptor, TRUE, nullptr, FALSE)) {
      g_attributes.lpSecurityDescriptor = descriptor;
      g_attributes.bInheritHandle = TRUE;
    }
  }
  return &g_attributes;
}
