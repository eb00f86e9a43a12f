// The update agent end to end: the test command's update server
// (servers/update_scripts.py) reached through the product's proxy values,
// the dialogs handled by a helper thread as a user would, and the shell's
// http handler pointed at this program, which then records the URL. The
// string table's texts are checked word for word elsewhere.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "ktutil.h"
#include "support/kt_test_support.h"

namespace {

const char kTessaly[] = "Software\\Tessaly", kHandler[] = "http\\shell\\open\\command";
const std::string kRecords = getenv("KT_RECORDS") ? getenv("KT_RECORDS") : ".";
const std::string kRequest = kRecords + "\\checkupdate.asp", kUrls = kRecords + "\\urls";
const std::string kDefaultUrl = "http://update.tessaly.com/checkupdate.asp";

std::string Msg(UINT id, const std::string &insert = "", int size = 600) {
  char text[600];
  fmtmsg(text, size, kttest::KtModule(), id, insert.c_str());
  return text;
}

// Waits up to 30 s: the handler is a new process, slow to start on a busy machine.
std::string Contents(const std::string &path, bool wait) {
  std::ostringstream text;
  for (int i = 0; i < (wait ? 3000 : 1) && text.tellp() <= 0; ++i, Sleep(wait ? 10 : 0))
    if (std::ifstream file{path, std::ios::binary}) text << file.rdbuf();
  return text.str();
}

std::string Encoded(const std::string &text) {  // as a form field's value
  std::string out;
  char hex[4];
  for (unsigned char c : text)
    out += isalnum(c) ? std::string(1, c) : (sprintf(hex, "%%%02X", c), hex);
  return out;
}

// The proxy values name the test's server and the http handler is this
// program; both are put back at the end (the prefix's handler is kept
// aside once, even across a crashed run), and so is a missing "HU100".
class AgentSettings : public ::testing::Environment {
  char saved_[1024] = "";
  bool hadId_ = false;

  void SetUp() override {
    SetRegistryValueDWord(HKEY_LOCAL_MACHINE, kTessaly, "HttpProxyEnabled", 1);
    SetRegistryValueString(HKEY_LOCAL_MACHINE, kTessaly, "HttpProxyServer", "127.0.0.1");
    SetRegistryValueDWord(HKEY_LOCAL_MACHINE, kTessaly, "HttpProxyPort",
                          atoi(getenv("KT_ORIGIN_PORT")));
    hadId_ = GetRegistryValueString(HKEY_LOCAL_MACHINE, kTessaly, "HU100", saved_, 101);
    if (!GetRegistryValueString(HKEY_CLASSES_ROOT, kHandler, "kt-saved", saved_, 1024) &&
        GetRegistryValueString(HKEY_CLASSES_ROOT, kHandler, nullptr, saved_, 1024))
      SetRegistryValueString(HKEY_CLASSES_ROOT, kHandler, "kt-saved", saved_);
    GetModuleFileNameA(nullptr, saved_, MAX_PATH);
    const std::string handler =
        "\"" + std::string(saved_) + "\" --record-url \"%1\" \"" + kUrls + "\"";
    SetRegistryValueString(HKEY_CLASSES_ROOT, kHandler, nullptr, handler.c_str());
  }
  void TearDown() override {
    for (const char *name : {"HttpProxyEnabled", "HttpProxyServer", "HttpProxyPort"})
      DeleteRegistryValue(HKEY_LOCAL_MACHINE, kTessaly, name);
    if (!hadId_) DeleteRegistryValue(HKEY_LOCAL_MACHINE, kTessaly, "HU100");
    if (GetRegistryValueString(HKEY_CLASSES_ROOT, kHandler, "kt-saved", saved_, 1024))
      SetRegistryValueString(HKEY_CLASSES_ROOT, kHandler, nullptr, saved_);
    DeleteRegistryValue(HKEY_CLASSES_ROOT, kHandler, "kt-saved");
  }
};

// The user waits for the product's update window (or, to press Cancel, the
// progress dialog), reads its text (the offer's, the message box's, or the
// progress status once the answer is awaited), and presses button. Marks follow for a
// window not owned by owner, a progress dialog not on owner's client area, or an offer
// ended by Escape or its close box.
std::string Act(const std::string &product, int button, HWND owner) {
  const std::string title = button == IDCANCEL ? Msg(49) : Msg(54, product, 256);
  const std::string until = button == IDCANCEL ? Msg(33) : "";
  HWND window = nullptr;
  for (int i = 0; i < 2000 && !window; ++i, Sleep(10))
    window = FindWindowA(nullptr, title.c_str());
  if (window == nullptr) return "(no window " + title + ")";
  std::string seen;
  char text[600];
  for (int i = 0; i < 500 && (!i || seen.find(until) == std::string::npos);
       ++i, Sleep(10)) {
    seen.clear();
    for (int id : {1000, 0xFFFF, 1003})
      seen.append(text, GetDlgItemTextA(window, id, text, sizeof text));
  }
  RECT in = {};
  if (GetWindow(window, GW_OWNER) != owner) seen += "[owner]";
  if (button == IDCANCEL && (!GetParentRect(window, &in) || in.left || in.top))
    seen += "[placed]";
  if (GetDlgItem(window, 104)) {
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    Sleep(200);
    if (!IsWindowVisible(window)) seen += "[escaped]";
  }
  SendDlgItemMessageA(window, button, BM_CLICK, 0, 0);
  return seen;
}

// A background check of a product that is never due starts nothing: it
// answers 0 only while another check runs.
const char kNeverDue[] = "ktutil-test\\never";
bool Idle() { return CheckForUpdate(nullptr, kNeverDue, 0x40) != 0; }

TEST(UpdateAgent, EachAnswerLeadsToItsDialogsStoredOfferAndOpenedPage) {
  kttest::ScratchKey never("never", HKEY_LOCAL_MACHINE);
  never.SetString("UpdateAction", "x");
  never.SetDword("UpdateReminder", 0);
  // Overlapped: a caption puts its client area off its corner.
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_VISIBLE, 50, 60, 500, 400, 0, 0, 0, 0);
  const std::string p = "ktutil-test\\update", old = "old|old|5", v2 = "Version 2 is out";
  const std::string got = "http://get.example/new?a=1&b";
  const std::string page =
      "http://update.tessaly.com/checkupdateweb.asp?ProductName=" + p;
  const DWORD kPast = 5, kNone = 1;  // kNone: no offer pending
  const struct {
    const char *version;  // the server's answer; null: none installed
    DWORD flags, reminder;
    int button;  // ends the window the user waits for; 0: none shows
    DWORD result;
    std::string seen, stored, url = "", product = "ktutil-test\\update";
  } rows[] = {
      {"yes", 0, kPast, 6, 1, Msg(45, v2), got + "|" + v2 + "|5", got},
      {"lower", 0, kPast, 104, 1, Msg(45, Msg(41, p)),
       kDefaultUrl + "|" + Msg(41, p) + "|later"},
      {"huge", 0, kPast, IDOK, 1, Msg(42, p), "-|-|-"},
      {"502", 0, kPast, IDOK, 0, Msg(53), old},
      {"none", 0, kPast, IDOK, 0, Msg(40), old},
      {"binary", 0, kPast, IDOK, 0, Msg(40), old},
      {"404", 0, kPast, 0, 0, "", old, page + "&ProductVersion=404&HU100="},
      {"early", 0, kPast, 0, 0, "", old, page + "&ProductVersion=early&HU100="},
      {nullptr, 0, kPast, IDOK, 0, Msg(46), old},
      {"yes", 0x20, kPast, 7, 1, Msg(45, Msg(37)), kDefaultUrl + "|" + Msg(37) + "|0"},
      // The cancelled check's worker still runs when the call returns.
      {"slow", 0, kPast, IDCANCEL, 1, Msg(33) + "busy", old},
      {"yes", 0x40, kNone, 7, 1, Msg(45, v2), got + "|" + v2 + "|0"},
      {"no", 0x40, kPast, 0, 1, "", "-|-|-"},
      {"yes", 0x40, 0, 0, 1, "", "old|old|0"},
      {"yes", 0x40, 0xFFFFFFFE, 0, 1, "", "old|old|4294967294"},  // in 2107
      {"yes", 0x40, 0xFFFFFFFF, 0, 1, "", "old|old|4294967295"},
      {"404", 0x40, kNone, 0, 1, "", "-|-|-"},
      // Names without a key of their own: a long one (its title cut) and none.
      {nullptr, 0, kNone, IDOK, 0, Msg(46), "", "", std::string(255, 'n')},
      {nullptr, 0, kNone, IDOK, 0, Msg(46), "", "", ""},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(testing::Message() << row.version << " " << row.flags);
    std::optional<kttest::ScratchKey> key;
    if (!row.stored.empty()) key.emplace(row.product.substr(12), HKEY_LOCAL_MACHINE);
    if (row.version) key->SetString("CurrentVersion", row.version);
    for (const char *name : {"UpdateAction", "UpdateNotice"})
      if (row.reminder != kNone) key->SetString(name, "old");
    if (row.reminder != kNone) key->SetDword("UpdateReminder", row.reminder);
    for (const std::string &file : {kRequest, kUrls}) DeleteFileA(file.c_str());
    const DateTime later = DateTimeAddMinutes(GetCurrentDateTime(), 11520);
    HWND by = row.flags & 0x40 ? nullptr : owner;
    std::string seen;
    std::thread user([&] { seen = row.button ? Act(row.product, row.button, by) : ""; });
    EXPECT_EQ(CheckForUpdate(by, row.product.c_str(), row.flags), row.result);
    user.join();
    if (by && !Idle()) seen += "busy";
    for (int i = 0; i < 2000 && !Idle(); ++i) Sleep(10);
    EXPECT_EQ(seen, row.seen);

    char id[101] = "";
    GetRegistryValueString(HKEY_LOCAL_MACHINE, kTessaly, "HU100", id, sizeof id);
    EXPECT_TRUE(strlen(id) == 38 && id[0] == '{' && id[37] == '}') << id;
    EXPECT_EQ(Contents(kUrls, !row.url.empty()),
              row.url.empty() ? "" : row.url + (row.url.back() == '=' ? id : "") + "\n");
    const auto r = key ? key->GetDword("UpdateReminder") : std::optional<DWORD>();
    const std::string when = !r ? "-" : *r - later < 3 ? "later" : std::to_string(*r);
    EXPECT_EQ(!key ? ""
                   : key->GetString("UpdateAction").value_or("-") + "|" +
                         key->GetString("UpdateNotice").value_or("-") + "|" + when,
              row.stored);
    // Asked only when a version is installed, not always updating, and due.
    const bool asked =
        row.version && !(row.flags & 0x20) && row.reminder != 0 && row.reminder < ~1u;
    const std::string sent = Contents(kRequest, asked);
    const size_t body = std::min(sent.size(), sent.find("\r\n\r\n") + 4);
    EXPECT_EQ(sent.substr(0, sent.find("\r\n")) + "|" + sent.substr(body),
              !asked ? "|"
                     : "POST " + kDefaultUrl +
                           " HTTP/1.0|ProductName=" + Encoded(row.product) +
                           "&ProductVersion=" + row.version + "&HU100=" + Encoded(id) +
                           (row.flags & 0x40 ? "" : "&Query=Manual"));
  }
  DestroyWindow(owner);
}

}  // namespace

int main(int argc, char **argv) {
  // As the shell's http handler: note the URL, nothing more.
  if (argc == 4 && strcmp(argv[1], "--record-url") == 0) {
    std::ofstream(argv[3], std::ios::app | std::ios::binary) << argv[2] << "\n";
    return 0;
  }
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new AgentSettings);
  return RUN_ALL_TESTS();
}
