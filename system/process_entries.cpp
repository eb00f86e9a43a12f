// Lazily bound process enumeration entries. Threads racing through a first
// lookup store the same addresses, so no lock is taken.
#include "system/process_entries.h"

#include <atomic>

namespace kt {
namespace {

#if !defined(_WIN64)
static_assert(sizeof(PROCESSENTRY32) == 296, "snapshot entry of the 32-bit platform");
#endif

std::atomic<HMODULE> g_kernel{nullptr};
std::atomic<FARPROC> g_toolHelp[3];
const char *const kToolHelpNames[3] = {"CreateToolhelp32Snapshot", "Process32First",
                                       "Process32Next"};

std::atomic<FARPROC> g_enumProcesses{nullptr};
std::atomic<FARPROC> g_moduleFileName{nullptr};

template <class Entry>
Entry As(FARPROC address) {
  return reinterpret_cast<Entry>(reinterpret_cast<void *>(address));
}

}  // namespace

bool GetToolHelpEntries(ToolHelpEntries *entries) {
  HMODULE kernel = g_kernel.load();
  if (kernel == nullptr) {
    // Never freed: kernel32 stays loaded for the life of the process anyway.
    kernel = LoadLibraryA("kernel32.dll");
    g_kernel.store(kernel);
  }
  bool all = true;
  for (int i = 0; i < 3; ++i) {
    if (g_toolHelp[i].load() == nullptr && kernel != nullptr)
      g_toolHelp[i].store(GetProcAddress(kernel, kToolHelpNames[i]));
    all = all && g_toolHelp[i].load() != nullptr;
  }
  *entries = {As<decltype(entries->snapshot)>(g_toolHelp[0].load()),
              As<decltype(entries->first)>(g_toolHelp[1].load()),
              As<decltype(entries->next)>(g_toolHelp[2].load())};
  return all;
}

bool GetProcessStatusEntries(ProcessStatusEntries *entries) {
  if (g_enumProcesses.load() == nullptr || g_moduleFileName.load() == nullptr) {
    HMODULE library = LoadLibraryA("psapi.dll");
    if (library == nullptr) return false;
    FARPROC enumProcesses = GetProcAddress(library, "EnumProcesses");
    FARPROC moduleFileName = GetProcAddress(library, "GetModuleFileNameExA");
    if (enumProcesses == nullptr || moduleFileName == nullptr) {
      FreeLibrary(library);
      g_enumProcesses.store(nullptr);
      g_moduleFileName.store(nullptr);
      return false;
    }
    g_enumProcesses.store(enumProcesses);
    g_moduleFileName.store(moduleFileName);
  }
  *entries = {As<decltype(entries->enumProcesses)>(g_enumProcesses.load()),
              As<decltype(entries->moduleFileName)>(g_moduleFileName.load())};
  return true;
}

PROCESSENTRY32 EmptyProcessEntry() {
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  return entry;
}

}  // namespace kt
