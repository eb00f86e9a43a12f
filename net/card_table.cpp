// The network-card table: found once per process from the registry layout
// of the platform's family, and the queries by card index.
#include "net/card_table.h"

#include <string.h>

#include <algorithm>
#include <memory>
#include <new>

#include "config/reg_key.h"
#include "config/registry_values.h"
#include "core/attach_steps.h"
#include "net/dhcp_records.h"

namespace kt {
namespace {

constexpr char kNineXRoot[] = "SYSTEM\\CurrentControlSet\\Services\\Class\\Net\\";
constexpr char kNtRoot[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\";
// Some 2000 installations keep the cards under the singular name.
constexpr char kNtRootSingular[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCard\\";
constexpr char kNetTransRoot[] = "SYSTEM\\CurrentControlSet\\Services\\Class\\NetTrans\\";
constexpr char kDhcpRoot[] = "SYSTEM\\CurrentControlSet\\Services\\VxD\\DHCP\\";
constexpr DWORD kKeyNameSize = 257;  // 256 characters and the terminator

struct CardTable {
  BOOL built = FALSE;
  DWORD count = 0;
  std::unique_ptr<CardRecord[]> cards;
  DWORD platform = 0;
  const char *root = nullptr;
};

CardTable g_table;

bool DecidePlatform() {
  static const struct {
    const char *name;
    DWORD code;
  } kPlatforms[] = {{"Windows 95", kPlatform95},
                    {"Windows 98", kPlatform98},
                    {"Windows NT", kPlatformNT},
                    {"Windows 2000", kPlatform2000}};
  char name[32] = {};
  if (!GetPlatformNameInfo(name, sizeof name - 1)) return false;
  for (const auto &platform : kPlatforms) {
    if (strstr(name, platform.name) == nullptr) continue;
    g_table.platform = platform.code;
    g_table.root = platform.code & kNineX ? kNineXRoot : kNtRoot;
    if (platform.code == kPlatform2000 &&
        RegKey().Open(HKEY_LOCAL_MACHINE, kNtRoot, KEY_QUERY_VALUE) != ERROR_SUCCESS)
      g_table.root = kNtRootSingular;
    return true;
  }
  return false;
}

// root (at most 255 characters) and name, cut at 255 characters.
void ComposePath(char (&path)[kPathSize], const char *root, const char *name) {
  strncpy0(path, root, kPathSize);
  const size_t used = strlen(path);
  strncpy0(path + used, name, static_cast<int>(kPathSize - used));
}

bool SubkeyName(HKEY key, DWORD index, char (&name)[kKeyNameSize]) {
  DWORD size = kKeyNameSize;
  return RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

bool ContainsAny(const char *text, std::initializer_list<const char *> parts) {
  for (const char *part : parts)
    if (strstr(text, part) != nullptr) return true;
  return false;
}

// A text value read and holding neither the unset nor the broadcast address;
// of a list, the first entry counts.
bool HoldsAddress(HKEY key, const char *value) {
  char text[256];
  return ReadRegString(key, value, text, sizeof text) && strcmp(text, "0.0.0.0") != 0 &&
         strcmp(text, "255.255.255.255") != 0;
}

bool HoldsAddress(const char *path, const char *value) {
  RegKey key;
  return key.Open(HKEY_LOCAL_MACHINE, path, KEY_READ) == ERROR_SUCCESS &&
         HoldsAddress(key.get(), value);
}

// The NT family keeps TCP/IP and DHCP facts together in the key of the
// card's service.
void FillNt(HKEY root, CardRecord *cards, DWORD count) {
  for (DWORD i = 0; i < count; ++i) {
    CardRecord &card = cards[i];
    char name[kKeyNameSize], text[kTextSize];
    if (!SubkeyName(root, i, name)) continue;
    ComposePath(card.descPath, g_table.root, name);
    if (ReadText(card.descPath, "ProductName", text) &&
        ContainsAny(text, {"NdisWan", "AsyncMac"}))
      card.flags |= KTNC_DIALUP;
    ReadText(card.descPath, "ServiceName", text);
    wsnprintf(card.tcpipPath, kPathSize,
              "SYSTEM\\CurrentControlSet\\Services\\%s\\Parameters\\Tcpip", text);
    strcpy(card.dhcpPath, card.tcpipPath);
    RegKey tcpip;
    if (tcpip.Open(HKEY_LOCAL_MACHINE, card.tcpipPath, KEY_READ) != ERROR_SUCCESS)
      continue;
    card.flags |= KTNC_TCPIP;
    if (HoldsAddress(tcpip.get(), "IPAddress")) card.flags |= KTNC_FIXED_ADDRESS;
    if (HoldsAddress(tcpip.get(), "DhcpIPAddress")) card.flags |= KTNC_DHCP_ADDRESS;
  }
}

// 95/98 do not say which protocol entry belongs to which card: the n-th
// TCP/IP entry goes with the n-th card.
void BindNineXTcpip(CardRecord *cards, DWORD count) {
  RegKey protocols;
  DWORD entries = 0;
  if (protocols.Open(HKEY_LOCAL_MACHINE, kNetTransRoot, KEY_READ) != ERROR_SUCCESS ||
      RegQueryInfoKeyA(protocols.get(), nullptr, nullptr, nullptr, &entries, nullptr,
                       nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr) != ERROR_SUCCESS)
    return;
  DWORD next = 0;
  for (DWORD k = 0; k < entries && next < count; ++k) {
    CardRecord &card = cards[next];
    char name[kKeyNameSize], text[kTextSize];
    if (!SubkeyName(protocols.get(), k, name)) continue;
    ComposePath(card.tcpipPath, kNetTransRoot, name);
    if (!ReadText(card.tcpipPath, "DriverDesc", text) || strcmp(text, "TCP/IP") != 0) {
      card.tcpipPath[0] = '\0';
      continue;
    }
    if (HoldsAddress(card.tcpipPath, "IPAddress")) card.flags |= KTNC_FIXED_ADDRESS;
    card.flags |= KTNC_TCPIP;
    ++next;
  }
}

// DHCP slots go to the cards with TCP/IP in order, up to the first without;
// dial-up cards share the slot "DhcpInfo0/" and use up no number.
void FindNineXDhcpSlots(CardRecord *cards, DWORD count) {
  if (RegKey().Open(HKEY_LOCAL_MACHINE, kDhcpRoot, KEY_READ) != ERROR_SUCCESS) return;
  unsigned slot = 0;
  for (DWORD i = 0; i < count && (cards[i].flags & KTNC_TCPIP); ++i) {
    CardRecord &card = cards[i];
    char name[24] = "DhcpInfo0/";
    if (!(card.flags & KTNC_DIALUP)) wsnprintf(name, sizeof name, "DhcpInfo%02u", slot++);
    ComposePath(card.dhcpPath, kDhcpRoot, name);
    DWORD address = 0;
    if (g_table.platform == kPlatform95) {
      BYTE record[kDhcpInfoMaxBytes];
      DWORD got = 0;
      if (ReadBinary(card.dhcpPath, "DhcpInfo", record, sizeof record, &got))
        ReadDhcpInfo(record, got, kDhcpAddress, &address);
    } else {
      ReadBinary(card.dhcpPath, "DhcpIPAddress", &address, sizeof address);
    }
    if (address != 0 && address != 0xFFFFFFFFu) card.flags |= KTNC_DHCP_ADDRESS;
  }
}

void FillNineX(HKEY root, CardRecord *cards, DWORD count) {
  for (DWORD i = 0; i < count; ++i) {
    char name[kKeyNameSize], text[kTextSize];
    if (!SubkeyName(root, i, name)) continue;
    ComposePath(cards[i].descPath, g_table.root, name);
    if (ReadText(cards[i].descPath, "DriverDesc", text) &&
        ContainsAny(text, {"Dial-Up Adapter", "PPP Adapter", "AOL Adapter"}))
      cards[i].flags |= KTNC_DIALUP;
  }
  BindNineXTcpip(cards, count);
  FindNineXDhcpSlots(cards, count);
}

BOOL Build() {
  if (!DecidePlatform()) return FALSE;
  RegKey root;
  DWORD count = 0;
  if (root.Open(HKEY_LOCAL_MACHINE, g_table.root, KEY_READ) != ERROR_SUCCESS ||
      RegQueryInfoKeyA(root.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
      count == 0)
    return FALSE;
  std::unique_ptr<CardRecord[]> cards(new (std::nothrow) CardRecord[count]());
  if (cards == nullptr) return FALSE;
  if (g_table.platform & kNineX)
    FillNineX(root.get(), cards.get(), count);
  else
    FillNt(root.get(), cards.get(), count);
  g_table.cards = std::move(cards);
  g_table.count = count;
  return TRUE;
}

const CardTable *BuiltTable() {
  if (!g_table.built) g_table.built = Build();
  return g_table.built ? &g_table : nullptr;
}

BOOL CopyPath(DWORD card, LPSTR dest, DWORD size,
              const char (CardRecord::*path)[kPathSize]) {
  const bool writable = dest != nullptr && size > 0;
  if (writable) dest[0] = '\0';
  const CardRecord *record = FindCard(card);
  if (record == nullptr) return FALSE;
  if (writable)
    strncpy0(dest, record->*path, static_cast<int>(std::min<DWORD>(size, kPathSize)));
  return TRUE;
}

// The NCInfo field of a text value under the card's description key, named
// by the family.
BOOL ReadCardText(NCInfo *info, char (NCInfo::*field)[kTextSize], DWORD card,
                  const char *ntValue, const char *nineXValue) {
  if (info == nullptr) return FALSE;
  (info->*field)[0] = '\0';
  const CardRecord *record = FindCard(card);
  return record != nullptr &&
         ReadText(record->descPath, g_table.platform & kNineX ? nineXValue : ntValue,
                  info->*field);
}

}  // namespace

const CardRecord *FindCard(DWORD card) {
  const CardTable *table = BuiltTable();
  return table != nullptr && card < table->count ? &table->cards[card] : nullptr;
}

DWORD CardPlatform() { return g_table.platform; }

DWORD BuiltCardCount() { return g_table.built ? g_table.count : 0; }

BOOL ReadText(const char *path, const char *value, char *dest) {
  if (GetRegistryValueString(HKEY_LOCAL_MACHINE, path, value, dest, kTextSize))
    return TRUE;
  dest[0] = '\0';
  return FALSE;
}

bool ReadBinary(const char *path, const char *value, void *dest, DWORD room, DWORD *got) {
  RegKey key;
  if (path[0] == '\0' || key.Open(HKEY_LOCAL_MACHINE, path, KEY_READ) != ERROR_SUCCESS)
    return false;
  DWORD size = room;
  if (RegQueryValueExA(key.get(), value, nullptr, nullptr, static_cast<BYTE *>(dest),
                       &size) != ERROR_SUCCESS)
    return false;
  if (got != nullptr) *got = size;
  return true;
}

void StartNetReport() { InitNetReport(); }
void StopNetReport() { ExitNetReport(); }

}  // namespace kt

using kt::CardRecord;

extern "C" BOOL KTAPI InitNetReport(void) { return kt::BuiltTable() != nullptr; }

extern "C" BOOL KTAPI ExitNetReport(void) {
  kt::g_table.cards.reset();
  kt::g_table.count = 0;
  kt::g_table.built = FALSE;
  return TRUE;
}

extern "C" BOOL KTAPI GetNumNetworkCards(DWORD *count) {
  if (count != nullptr) *count = 0;
  const kt::CardTable *table = kt::BuiltTable();
  if (table == nullptr) return FALSE;
  if (count != nullptr) *count = table->count;
  return TRUE;
}

extern "C" BOOL KTAPI GetNCDescPath(DWORD card, LPSTR dest, DWORD size) {
  return kt::CopyPath(card, dest, size, &CardRecord::descPath);
}

extern "C" BOOL KTAPI GetNCTcpipPath(DWORD card, LPSTR dest, DWORD size) {
  return kt::CopyPath(card, dest, size, &CardRecord::tcpipPath);
}

extern "C" BOOL KTAPI GetNCDhcpPath(DWORD card, LPSTR dest, DWORD size) {
  return kt::CopyPath(card, dest, size, &CardRecord::dhcpPath);
}

extern "C" BOOL KTAPI GetNCFlags(DWORD card, DWORD *flags) {
  if (flags != nullptr) *flags = 0;
  const CardRecord *record = kt::FindCard(card);
  if (record == nullptr) return FALSE;
  if (flags != nullptr) *flags = record->flags;
  return TRUE;
}

extern "C" BOOL KTAPI GetNCDescription(NCInfo *info, DWORD card) {
  return kt::ReadCardText(info, &NCInfo::description, card, "Description", "DriverDesc");
}

extern "C" BOOL KTAPI GetNCServiceName(NCInfo *info, DWORD card) {
  return kt::ReadCardText(info, &NCInfo::serviceName, card, "ServiceName", "ServiceName");
}

extern "C" BOOL KTAPI GetNCProductName(NCInfo *info, DWORD card) {
  return kt::ReadCardText(info, &NCInfo::productName, card, "ProductName", "ProductName");
}

// 95/98 name the driver's files with the card; NT names the card's service
// and that service its image; 2000 goes from the service through the
// connection's device instance to the driver's service.
extern "C" BOOL KTAPI GetNCDriverName(NCInfo *info, DWORD card) {
  using kt::ReadText;
  if (info == nullptr) return FALSE;
  info->driverName[0] = '\0';
  const CardRecord *record = kt::FindCard(card);
  if (record == nullptr) return FALSE;
  if (kt::CardPlatform() & kt::kNineX)
    return ReadText(record->descPath, "DeviceVxDs", info->driverName);
  char service[kt::kTextSize], key[kt::kTextSize];
  if (!ReadText(record->descPath, "ServiceName", service)) return FALSE;
  if (kt::CardPlatform() == kt::kPlatform2000) {
    char instance[kt::kTextSize];
    wsnprintf(key, sizeof key,
              "SYSTEM\\CurrentControlSet\\Control\\Network\\"
              "{4D36E972-E325-11CE-BFC1-08002BE10318}\\%s\\Connection",
              service);
    if (!ReadText(key, "PnpInstanceId", instance)) return FALSE;
    wsnprintf(key, sizeof key, "SYSTEM\\CurrentControlSet\\Enum\\%s", instance);
    if (!ReadText(key, "Service", service)) return FALSE;
  }
  wsnprintf(key, sizeof key, "SYSTEM\\CurrentControlSet\\Services\\%s", service);
  return ReadText(key, "ImagePath", info->driverName);
}
