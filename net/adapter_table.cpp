// GetIpAdapterInfo: the TCP driver's interfaces, asked through WsControl of
// WSOCK32 on 95/98 and through the TCP device on the NT family.
#include <windows.h>

#include "net/tcp_replies.h"

namespace kt {
namespace {

constexpr DWORD kRouteRowNt = 52, kRouteRowNineX = 48;

// The TCP device, named for this process's DOS device space on first use.
class TcpDevice {
 public:
  TcpDevice() {
    // A second definition in the same session fails as already made, which
    // leaves the name usable: only the open decides.
    DefineDosDeviceA(DDD_RAW_TARGET_PATH, "Tcp", "\\Device\\Tcp");
    handle_ = CreateFileA("\\\\.\\Tcp", 0, 0, GetSecurityAttributes(), OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  ~TcpDevice() {
    if (opened()) CloseHandle(handle_);
  }
  TcpDevice(const TcpDevice &) = delete;
  TcpDevice &operator=(const TcpDevice &) = delete;
  bool opened() const { return handle_ != INVALID_HANDLE_VALUE; }

  // A reply cut to the room still counts: its first records are whole.
  static DWORD Query(void *self, const TcpRequest &request, BYTE *reply, DWORD room) {
    constexpr DWORD kQueryCode = 0x120003;
    DWORD got = 0;
    if (!DeviceIoControl(static_cast<TcpDevice *>(self)->handle_, kQueryCode,
                         const_cast<TcpRequest *>(&request), sizeof request, reply, room,
                         &got, nullptr) &&
        GetLastError() != ERROR_MORE_DATA)
      return 0;
    return got;
  }

 private:
  HANDLE handle_;
};

class WsControlEntry {
 public:
  WsControlEntry() : library_(LoadLibraryA("WSOCK32.DLL")) {
    if (library_ != nullptr)
      entry_ = reinterpret_cast<Entry>(
          reinterpret_cast<void *>(GetProcAddress(library_, "WsControl")));
  }
  ~WsControlEntry() {
    if (library_ != nullptr) FreeLibrary(library_);
  }
  WsControlEntry(const WsControlEntry &) = delete;
  WsControlEntry &operator=(const WsControlEntry &) = delete;
  bool opened() const { return entry_ != nullptr; }

  static DWORD Query(void *self, const TcpRequest &request, BYTE *reply, DWORD room) {
    constexpr DWORD kProtocolTcp = 6, kActionQuery = 0;
    DWORD requestLength = sizeof request, got = room;
    return static_cast<WsControlEntry *>(self)->entry_(kProtocolTcp, kActionQuery,
                                                       const_cast<TcpRequest *>(&request),
                                                       &requestLength, reply, &got) == 0
               ? got
               : 0;
  }

 private:
  using Entry = DWORD(WINAPI *)(DWORD protocol, DWORD action, LPVOID request,
                                LPDWORD requestLength, LPVOID reply, LPDWORD replyLength);
  HMODULE library_;
  Entry entry_ = nullptr;
};

template <typename Channel>
DWORD ReadThrough(DWORD routeRowSize, IpAdapterInfo *adapters, DWORD capacity,
                  DWORD *highestIndex) {
  Channel channel;
  if (!channel.opened()) return 0;
  ReadAdapterTable(&Channel::Query, &channel, routeRowSize, adapters, capacity,
                   highestIndex);
  return 1;
}

}  // namespace
}  // namespace kt

extern "C" DWORD KTAPI GetIpAdapterInfo(IpAdapterInfo *adapters, DWORD capacity,
                                        DWORD *highestIndex) {
  kt::ClearAdapterTable(adapters, capacity, highestIndex);
  return IsWinNT() ? kt::ReadThrough<kt::TcpDevice>(kt::kRouteRowNt, adapters, capacity,
                                                    highestIndex)
                   : kt::ReadThrough<kt::WsControlEntry>(kt::kRouteRowNineX, adapters,
                                                         capacity, highestIndex);
}
