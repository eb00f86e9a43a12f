// The adapter table from reply scripts in the platform's published layouts,
// answered by the stand-in TCP driver: directly in the NT poses, through the
// stand-in WsControl in the 95 and 98 poses. The ME pose keeps Wine's own.
#include <cstdio>

#include "standin/tcp_script.h"
#include "win_helpers.h"

namespace {

using Bytes = std::string;
constexpr DWORD kGeneric = 0x100, kProtocol = 0x200, kInterface = 0x200, kIpLayer = 0x301;

Bytes Words(std::initializer_list<DWORD> words) {
  return Bytes(reinterpret_cast<const char *>(words.begin()), words.size() * 4);
}
Bytes Address(const char *address, DWORD index) {
  return Words({StrToIPAddr(address), index, StrToIPAddr("255.255.255.0"), 1, 65535, 0});
}
// Route rows are 48 bytes on 95/98, 52 on the NT family.
Bytes Route(const char *destination, DWORD index, const char *nextHop) {
  return Words({StrToIPAddr(destination), index, 1, 0, 0, 0, StrToIPAddr(nextHop), 4, 2,
                0, 0, 0, 0})
      .substr(0, IsWinNT() ? 52 : 48);
}

// Replies by query; the entities are listed in the order added.
struct Script {
  Bytes records, entities;
  Script &Answer(DWORD entity, DWORD instance, DWORD cls, DWORD id, const Bytes &reply) {
    records += Words({entity, instance, cls, 0x100, id, DWORD(reply.size())}) + reply;
    return *this;
  }
  Script &Entity(DWORD entity, DWORD instance, const Bytes &type) {
    entities += Words({entity, instance});
    return Answer(entity, instance, kGeneric, 1, type);
  }
  // The statistics record, cut by cut bytes; the description's stated
  // length may differ from the text given.
  Script &Interface(DWORD instance, DWORD index, DWORD type, const Bytes &description,
                    DWORD hardwareLength = 6, DWORD stated = ~0u, size_t cut = 0) {
    const Bytes row = Words({index, type, 1500, 0, hardwareLength}) + "\2KT\1\2\3\4\5" +
                      Bytes(60, '\0') +
                      Words({stated == ~0u ? DWORD(description.size()) : stated}) +
                      description;
    return Entity(kInterface, instance, Words({0x202}))
        .Answer(kInterface, instance, kProtocol, 1, row.substr(0, row.size() - cut));
  }
  Script &IpLayer(DWORD instance, const Bytes &addresses, const Bytes &routes) {
    return Entity(kIpLayer, instance, Words({0x303}))
        .Answer(kIpLayer, instance, kProtocol, 0x102, addresses)
        .Answer(kIpLayer, instance, kProtocol, 0x101, routes);
  }
  Bytes Text(size_t listed = Bytes::npos) const {
    return Script(*this).Answer(0, 0, kGeneric, 0, entities.substr(0, listed)).records;
  }
};

// Starts, or stops, the stand-in driver: a demand-start service.
bool Service(bool stop) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service =
      OpenServiceA(manager, "kt_tcp_standin", SERVICE_START | SERVICE_STOP);
  SERVICE_STATUS status;
  const bool done = stop ? ControlService(service, SERVICE_CONTROL_STOP, &status)
                         : StartServiceA(service, 0, nullptr);
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return done;
}

// The driver's device, the service started by each program.
HANDLE Driver() {
  static const HANDLE device = [] {
    Service(false);
    DefineDosDeviceA(DDD_RAW_TARGET_PATH, "Tcp", "\\Device\\Tcp");
    return CreateFileA("\\\\.\\Tcp", 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  }();
  return device;
}

bool WineWsControl() {
  return !IsWinNT() &&
         !GetProcAddress(GetModuleHandleA("wsock32.dll"), "KtStandInMarker");
}

// Gives the driver the script and reads a table of 32 (prefilled with
// junk) into a text: the elements that are not all zero (slot, index, type,
// description, last hardware byte, then address, mask and gateway of each
// address), then the highest index.
std::string Read(const Bytes &script, DWORD result) {
  IpAdapterInfo adapters[32];
  DWORD highest = 0xDEAD, got = 0;
  DeviceIoControl(Driver(), KT_SET_SCRIPT, const_cast<char *>(script.data()),
                  DWORD(script.size()), nullptr, 0, &got, nullptr);
  memset(adapters, 0xAB, sizeof adapters);
  EXPECT_EQ(GetIpAdapterInfo(adapters, 32, &highest), result);
  std::string text;
  char address[16];
  for (const IpAdapterInfo &a : adapters) {
    if (Bytes(reinterpret_cast<const char *>(&a), sizeof a) == Bytes(sizeof a, '\0'))
      continue;
    text += "[" + std::to_string(&a - adapters) + "] " + std::to_string(a.index) + " " +
            std::to_string(a.type) + " " + a.description + " " +
            std::to_string(a.hardware[7]) + ":";
    for (DWORD e = 0; e < a.addressCount; ++e)
      for (DWORD value :
           {a.addresses[e].address, a.addresses[e].mask, a.addresses[e].gateway})
        text += std::string(" ") + (IPAddrToStr(value, address, 16), address);
    text += " ";
  }
  return text + std::to_string(highest);
}

// The installer's question (does every adapter only dial out?) comes from
// the same table, on 95 and 98 alone.
TEST(AdapterTable, RepliesRequestsAndDialUpOnly) {
  EXPECT_TRUE(!IsWinNT() || !WSEWin9xDialupOnly());
  if (WineWsControl()) {
    // Wine's own WsControl is no reference for the layouts (its entity list
    // and route rows differ from the published ones), but loopback must
    // come out.
    const std::string table = Read("", 1);
    EXPECT_EQ(table.substr(0, 9), "[0] 1 24 ") << table;
    EXPECT_EQ(table.substr(table.find(':'), 22), ": 127.0.0.1 255.0.0.0 ") << table;
    return;
  }
  if (Driver() == INVALID_HANDLE_VALUE)
    GTEST_SKIP() << "needs the stand-ins, which ctest installs (net_standins_install)";
  // Interfaces 1 and 2, a second 1 (index 16777217) that takes over its
  // slot, 40 past the 32; five addresses on 1 (the fifth dropped), one on 2,
  // others on an index with low 8 bits 0 and on 40; default routes, some
  // matching (a later match wins), and one other route.
  Bytes addresses, many;
  for (const char *a : {"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.5"})
    addresses += Address(a, 1);
  addresses +=
      Address("192.168.1.10", 2) + Address("172.16.0.1", 256) + Address("172.17.0.1", 40);
  const Bytes routes = Route("0.0.0.0", 2, "192.168.1.1") +
                       Route("0.0.0.0", 2, "10.0.0.1") + Route("0.0.0.0", 1, "10.0.0.9") +
                       Route("0.0.0.0", 1, "10.0.0.254") +
                       Route("10.0.0.0", 1, "10.0.0.99");
  Script parts, hostile;
  parts.Interface(0, 1, 6, "First")
      .Interface(1, 2, 23, "PPP Adapter")
      .Interface(2, 0x01000001, 71, "Wrapped")
      .Interface(3, 40, 6, "Past the array")
      .IpLayer(0, addresses, routes)
      .Entity(0x400, 0, Words({0x401}));
  const std::string mask = " 255.255.255.0 ";
  EXPECT_EQ(Read(parts.Text(), 1),
            "[0] 1 71 Wrapped 0: 10.0.0.1" + mask + "10.0.0.254 10.0.0.2" + mask +
                "10.0.0.254 10.0.0.3" + mask + "10.0.0.254 10.0.0.4" + mask +
                "10.0.0.254 [1] 2 23 PPP Adapter 0: 192.168.1.10" + mask +
                "192.168.1.1 40");
  // Each request in the platform's record, its context zeroed, by the
  // family's way: the device, or WsControl (protocol 6, action 0). Then
  // entity.instance class type id/room, in the order asked.
  KtLogEntry log[512];
  DWORD got = 0;
  DeviceIoControl(Driver(), KT_GET_LOG, nullptr, 0, log, sizeof log, &got, nullptr);
  std::string asked;
  for (const KtLogEntry &entry : std::vector<KtLogEntry>(log, log + got / sizeof *log)) {
    DWORD id[5];
    memcpy(id, entry.request, sizeof id);
    EXPECT_TRUE(entry.code == (IsWinNT() ? KT_QUERY_NT : KT_QUERY_WSCONTROL) &&
                entry.requestLength == 32 + sizeof(void *) &&
                Bytes(reinterpret_cast<const char *>(entry.request) + 20, 20) ==
                    Bytes(20, '\0'));
    char text[64];
    sprintf(text, " %lx.%lx %lx %lx %lx/%u", id[0], id[1], id[2], id[3], id[4],
            entry.replyRoom);
    asked += text;
  }
  EXPECT_EQ(
      asked,
      " 0.0 100 100 0/4096 200.0 100 100 1/4 200.0 200 100 1/4096 200.1 100 100 1/4"
      " 200.1 200 100 1/4096 200.2 100 100 1/4 200.2 200 100 1/4096 200.3 100 100 1/4"
      " 200.3 200 100 1/4096 301.0 100 100 1/4 301.0 200 100 102/4096"
      " 301.0 200 100 101/4096");
  // Without an array only the highest index comes back.
  EXPECT_EQ(GetIpAdapterInfo(nullptr, 32, &got) * 100 + got, 140u);

  // Records cut short, a description without terminator and longer than
  // 127, one shorter than stated, a hardware address longer than 8, an
  // address table past the 4,096 bytes read (interface 8's rows), and an
  // entity past the 512 that fit.
  for (int row = 0; row < 200; ++row) many += Address("10.1.1.1", row < 170 ? 7 : 8);
  hostile.Interface(0, 3, 6, "Short", 6, ~0u, 6)
      .Interface(1, 4, 6, Bytes(200, 'x'), 200, 300)
      .Interface(2, 5, 6, "Ten bytes!", 6, 50)
      .Entity(kInterface, 3, "\2\2")
      .Answer(kInterface, 3, kProtocol, 1, Bytes(100, '\1'))
      .IpLayer(0, Address("10.2.2.2", 5).substr(0, 23), "")
      .IpLayer(1, many, "");
  while (hostile.entities.size() < 4096) hostile.Entity(0x999, 0, Words({0}));
  hostile.Interface(9, 9, 6, "Never listed");
  std::string seventh = "[6] 0 0  0:";
  for (int e = 0; e < 4; ++e) seventh += " 10.1.1.1 255.255.255.0 0.0.0.0";
  EXPECT_EQ(Read(hostile.Text(), 1),
            "[3] 4 6 " + Bytes(127, 'x') + " 5: [4] 5 6 Ten bytes! 0: " + seventh + " 5");
  EXPECT_EQ(Read("", 1), "0");  // the entity list fails
  EXPECT_EQ(Read(Script().Interface(0, 1, 6, "x").Text(0), 1), "0");  // it lists nothing

  if (!IsWinNT()) {
    const std::pair<Bytes, BOOL> dialUp[] = {
        {Script().Interface(0, 1, 6, "Realtek 8029").Interface(1, 2, 23, "PPP").Text(),
         0},
        // By type, by description (slot 6 unused), and past the 32 read.
        {Script()
             .Interface(0, 1, 23, "")
             .Interface(1, 2, 28, "")
             .Interface(2, 3, 24, "")
             .Interface(3, 4, 6, "Dial-Up Adapter #2")
             .Interface(4, 5, 6, "NdisWan PPP Adapter")
             .Interface(5, 7, 6, "AOL Adapter")
             .Interface(6, 40, 6, "Realtek 8029")
             .Text(),
         1},
        {Script().Interface(0, 1, 6, "dial-up adapter").Text(), 0},
        {Script().Text(), 1},
    };
    for (const auto &[script, dialUpOnly] : dialUp) {
      Read(script, 1);
      EXPECT_EQ(WSEWin9xDialupOnly(), dialUpOnly) << script.size();
    }
  } else if (Service(true)) {
    // No driver to reach (the device stopped): 0, all zero.
    EXPECT_EQ(Read("", 0), "0");
    Service(false);  // the handle of Driver() is stale from here on
  }
}

}  // namespace
