// The walk over the TCP driver's entities that fills the adapter table;
// portable. Replies are untrusted: every field is read within the bytes
// that came back.
#include "net/tcp_replies.h"

#include <stddef.h>
#include <string.h>

#include <algorithm>

namespace kt {
namespace {

static_assert(sizeof(TcpRequest) == (sizeof(void *) == 4 ? 36 : 40),
              "the platform's query record");
// Callers read the record directly; it has no pointers, so every build agrees.
static_assert(sizeof(IpAdapterInfo) == 344 && offsetof(IpAdapterInfo, index) == 256 &&
                  offsetof(IpAdapterInfo, type) == 264 &&
                  offsetof(IpAdapterInfo, addressCount) == 268 &&
                  offsetof(IpAdapterInfo, addresses) == 272 &&
                  sizeof(IpAdapterAddress) == 16 &&
                  offsetof(IpAdapterInfo, hardware) == 336,
              "adapter record layout");

constexpr DWORD kClassGeneric = 0x100, kClassProtocol = 0x200, kTypeProvider = 0x100;
constexpr DWORD kIdEntityList = 0, kIdEntityType = 1, kIdInterfaceStats = 1;
constexpr DWORD kIdRouteTable = 0x101, kIdAddressTable = 0x102;
constexpr DWORD kEntityInterface = 0x200, kInterfaceType = 0x202;
constexpr DWORD kEntityIp = 0x301, kIpType = 0x303;

// Byte offsets within the replies' records, as the platform lays them out.
constexpr size_t kEntityRow = 8;  // entity, instance
constexpr size_t kIfIndex = 0, kIfType = 4, kIfHardwareLength = 16, kIfHardware = 20,
                 kIfDescriptionLength = 88, kIfDescription = 92;
constexpr size_t kAddressRow = 24, kAddrAddress = 0, kAddrIndex = 4, kAddrMask = 8;
constexpr size_t kRouteDestination = 0, kRouteIndex = 4, kRouteNextHop = 24;
constexpr size_t kMaxDescription = 127, kMaxAddresses = 4;

DWORD Word(const BYTE *at) {
  DWORD value;
  memcpy(&value, at, 4);
  return value;
}

class Walk {
 public:
  Walk(TcpQuery query, void *channel, DWORD routeRowSize, IpAdapterInfo *adapters,
       DWORD capacity)
      : query_(query),
        channel_(channel),
        routeRow_(std::max<DWORD>(routeRowSize, 28)),
        adapters_(adapters),
        capacity_(capacity) {}

  DWORD Run() {
    const DWORD listed = Ask(0, 0, kClassGeneric, kTypeProvider, kIdEntityList, entities_,
                             sizeof entities_);
    for (size_t at = 0; listed - at >= kEntityRow; at += kEntityRow) {
      const DWORD entity = Word(entities_ + at), instance = Word(entities_ + at + 4);
      if (entity == kEntityInterface && TypeOf(entity, instance) == kInterfaceType)
        ReadInterface(instance);
      else if (entity == kEntityIp && TypeOf(entity, instance) == kIpType)
        ReadIpLayer(instance);
    }
    return highest_;
  }

 private:
  // The reply's byte count, never more than room.
  DWORD Ask(DWORD entity, DWORD instance, DWORD infoClass, DWORD infoType, DWORD infoId,
            BYTE *reply, DWORD room) {
    TcpRequest request;
    memset(&request, 0, sizeof request);  // the padding of 64-bit builds too
    request.entity = entity;
    request.instance = instance;
    request.infoClass = infoClass;
    request.infoType = infoType;
    request.infoId = infoId;
    return std::min(query_(channel_, request, reply, room), room);
  }

  DWORD TypeOf(DWORD entity, DWORD instance) {
    BYTE type[4];
    return Ask(entity, instance, kClassGeneric, kTypeProvider, kIdEntityType, type, 4) ==
                   4
               ? Word(type)
               : 0;
  }

  // The element of interface index (its low 8 bits, from 1), or NULL.
  IpAdapterInfo *Slot(DWORD index) {
    const DWORD i = index & 0xFF;
    return i != 0 && adapters_ != nullptr && i - 1 < capacity_ ? &adapters_[i - 1]
                                                               : nullptr;
  }

  void ReadInterface(DWORD instance) {
    const DWORD got = Ask(kEntityInterface, instance, kClassProtocol, kTypeProvider,
                          kIdInterfaceStats, reply_, sizeof reply_);
    if (got < kIfDescription) return;
    const DWORD index = Word(reply_ + kIfIndex) & 0xFF;
    highest_ = std::max(highest_, index);
    IpAdapterInfo *adapter = Slot(index);
    if (adapter == nullptr) return;
    adapter->index = index;
    adapter->type = Word(reply_ + kIfType);
    const size_t described = std::min<size_t>(
        {Word(reply_ + kIfDescriptionLength), kMaxDescription, got - kIfDescription});
    memset(adapter->description, 0, sizeof adapter->description);
    memcpy(adapter->description, reply_ + kIfDescription, described);
    const size_t hardware =
        std::min<size_t>(Word(reply_ + kIfHardwareLength), sizeof adapter->hardware);
    memset(adapter->hardware, 0, sizeof adapter->hardware);
    memcpy(adapter->hardware, reply_ + kIfHardware, hardware);
  }

  void ReadIpLayer(DWORD instance) {
    DWORD got = Ask(kEntityIp, instance, kClassProtocol, kTypeProvider, kIdAddressTable,
                    reply_, sizeof reply_);
    for (size_t at = 0; got - at >= kAddressRow; at += kAddressRow) {
      IpAdapterInfo *adapter = Slot(Word(reply_ + at + kAddrIndex));
      if (adapter == nullptr || adapter->addressCount >= kMaxAddresses) continue;
      IpAdapterAddress &entry = adapter->addresses[adapter->addressCount++];
      entry.address = Word(reply_ + at + kAddrAddress);
      entry.mask = Word(reply_ + at + kAddrMask);
    }
    got = Ask(kEntityIp, instance, kClassProtocol, kTypeProvider, kIdRouteTable, reply_,
              sizeof reply_);
    for (size_t at = 0; got - at >= routeRow_; at += routeRow_) {
      IpAdapterInfo *adapter = Slot(Word(reply_ + at + kRouteIndex));
      if (Word(reply_ + at + kRouteDestination) != 0 || adapter == nullptr) continue;
      // A default route serves the addresses whose subnet holds its next hop.
      const DWORD hop = Word(reply_ + at + kRouteNextHop);
      for (DWORD e = 0; e < adapter->addressCount; ++e) {
        IpAdapterAddress &entry = adapter->addresses[e];
        if (entry.address != 0 && (entry.mask & entry.address) == (entry.mask & hop))
          entry.gateway = hop;
      }
    }
  }

  TcpQuery query_;
  void *channel_;
  size_t routeRow_;
  IpAdapterInfo *adapters_;
  DWORD capacity_;
  DWORD highest_ = 0;
  BYTE entities_[kReplyRoom];
  BYTE reply_[kReplyRoom];
};

}  // namespace

void ClearAdapterTable(IpAdapterInfo *adapters, DWORD capacity, DWORD *highestIndex) {
  if (highestIndex != nullptr) *highestIndex = 0;
  if (adapters != nullptr) std::fill_n(adapters, capacity, IpAdapterInfo{});
}

void ReadAdapterTable(TcpQuery query, void *channel, DWORD routeRowSize,
                      IpAdapterInfo *adapters, DWORD capacity, DWORD *highestIndex) {
  Walk walk(query, channel, routeRowSize, adapters, capacity);
  const DWORD highest = walk.Run();
  if (highestIndex != nullptr) *highestIndex = highest;
}

}  // namespace kt
