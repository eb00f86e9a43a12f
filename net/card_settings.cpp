// Each card's TCP/IP and DHCP settings, read through the keys of the card
// table: NT and 2000 keep texts and numbers, 98 binary values and 95 one
// binary lease record; every getter hides which.
#include <stddef.h>

#include <initializer_list>

#include "net/card_table.h"
#include "net/dhcp_records.h"

namespace kt {
namespace {

// Callers read the record directly; it has no pointers, so every build agrees.
static_assert(sizeof(NCInfo) == 3144 && offsetof(NCInfo, enableDHCP) == 3120 &&
                  offsetof(NCInfo, t2) == 3140,
              "NCInfo layout");

// 95/98 count lease times from a start 3,652 days and 8 hours later.
constexpr DWORD kNineXTimeShift = 315561600;

void Clear(char (&text)[kTextSize]) { text[0] = '\0'; }
void Clear(DWORD &number) { number = 0; }

// Clears the field; the card when it has TCP/IP bound, else NULL.
template <typename Field>
const CardRecord *TcpipCard(NCInfo *info, Field NCInfo::*field, DWORD card) {
  if (info == nullptr) return nullptr;
  Clear(info->*field);
  const CardRecord *record = FindCard(card);
  return record != nullptr && (record->flags & KTNC_TCPIP) ? record : nullptr;
}

bool NineX() { return (CardPlatform() & kNineX) != 0; }

// A 32-bit DHCP value: from the 95 lease record, else a 4-byte value.
bool ReadDhcpWord(const CardRecord &card, const char *value, DhcpInfoField field,
                  DWORD *word) {
  if (CardPlatform() == kPlatform95) {
    BYTE record[kDhcpInfoMaxBytes];
    DWORD got = 0;
    return ReadBinary(card.dhcpPath, "DhcpInfo", record, sizeof record, &got) &&
           ReadDhcpInfo(record, got, field, word);
  }
  DWORD number = 0;
  if (!ReadBinary(card.dhcpPath, value, &number, sizeof number)) return false;
  *word = number;
  return true;
}

// A text value of the TCP/IP key, named by the family.
BOOL TcpipText(NCInfo *info, DWORD card, char (NCInfo::*field)[kTextSize],
               const char *ntValue, const char *nineXValue) {
  const CardRecord *record = TcpipCard(info, field, card);
  return record != nullptr &&
         ReadText(record->tcpipPath, NineX() ? nineXValue : ntValue, info->*field);
}

// NT: a text of the DHCP key; 95/98: the binary address as dotted text.
BOOL DhcpAddress(NCInfo *info, DWORD card, char (NCInfo::*field)[kTextSize],
                 const char *value, DhcpInfoField offset) {
  const CardRecord *record = TcpipCard(info, field, card);
  if (record == nullptr) return FALSE;
  if (!NineX()) return ReadText(record->dhcpPath, value, info->*field);
  DWORD address;
  if (!ReadDhcpWord(*record, value, offset, &address)) return FALSE;
  IPAddrToStr(address, info->*field, kTextSize);
  return TRUE;
}

BOOL DhcpNumber(NCInfo *info, DWORD card, DWORD NCInfo::*field, const char *value,
                DhcpInfoField offset, bool isTime) {
  const CardRecord *record = TcpipCard(info, field, card);
  DWORD number;
  if (record == nullptr || !ReadDhcpWord(*record, value, offset, &number)) return FALSE;
  info->*field = isTime && NineX() ? number + kNineXTimeShift : number;
  return TRUE;
}

}  // namespace
}  // namespace kt

using namespace kt;

extern "C" BOOL KTAPI GetDefaultGateway(NCInfo *info, DWORD card) {
  return TcpipText(info, card, &NCInfo::defaultGateway, "DefaultGateway",
                   "DefaultGateway");
}

extern "C" BOOL KTAPI GetIPAddress(NCInfo *info, DWORD card) {
  return TcpipText(info, card, &NCInfo::ipAddress, "IPAddress", "IPAddress");
}

extern "C" BOOL KTAPI GetSubnetMask(NCInfo *info, DWORD card) {
  return TcpipText(info, card, &NCInfo::subnetMask, "SubnetMask", "IPMask");
}

// 95/98 keep the gateway only among the lease's DHCP options.
extern "C" BOOL KTAPI GetDhcpDefaultGateway(NCInfo *info, DWORD card) {
  const CardRecord *record = TcpipCard(info, &NCInfo::dhcpDefaultGateway, card);
  if (record == nullptr) return FALSE;
  if (!NineX())
    return ReadText(record->dhcpPath, "DhcpDefaultGateway", info->dhcpDefaultGateway);
  BYTE options[kOptionInfoMaxBytes];
  DWORD got = 0, router;
  if (!ReadBinary(record->dhcpPath, "OptionInfo", options, sizeof options, &got) ||
      !FindRouterOption(options, got, &router))
    return FALSE;
  IPAddrToStr(router, info->dhcpDefaultGateway, kTextSize);
  return TRUE;
}

extern "C" BOOL KTAPI GetDhcpIPAddress(NCInfo *info, DWORD card) {
  return DhcpAddress(info, card, &NCInfo::dhcpIPAddress, "DhcpIPAddress", kDhcpAddress);
}

extern "C" BOOL KTAPI GetDhcpServer(NCInfo *info, DWORD card) {
  return DhcpAddress(info, card, &NCInfo::dhcpServer, "DhcpServer", kDhcpServer);
}

extern "C" BOOL KTAPI GetDhcpSubnetMask(NCInfo *info, DWORD card) {
  return DhcpAddress(info, card, &NCInfo::dhcpSubnetMask, "DhcpSubnetMask", kDhcpMask);
}

extern "C" BOOL KTAPI GetDhcpSubnetMaskOpt(NCInfo *info, DWORD card) {
  const CardRecord *record = TcpipCard(info, &NCInfo::dhcpSubnetMaskOpt, card);
  return record != nullptr &&
         ReadText(record->dhcpPath, "DhcpSubnetMaskOpt", info->dhcpSubnetMaskOpt);
}

// 95/98 store no switch: DHCP is in use when a lease holds an address and
// no fixed one is configured.
extern "C" BOOL KTAPI GetEnableDHCP(NCInfo *info, DWORD card) {
  const CardRecord *record = TcpipCard(info, &NCInfo::enableDHCP, card);
  if (record == nullptr) return FALSE;
  if (!NineX())
    return ReadDhcpWord(*record, "EnableDHCP", kDhcpAddress, &info->enableDHCP);
  info->enableDHCP =
      (record->flags & (KTNC_DHCP_ADDRESS | KTNC_FIXED_ADDRESS)) == KTNC_DHCP_ADDRESS;
  return TRUE;
}

extern "C" BOOL KTAPI GetLease(NCInfo *info, DWORD card) {
  return DhcpNumber(info, card, &NCInfo::lease, "Lease", kDhcpLease, false);
}

extern "C" BOOL KTAPI GetLeaseObtainedTime(NCInfo *info, DWORD card) {
  return DhcpNumber(info, card, &NCInfo::leaseObtainedTime, "LeaseObtainedTime",
                    kDhcpObtained, true);
}

extern "C" BOOL KTAPI GetLeaseTerminatesTime(NCInfo *info, DWORD card) {
  return DhcpNumber(info, card, &NCInfo::leaseTerminatesTime, "LeaseTerminatesTime",
                    kDhcpTerminates, true);
}

extern "C" BOOL KTAPI GetT1(NCInfo *info, DWORD card) {
  return DhcpNumber(info, card, &NCInfo::t1, "T1", kDhcpT1, true);
}

extern "C" BOOL KTAPI GetT2(NCInfo *info, DWORD card) {
  return DhcpNumber(info, card, &NCInfo::t2, "T2", kDhcpT2, true);
}

extern "C" BOOL KTAPI GetIndividualNCInfo(NCInfo *info, DWORD card) {
  for (auto getter : {GetNCDescription, GetNCServiceName, GetNCProductName,
                      GetDefaultGateway, GetDhcpDefaultGateway, GetNCDriverName,
                      GetIPAddress, GetSubnetMask, GetEnableDHCP, GetDhcpIPAddress,
                      GetDhcpServer, GetDhcpSubnetMask, GetDhcpSubnetMaskOpt, GetLease,
                      GetLeaseObtainedTime, GetLeaseTerminatesTime, GetT1, GetT2})
    getter(info, card);
  return TRUE;
}

extern "C" BOOL KTAPI GetAllNCInfo(NCInfo *infos) {
  if (infos == nullptr) return TRUE;
  for (DWORD card = 0, count = BuiltCardCount(); card < count; ++card)
    GetIndividualNCInfo(&infos[card], card);
  return TRUE;
}
