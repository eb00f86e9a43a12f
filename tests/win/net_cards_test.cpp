// The card table and each card's settings, from card trees laid out as each
// release keeps them (net_cards_*.reg), against net_cards_expected.txt.
#include <cstdlib>
#include <optional>

#include "system_test_helpers.h"
#include "win_helpers.h"

namespace {

const std::string kNet = "SYSTEM\\CurrentControlSet\\Services\\Class\\Net\\";
const std::string kNtCards =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";

using kttest::BesideProgram;

// Card trees laid out below HKEY_LOCAL_MACHINE by the platform's reg tool;
// each path's first new key goes at the end with all below it. The card
// table is read afresh on both sides.
class CardTree {
 public:
  CardTree() { ExitNetReport(); }
  ~CardTree() {
    for (auto key = made_.rbegin(); key != made_.rend(); ++key)
      RegDeleteTreeA(HKEY_LOCAL_MACHINE, key->c_str());
    ExitNetReport();
  }
  // Each key is made here first, volatile: Wine keeps NetworkCards so, and
  // only volatile keys may be made below a volatile one; reg then fills them.
  // Should a run die, the Wine server's end removes them still.
  void Import(const char *file) {
    std::string line;
    for (std::ifstream in(BesideProgram(file)); std::getline(in, line);) {
      if (line.rfind("[HKEY_LOCAL_MACHINE\\", 0) != 0) continue;
      const std::string path = line.substr(20, line.size() - 21);
      HKEY key;
      for (size_t at = 0; at != path.npos; RegCloseKey(key)) {
        at = path.find('\\', at + 1);
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.substr(0, at).c_str(), 0, KEY_READ,
                          &key)) {
          made_.push_back(path.substr(0, at));
          break;
        }
      }
      RegCreateKeyExW(HKEY_LOCAL_MACHINE, std::wstring(path.begin(), path.end()).c_str(),
                      0, nullptr, REG_OPTION_VOLATILE, KEY_READ, nullptr, &key, nullptr);
      RegCloseKey(key);
    }
    ASSERT_EQ(std::system(("reg import \"" + BesideProgram(file) + "\"").c_str()), 0)
        << file;
  }

 private:
  std::vector<std::string> made_;
};

// The card with this key (other cards may be there): flags and paths, then
// each getter's result and field in the record's order; the aggregate must
// fill the same record.
std::string Render(const std::string &key, NCInfo *record) {
  NCInfo &one = *record, all;
  memset(&one, 0xCC, sizeof one);
  memset(&all, 0xCC, sizeof all);
  DWORD card = 0, flags = 0;
  char tcpip[256], dhcp[256], hex[8];
  while (GetNCDescPath(card, tcpip, sizeof tcpip) && key != tcpip) ++card;
  GetNCFlags(card, &flags);
  GetNCTcpipPath(card, tcpip, sizeof tcpip);
  GetNCDhcpPath(card, dhcp, sizeof dhcp);
  std::string text =
      (sprintf(hex, "%03lx ", flags), hex) + std::string(tcpip) + " " + dhcp + " ";
  for (auto getter : {GetNCServiceName, GetNCDescription, GetNCProductName,
                      GetDefaultGateway, GetDhcpDefaultGateway, GetNCDriverName,
                      GetIPAddress, GetSubnetMask, GetDhcpIPAddress, GetDhcpServer,
                      GetDhcpSubnetMask, GetDhcpSubnetMaskOpt, GetEnableDHCP, GetLease,
                      GetLeaseObtainedTime, GetLeaseTerminatesTime, GetT1, GetT2})
    text += getter(&one, card) ? '1' : '0';
  EXPECT_TRUE(GetIndividualNCInfo(&all, card));
  EXPECT_EQ(memcmp(&one, &all, sizeof one), 0) << card;
  for (const char *field = one.serviceName; field < one.serviceName + 12 * 260;
       field += 260)
    text += "|" + std::string(field, strnlen(field, 260));
  for (DWORD number : {one.enableDHCP, one.lease, one.leaseObtainedTime,
                       one.leaseTerminatesTime, one.t1, one.t2})
    text += "|" + std::to_string(number);
  return text;
}

TEST(NetCards, ReleaseCardTrees) {
  char platform[32] = {};
  GetPlatformNameInfo(platform, sizeof platform - 1);
  const bool nineX = !IsWinNT();
  DWORD count = 7, cards = 0;
  CardTree tree;
  if (nineX) {  // no card key: no table, and each query tries the build again
    tree.Import("net_cards_9x_none.reg");
    EXPECT_FALSE(InitNetReport() || GetNumNetworkCards(&count) || count != 0);
  }
  tree.Import(nineX ? "net_cards_9x.reg" : "net_cards_nt.reg");
  // 2000 falls back to the singular key when the plural cannot be opened.
  std::optional<kttest::LockedKey> locked;  // undone before the tree goes
  if (IsWin2K()) locked.emplace(HKEY_LOCAL_MACHINE, kNtCards, "D:P");
  std::string line;
  NCInfo info;
  for (std::ifstream in(BesideProgram("net_cards_expected.txt"));
       std::getline(in, line);) {
    const size_t key = line.find('\t') + 1, render = line.find('\t', key) + 1;
    if (line.substr(0, key - 1) != platform) continue;
    EXPECT_EQ(Render(line.substr(key, render - key - 1), &info), line.substr(render));
    ++cards;
    // Lists come whole: NT's further gateway follows the first after its NUL.
    if (!nineX && cards == 1) {
      EXPECT_STREQ(info.defaultGateway + 9, "10.1.2.254");
    }
  }
  EXPECT_EQ(cards, nineX ? 3u : 2u);
  // The whole table in one call: each card as alone, nothing past the last;
  // after the table is freed, nothing at all.
  ASSERT_TRUE(GetNumNetworkCards(&count));
  std::vector<NCInfo> table(count + 1), one(1);
  for (bool built : {true, false}) {
    memset(table.data(), 0xCC, table.size() * sizeof(NCInfo));
    EXPECT_TRUE(GetAllNCInfo(table.data()));
    for (DWORD i = 0; i <= count; ++i) {
      memset(one.data(), 0xCC, sizeof(NCInfo));
      if (built && i < count) GetIndividualNCInfo(one.data(), i);
      EXPECT_EQ(memcmp(&table[i], one.data(), sizeof(NCInfo)), 0) << built << i;
    }
    ExitNetReport();
  }
  if (!nineX) return;
  EXPECT_FALSE(GetNCFlags(3, &count) || count != 0);

  // One card named at the longest: its path is cut at 255 characters, and
  // it takes the first of the TCP/IP entries, which now outnumber the cards.
  tree.Import("net_cards_9x_long.reg");
  ExitNetReport();
  char path[256] = "x";
  ASSERT_TRUE(InitNetReport() && GetNumNetworkCards(&count) && count == 1);
  EXPECT_TRUE(GetNCTcpipPath(0, path, sizeof path) &&
              path == kNet.substr(0, 40) + "NetTrans\\0000");
  kttest::CheckBounded(
      (kNet + std::string(255, 'k')).substr(0, 255),
      [](char *dest, int size) { EXPECT_TRUE(GetNCDescPath(0, dest, size)); });
  EXPECT_FALSE(GetNCDescPath(1, path, sizeof path) || path[0] != '\0');
}

}  // namespace
