// The entry points the product's installer script calls: each reads its
// argument from the installer's parameter block and may hand a result back
// in one of the installer's variables.
#include <stddef.h>
#include <stdlib.h>
#include <string.h>

#include <initializer_list>
#include <memory>
#include <new>
#include <string_view>

#include "core/fault_guard.h"
#include "ktutil.h"

namespace {

// A block must reach past its argument text.
constexpr DWORD kFullBlock = offsetof(WSEParams, argument) + sizeof(LPCSTR);
static_assert(sizeof(void *) != 4 ||
                  (kFullBlock == 44 && sizeof(WSEParams) == 44 &&
                   offsetof(WSEParams, capacity) == 8 &&
                   offsetof(WSEParams, used) == 20 && offsetof(WSEParams, names) == 24 &&
                   offsetof(WSEParams, values) == 28),
              "the installer's parameter block");

constexpr int kTableNameRoom = 80;  // "%" name "%", at most 79 characters
constexpr int kRegistryTextRoom = 513;

bool Usable(const WSEParams *block) {
  return block != nullptr && block->size >= kFullBlock;
}

int SlotSize(DWORD width) {
  return width > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(width);
}

std::string_view SlotText(const char *slot, DWORD width) {
  return std::string_view(slot, strnlen(slot, width));
}

// Overwrites the variable, or adds it while the tables have room. A name is
// compared as its slot would hold it, cut to the slot.
void SetInstallerVariable(WSEParams &block, const char *name, const char *value) {
  if (block.names == nullptr || block.values == nullptr) return;
  char composed[kTableNameRoom];
  wsnprintf(composed, sizeof composed, "%%%s%%", name);
  const std::string_view stored =
      SlotText(composed, block.nameWidth > 0 ? block.nameWidth - 1 : 0);
  // A count beyond the capacity cannot be trusted past the tables' end.
  const DWORD inUse = block.used < block.capacity ? block.used : block.capacity;
  size_t slot = 0;
  while (slot < inUse &&
         SlotText(block.names + slot * block.nameWidth, block.nameWidth) != stored)
    ++slot;
  if (slot == inUse) {
    if (block.used >= block.capacity) return;
    strncpy0(block.names + slot * block.nameWidth, composed, SlotSize(block.nameWidth));
    ++block.used;
  }
  strncpy0(block.values + slot * block.valueWidth, value, SlotSize(block.valueWidth));
}

char *SkipSpaces(char *text) {
  while (*text == ' ') ++text;
  return text;
}

// Network kinds that only dial out, by MIB-II type or by description.
bool IsDialUp(const IpAdapterInfo &adapter) {
  if (adapter.type == 23 || adapter.type == 24 || adapter.type == 28) return true;
  const std::string_view description =
      SlotText(adapter.description, sizeof adapter.description);
  for (const char *kind : {"Dial-Up Adapter", "PPP Adapter", "AOL Adapter"})
    if (description.find(kind) != std::string_view::npos) return true;
  return false;
}

}  // namespace

extern "C" BOOL KTAPI WSEIsModuleRunning(WSEParams *params) {
  return Usable(params) && IsModuleRunning(params->argument);
}

extern "C" BOOL KTAPI WSEDelay(WSEParams *params) {
  if (!Usable(params)) return FALSE;
  const long milliseconds =
      params->argument != nullptr ? strtol(params->argument, nullptr, 10) : 0;
  Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
  return TRUE;
}

extern "C" BOOL KTAPI WSEWin9xDialupOnly(void) {
  if (IsWinNT()) return FALSE;
  IpAdapterInfo adapters[32];
  if (!GetIpAdapterInfo(adapters, 32, nullptr)) return FALSE;
  for (const IpAdapterInfo &adapter : adapters)
    if (adapter.index != 0 && !IsDialUp(adapter)) return FALSE;
  return TRUE;
}

extern "C" BOOL KTAPI WSEGetRegistryValue(WSEParams *params) {
  if (params == nullptr || params->argument == nullptr) return FALSE;
  // "subkey, value, VARIABLE", cut into its three texts in a copy.
  const size_t length = strlen(params->argument);
  std::unique_ptr<char[]> parts(new (std::nothrow) char[length + 1]);
  if (!parts) return FALSE;
  memcpy(parts.get(), params->argument, length + 1);
  char *subKey = parts.get(), *comma = strchr(subKey, ',');
  if (comma == nullptr) return FALSE;
  *comma = '\0';
  char *valueName = SkipSpaces(comma + 1);
  if ((comma = strchr(valueName, ',')) == nullptr) return FALSE;
  *comma = '\0';
  char text[kRegistryTextRoom];
  if (!GetRegistryValueString(HKEY_LOCAL_MACHINE, subKey, valueName, text, sizeof text))
    return FALSE;
  SetInstallerVariable(*params, SkipSpaces(comma + 1), text);
  return TRUE;
}

// The installer must survive whatever the service's side does, so a fault
// or an exception there only makes the answer FALSE.
extern "C" BOOL KTAPI WSEUnloadService(WSEParams *params) {
  if (params == nullptr) return FALSE;
  struct Call {
    WSEParams *params;
    BOOL unloaded;
  } call = {params, FALSE};
  kt::RunGuarded(
      [](void *context) {
        auto *c = static_cast<Call *>(context);
        c->unloaded = KTUnloadService(c->params->window, c->params->argument);
      },
      &call);
  return call.unloaded;
}
