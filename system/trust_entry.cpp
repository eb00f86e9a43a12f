// Binds "WinVerifyTrust" at every attach and forgets it at every detach.
// Systems without the trust library still load this one; signatures then
// read as "cannot tell".
#include "system/trust_entry.h"

#include <atomic>

#include "attach_steps.h"

namespace kt {
namespace {

std::atomic<VerifyTrustProc> g_entry{nullptr};

}  // namespace

VerifyTrustProc TrustEntry() { return g_entry.load(std::memory_order_acquire); }

void BindTrustVerification() {
  HMODULE library = LoadLibraryA("wintrust.dll");
  FARPROC entry = library ? GetProcAddress(library, "WinVerifyTrust") : nullptr;
  g_entry.store(reinterpret_cast<VerifyTrustProc>(reinterpret_cast<void *>(entry)),
                std::memory_order_release);
}

// Only forgotten, never freed: the library may hold other users' references
// and goes with the process anyway.
void ForgetTrustVerification() { g_entry.store(nullptr, std::memory_order_release); }

}  // namespace kt
