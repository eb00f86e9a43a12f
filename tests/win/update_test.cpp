// The update agent end to end: the test command's update server
// (servers/update_scripts.py) reached through the product's proxy values,
// the dialogs handled by a helper thread as a user would, and the shell's
// http handler pointed at this program, which then records the URL.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/text_buffer.h"
#include "ktutil.h"
#include "support/kt_test_support.h"
#include "web/check_guard.h"
#include "web/form_field.h"
#include "win_helpers.h"

namespace {

const char kTessaly[] = "Software\\Tessaly", kHandler[] = "http\\shell\\open\\command";
const std::string kRecords = getenv("KT_RECORDS") ? getenv("KT_RECORDS") : ".";
const std::string kRequest = kRecords + "\\checkupdate.asp", kUrls = kRecords + "\\urls";
const std::string kDefaultUrl = "http://update.tessaly.com/checkupdate.asp";
const std::string kNoVersion =
    "Cannot determine your currently installed version.  Your program may be installed "
    "incorrectly.";

std::string Contents(const std::string &path, bool wait) {
  std::ostringstream text;
  for (int i = 0; i < (wait ? 500 : 1) && text.tellp() <= 0; ++i, wait ? Sleep(10) : void()) {
    std::ifstream file(path, std::ios::binary);
    if (file) text << file.rdbuf();
  }
  return text.str();
}

std::string Encoded(const std::string &value) {
  TextBuffer form = {};
  kt::AppendFormField(&form, "x", value.c_str());
  const std::string text(kt::TextOf(&form) + 2);
  kt::TextClear(&form);
  return text;
}

// The proxy values name the test's server, the http handler is this
// program, and "HU100" is made anew; all are put back at the end.
class AgentSettings : public ::testing::Environment {
  char id_[101] = "";
  bool hadId_ = false;

  void SetUp() override {
    SetEnvironmentVariableA("KT_URL_LOG", kUrls.c_str());
    SetRegistryValueDWord(HKEY_LOCAL_MACHINE, kTessaly, "HttpProxyEnabled", 1);
    SetRegistryValueString(HKEY_LOCAL_MACHINE, kTessaly, "HttpProxyServer", "127.0.0.1");
    SetRegistryValueDWord(HKEY_LOCAL_MACHINE, kTessaly, "HttpProxyPort",
                          atoi(getenv("KT_ORIGIN_PORT")));
    hadId_ = GetRegistryValueString(HKEY_LOCAL_MACHINE, kTessaly, "HU100", id_, sizeof id_);
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kTessaly, "HU100");
    // The prefix's own handler is kept aside once, even across a crashed run.
    char command[1024], self[MAX_PATH];
    if (!GetRegistryValueString(HKEY_CLASSES_ROOT, kHandler, "kt-saved", command, 1024) &&
        GetRegistryValueString(HKEY_CLASSES_ROOT, kHandler, nullptr, command, 1024))
      SetRegistryValueString(HKEY_CLASSES_ROOT, kHandler, "kt-saved", command);
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SetRegistryValueString(HKEY_CLASSES_ROOT, kHandler, nullptr,
                           ("\"" + std::string(self) + "\" --record-url \"%1\"").c_str());
  }
  void TearDown() override {
    for (const char *name : {"HttpProxyEnabled", "HttpProxyServer", "HttpProxyPort", "HU100"})
      DeleteRegistryValue(HKEY_LOCAL_MACHINE, kTessaly, name);
    if (hadId_) SetRegistryValueString(HKEY_LOCAL_MACHINE, kTessaly, "HU100", id_);
    char command[1024];
    if (GetRegistryValueString(HKEY_CLASSES_ROOT, kHandler, "kt-saved", command, 1024)) {
      SetRegistryValueString(HKEY_CLASSES_ROOT, kHandler, nullptr, command);
      DeleteRegistryValue(HKEY_CLASSES_ROOT, kHandler, "kt-saved");
    }
  }
};

// One window the user waits for (by title), reads once its text contains
// "until", and ends with a button.
struct Step {
  std::string title;
  int button;
  std::string until = "";
};

// The stored title, asked without a message: the owner window's thread
// may be waiting for the user.
BOOL CALLBACK FindTitled(HWND window, LPARAM step) {
  DWORD process = 0;
  wchar_t title[300];
  GetWindowThreadProcessId(window, &process);
  const std::string &want = reinterpret_cast<Step *>(step)->title;
  if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
      std::wstring(title, InternalGetWindowText(window, title, 300)) ==
          std::wstring(want.begin(), want.end()))
    reinterpret_cast<Step *>(step)->title = std::to_string(UINT_PTR(window));
  return TRUE;
}

std::string Text(HWND window, int id) {
  char text[600];
  return std::string(text, GetDlgItemTextA(window, id, text, sizeof text));
}

// What the user saw, step by step: the offer's (1000), the message box's
// (0xFFFF) or the progress dialog's status text (1003); then marks for a
// window not owned by owner, not placed on its client area (progress), or
// ended by Escape or its close box (offer).
std::string Act(std::vector<Step> steps, HWND owner) {
  std::string seen;
  for (Step &step : steps) {
    const std::string title = step.title;
    for (int i = 0; i < 2000 && step.title == title; ++i, Sleep(10))
      EnumWindows(FindTitled, reinterpret_cast<LPARAM>(&step));
    if (step.title == title) return seen + "(no window " + title + ")";
    HWND window = reinterpret_cast<HWND>(std::stoull(step.title));
    std::string text;
    for (int i = 0; i < 500; ++i, Sleep(10))
      if ((text = Text(window, 1000) + Text(window, 0xFFFF) + Text(window, 1003))
              .find(step.until) != std::string::npos)
        break;
    seen += text + (GetWindow(window, GW_OWNER) == owner ? "" : "[owner]");
    RECT rect;
    POINT origin = {0, 0};
    GetWindowRect(window, &rect);
    if (!step.until.empty() && (!ClientToScreen(owner, &origin) || rect.left != origin.x))
      seen += "[placed]";
    if (GetDlgItem(window, 104)) {
      PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      Sleep(200);
      if (!IsWindowVisible(window)) seen += "[escaped]";
    }
    SendDlgItemMessageA(window, step.button, BM_CLICK, 0, 0);
    seen += ";";
  }
  return seen;
}

// A background check of a product that is never due starts nothing: it
// answers 0 only while another check runs.
const char kNeverDue[] = "ktutil-test\\never";
void WaitIdle() {
  for (int i = 0; i < 2000 && !CheckForUpdate(nullptr, kNeverDue, 0x40); ++i) Sleep(10);
}

TEST(UpdateAgent, EachAnswerLeadsToItsDialogsStoredOfferAndOpenedPage) {
  kttest::ScratchKey never("never", HKEY_LOCAL_MACHINE);
  never.SetString("UpdateAction", "x");
  never.SetDword("UpdateReminder", 0);
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 60,
                               500, 400, nullptr, nullptr, nullptr, nullptr);
  const std::string p = "ktutil-test\\update", t = p + " Update Agent", old = "old|old|5";
  const std::string long255 = "ktutil-test\\" + std::string(243, 'n');
  const std::string offer = "\nDo you want to get the update now?;";
  const std::string page = "http://update.tessaly.com/checkupdateweb.asp?ProductName=" + p +
                           "&ProductVersion=";
  const DWORD kPast = 5, kFuture = 0xFFFFFFFE, kNone = 1;  // kNone: no offer pending
  const struct {
    const char *version;  // the server's answer; null: none installed
    DWORD flags, reminder;
    std::vector<Step> steps;
    DWORD result;
    std::string seen, stored, opened;
    std::string product = "ktutil-test\\update";
  } rows[] = {
      {"yes", 0, kPast, {{t, 6}}, 1, "Version 2 is out" + offer,
       "http://get.example/new?a=1&b|Version 2 is out|5", "http://get.example/new?a=1&b"},
      {"lower", 0, kPast, {{t, 104}}, 1, "An update is available for " + p + "." + offer,
       kDefaultUrl + "|An update is available for " + p + ".|later", ""},
      {"no", 0, kPast, {{t, IDOK}}, 1, "No update is available for " + p + " at this time.;",
       "-|-|-", ""},
      {"huge", 0, kPast, {{t, IDOK}}, 1, "No update is available for " + p + " at this time.;",
       "-|-|-", ""},
      {"502", 0, kPast, {{t, IDOK}}, 0,
       "No update is available at this time (version was not recognized).;", old, ""},
      {"none", 0, kPast, {{t, IDOK}}, 0, "The Tessaly update server did not indicate whether "
       "a new version was available or not.;", old, ""},
      {"binary", 0, kPast, {{t, IDOK}}, 0, "The Tessaly update server did not indicate "
       "whether a new version was available or not.;", old, ""},
      {"404", 0, kPast, {}, 0, "", old, page + "404&HU100="},
      {"early", 0, kPast, {}, 0, "", old, page + "early&HU100="},
      {nullptr, 0, kPast, {{t, IDOK}}, 0, kNoVersion + ";", old, ""},
      {"yes", 0x20, kPast, {{t, 7}}, 1, "You requested to always update." + offer,
       kDefaultUrl + "|You requested to always update.|0", ""},
      // The cancelled check's worker still runs when the call returns.
      {"slow", 0, kPast, {{"Checking for upgrade", IDCANCEL, "Receiving data..."}}, 1,
       "Receiving data...;busy", old, ""},
      {"yes", 0x40, kNone, {{t, 7}}, 1, "Version 2 is out" + offer,
       "http://get.example/new?a=1&b|Version 2 is out|0", ""},
      {"no", 0x40, kPast, {}, 1, "", "-|-|-", ""},
      {"yes", 0x40, 0, {}, 1, "", "old|old|0", ""},
      {"yes", 0x40, kFuture, {}, 1, "", "old|old|4294967294", ""},
      {"yes", 0x40, 0xFFFFFFFF, {}, 1, "", "old|old|4294967295", ""},
      {"404", 0x40, kNone, {}, 1, "", "-|-|-", ""},
      {"502", 0x40, kPast, {}, 1, "", old, ""},
      {"no", 0, kPast, {{long255.substr(0, 255), IDOK}}, 1,
       "No update is available for " + long255 + " at this time.;", "-|-|-", "", long255},
      {nullptr, 0, kPast, {{" Update Agent", IDOK}}, 0, kNoVersion + ";", "", "", ""},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.product + " " + (row.version ? row.version : "-") + " " +
                 std::to_string(row.flags));
    // Wine's ANSI registry calls refuse key paths over 260 characters: there
    // the long name's version cannot be read.
    const bool broken = kttest::OnWine() && row.product.size() > 260 - 17;
    std::unique_ptr<kttest::ScratchKey> key;
    const char *version = broken ? nullptr : row.version;
    if (!broken)
      key = std::make_unique<kttest::ScratchKey>(
          row.product.substr(std::min<size_t>(12, row.product.size())), HKEY_LOCAL_MACHINE);
    if (version) key->SetString("CurrentVersion", version);
    if (key && row.reminder != kNone) key->SetString("UpdateAction", "old");
    if (key && row.reminder != kNone) key->SetString("UpdateNotice", "old");
    if (key && row.reminder != kNone) key->SetDword("UpdateReminder", row.reminder);
    DeleteFileA(kRequest.c_str());
    DeleteFileA(kUrls.c_str());
    const DateTime later = DateTimeAddMinutes(GetCurrentDateTime(), 11520);
    std::string seen;
    std::thread user([&] { seen = Act(row.steps, row.flags & 0x40 ? nullptr : owner); });
    EXPECT_EQ(CheckForUpdate(row.flags & 0x40 ? nullptr : owner, row.product.c_str(),
                             row.flags), broken ? 0 : row.result);
    user.join();
    if (!(row.flags & 0x40) && !CheckForUpdate(nullptr, kNeverDue, 0x40)) seen += "busy";
    WaitIdle();
    EXPECT_EQ(seen, broken ? kNoVersion + ";" : row.seen);

    char id[101] = "";
    GetRegistryValueString(HKEY_LOCAL_MACHINE, kTessaly, "HU100", id, sizeof id);
    EXPECT_EQ(Contents(kUrls, !row.opened.empty()),
              row.opened + (row.opened.find("HU100") != std::string::npos ? id : "") +
                  (row.opened.empty() ? "" : "\n"));
    const auto reminder = key ? key->GetDword("UpdateReminder") : std::nullopt;
    if (key && !row.stored.empty()) {
      EXPECT_EQ(key->GetString("UpdateAction").value_or("-") + "|" +
                    key->GetString("UpdateNotice").value_or("-") + "|" +
                    (!reminder ? "-" : *reminder - later < 3 ? "later"
                                                             : std::to_string(*reminder)),
                row.stored);
    }
    // Asked only when a version is installed, not always updating, and due.
    const bool asked = version && !(row.flags & 0x20) &&
                       (row.reminder == kNone || row.reminder == kPast);
    const std::string request = Contents(kRequest, asked);
    const std::string line = asked ? "POST " + kDefaultUrl + " HTTP/1.0\r\n" : "";
    EXPECT_EQ(request.substr(0, line.size()), line);
    if (asked) {
      EXPECT_EQ(request.substr(request.find("\r\n\r\n") + 4),
                "ProductName=" + Encoded(row.product) + "&ProductVersion=" + version +
                    "&HU100=" + Encoded(id) + (row.flags & 0x40 ? "" : "&Query=Manual"));
    }
    EXPECT_TRUE(strlen(id) == 38 && id[0] == '{' && id[37] == '}') << id;
  }
  DestroyWindow(owner);
}

TEST(CheckGuard, AFaultOrAnExceptionEndsOnlyTheGuardedWork) {
  int zero = 0, runs = 0;
  EXPECT_FALSE(kt::RunGuarded([](void *) { *static_cast<volatile int *>(nullptr) = 1; }, 0));
  EXPECT_FALSE(kt::RunGuarded([](void *z) { *static_cast<int *>(z) /= *static_cast<volatile int *>(z); }, &zero));
  EXPECT_FALSE(kt::RunGuarded([](void *) { throw std::runtime_error("x"); }, nullptr));
  EXPECT_TRUE(kt::RunGuarded([](void *r) { ++*static_cast<int *>(r); }, &runs));
  EXPECT_EQ(runs, 1);
}

}  // namespace

int main(int argc, char **argv) {
  // As the shell's http handler: note the URL, nothing more.
  if (argc == 3 && strcmp(argv[1], "--record-url") == 0) {
    if (getenv("KT_URL_LOG")) std::ofstream(getenv("KT_URL_LOG"), std::ios::app | std::ios::binary) << argv[2] << "\n";
    return 0;
  }
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new AgentSettings);
  return RUN_ALL_TESTS();
}
