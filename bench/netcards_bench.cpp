// InitNetReport and GetAllNCInfo over 64 cards laid out as 2000 keeps them,
// beside this program's own direct reads of the same values, each opened,
// read and closed as the library must: the ratio is the library's overhead
// over the registry itself.
#include <stdio.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ktutil.h"

namespace {

const std::string kSet = "SYSTEM\\CurrentControlSet\\", kServices = kSet + "Services\\";
const std::string kCards =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
const std::string kConnections =
    kSet + "Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
constexpr int kCardCount = 64, kRounds = 40;

// Keys made here, each path's first new key, removed at the end (and by
// the Wine server's end at the latest).
class Layout {
 public:
  ~Layout() {
    for (auto key = made_.rbegin(); key != made_.rend(); ++key)
      RegDeleteTreeA(HKEY_LOCAL_MACHINE, key->c_str());
  }
  void Set(const std::string &path, const char *name, DWORD type, const void *data,
           DWORD size) {
    HKEY key;
    for (size_t at = 0; at != std::string::npos;) {
      at = path.find('\\', at + 1);
      const std::string prefix = path.substr(0, at);
      if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, prefix.c_str(), 0, KEY_READ, &key) != 0) {
        made_.push_back(prefix);
        break;
      }
      RegCloseKey(key);
    }
    // Volatile: Wine keeps NetworkCards so, and only volatile keys may be
    // made below a volatile one.
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
  }
  void Text(const std::string &path, const char *name, const std::string &text) {
    Set(path, name, REG_SZ, text.c_str(), DWORD(text.size() + 1));
  }

 private:
  std::vector<std::string> made_;
};

struct Read {
  std::string path;
  const char *value;
};

// What the library reads for one card of 2000, in its order.
void AddReads(std::vector<Read> &build, std::vector<Read> &fill, const std::string &card,
              const std::string &service) {
  const std::string tcpip = kServices + service + "\\Parameters\\Tcpip";
  const std::string desc = kCards + "\\" + card;
  build.insert(build.end(), {{desc, "ProductName"},
                             {desc, "ServiceName"},
                             {tcpip, "IPAddress"},
                             {tcpip, "DhcpIPAddress"}});
  fill.insert(fill.end(), {{desc, "Description"},
                           {desc, "ServiceName"},
                           {desc, "ProductName"},
                           {tcpip, "DefaultGateway"},
                           {tcpip, "DhcpDefaultGateway"},
                           {desc, "ServiceName"},
                           {kConnections + service + "\\Connection", "PnpInstanceId"},
                           {kSet + "Enum\\ROOT\\KTBENCH\\" + service, "Service"},
                           {kServices + service + "Drv", "ImagePath"}});
  for (const char *value : {"IPAddress", "SubnetMask", "EnableDHCP", "DhcpIPAddress",
                            "DhcpServer", "DhcpSubnetMask", "DhcpSubnetMaskOpt", "Lease",
                            "LeaseObtainedTime", "LeaseTerminatesTime", "T1", "T2"})
    fill.push_back({tcpip, value});
}

void Lay(Layout &layout, const std::string &card, const std::string &service) {
  const std::string tcpip = kServices + service + "\\Parameters\\Tcpip";
  layout.Text(kCards + "\\" + card, "Description", "Bench Ethernet " + card);
  layout.Text(kCards + "\\" + card, "ServiceName", service);
  layout.Text(kCards + "\\" + card, "ProductName", "E100B");
  layout.Text(kConnections + service + "\\Connection", "PnpInstanceId",
              "ROOT\\KTBENCH\\" + service);
  layout.Text(kSet + "Enum\\ROOT\\KTBENCH\\" + service, "Service", service + "Drv");
  layout.Text(kServices + service + "Drv", "ImagePath", "System32\\DRIVERS\\e100b.sys");
  for (const char *value :
       {"IPAddress", "SubnetMask", "DefaultGateway", "DhcpDefaultGateway",
        "DhcpIPAddress", "DhcpServer", "DhcpSubnetMask", "DhcpSubnetMaskOpt"})
    layout.Text(tcpip, value, "10.1.2.3");
  for (const char *value :
       {"EnableDHCP", "Lease", "LeaseObtainedTime", "LeaseTerminatesTime", "T1", "T2"}) {
    const DWORD number = 86400;
    layout.Set(tcpip, value, REG_DWORD, &number, sizeof number);
  }
}

void ReadAll(const std::vector<Read> &reads) {
  char buffer[260];
  for (const Read &read : reads) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, read.path.c_str(), 0, KEY_QUERY_VALUE, &key) !=
        0)
      continue;
    DWORD size = sizeof buffer;
    RegQueryValueExA(key, read.value, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer),
                     &size);
    RegCloseKey(key);
  }
}

// The library's build enumerates the card keys and opens each TCP/IP key.
void Direct(const std::vector<Read> &build, const std::vector<Read> &fill) {
  HKEY root;
  DWORD count = 0;
  char name[257];
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCards.c_str(), 0, KEY_READ, &root);
  RegQueryInfoKeyA(root, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr, nullptr);
  for (DWORD i = 0; i < count; ++i) {
    DWORD size = sizeof name;
    RegEnumKeyExA(root, i, name, &size, nullptr, nullptr, nullptr, nullptr);
  }
  RegCloseKey(root);
  ReadAll(build);
  ReadAll(fill);
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

}  // namespace

int main() {
  char platform[32] = {};
  GetPlatformNameInfo(platform, sizeof platform - 1);
  if (std::string(platform) != "Windows 2000") {
    printf("netcards_bench: needs the 2000 layout, not %s\n", platform);
    return 1;
  }
  Layout layout;
  std::vector<Read> build, fill;
  for (int i = 0; i < kCardCount; ++i) {
    char card[16], service[16];
    sprintf(card, "ktbench%02d", i);
    sprintf(service, "KtBench%02d", i);
    Lay(layout, card, service);
    AddReads(build, fill, card, service);
  }
  ExitNetReport();
  DWORD count = 0;
  GetNumNetworkCards(&count);  // the cards Wine lists come on top of these
  std::vector<NCInfo> infos(count);
  const size_t ours = fill.size() / kCardCount;
  printf("netcards_bench: %lu cards, %d laid out here; %zu reads per card\n",
         static_cast<unsigned long>(count), kCardCount, ours + build.size() / kCardCount);

  double library = 1e9, direct = 1e9;  // the best round of each
  for (int round = 0; round < kRounds; ++round) {
    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    ExitNetReport();
    InitNetReport();
    GetAllNCInfo(infos.data());
    QueryPerformanceCounter(&t1);
    Direct(build, fill);
    QueryPerformanceCounter(&t2);
    library = std::min(library, Seconds(t0, t1));
    direct = std::min(direct, Seconds(t1, t2));
  }
  printf(
      "netcards_bench: library %.2f ms, direct reads %.2f ms; ratio %.2f (goal <= 1.5)\n",
      library * 1e3, direct * 1e3, library / direct);
  ExitNetReport();
  return 0;
}
