// The HTTP client against the servers its test command started on
// 127.0.0.1 (tests/servers/harness.py with http_scripts.py): the origin
// server records every request byte for byte under its path's last segment,
// the token. The proxy settings are the prefix's real ones.
#include <winsock.h>

#include <atomic>
#include <thread>

#include "win_helpers.h"

namespace {

WORD PortOf(const char *name) { return WORD(atoi(getenv(name) ? getenv(name) : "0")); }
const WORD kOrigin = PortOf("KT_ORIGIN_PORT"), kProxy = PortOf("KT_PROXY_PORT"),
           kClosed = PortOf("KT_CLOSED_PORT");
std::string At(WORD port) { return "127.0.0.1:" + std::to_string(port); }

std::string Token() {
  static std::atomic<int> count{0};
  return "t" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
}

// The origin server writes a record once the client has closed its end.
std::string Recorded(const std::string &token) {
  const std::string path = getenv("KT_RECORDS") + ("\\" + token);
  for (int tries = 0; tries < 500; Sleep(10), ++tries) {
    std::ostringstream text;
    if (text << std::ifstream(path, std::ios::binary).rdbuf()) return text.str();
  }
  return "";
}

// Proxy values for one case ("" and 0 stay unset): the browser's
// "server:port", the product's server and port. Removed again afterwards,
// with the keys above them when they had to be made (Wine has no browser
// key), but only those left empty: a test running beside this one may have
// made keys of its own below them.
struct Proxies {
  const char *browser, *product;
  DWORD port;
};
const char kBrowserRoot[] =
    "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Microsoft";
const std::string kBrowserKey =
    std::string(kBrowserRoot) + "\\windows\\CurrentVersion\\Internet Settings";
const char *const kKeys[] = {kBrowserKey.c_str(), "Software\\Tessaly"};
const char *const kRoots[] = {kBrowserRoot, "Software\\Tessaly"};
class ProxyRegistry {
 public:
  explicit ProxyRegistry(const Proxies &p) {
    for (int k : {0, 1}) {
      HKEY key;
      made_[k] = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRoots[k], 0, KEY_READ, &key) != 0;
      if (!made_[k]) RegCloseKey(key);
    }
    if (*p.browser) {
      SetRegistryValueDWord(HKEY_LOCAL_MACHINE, kKeys[0], "ProxyEnable", 1);
      SetRegistryValueString(HKEY_LOCAL_MACHINE, kKeys[0], "ProxyServer", p.browser);
    }
    if (*p.product) {
      SetRegistryValueDWord(HKEY_LOCAL_MACHINE, kKeys[1], "HttpProxyEnabled", 1);
      SetRegistryValueString(HKEY_LOCAL_MACHINE, kKeys[1], "HttpProxyServer", p.product);
    }
    if (p.port)
      SetRegistryValueDWord(HKEY_LOCAL_MACHINE, kKeys[1], "HttpProxyPort", p.port);
  }
  ~ProxyRegistry() {
    for (const char *name : {"ProxyEnable", "ProxyServer"})
      DeleteRegistryValue(HKEY_LOCAL_MACHINE, kKeys[0], name);
    for (const char *name : {"HttpProxyEnabled", "HttpProxyServer", "HttpProxyPort"})
      DeleteRegistryValue(HKEY_LOCAL_MACHINE, kKeys[1], name);
    for (int k : {0, 1})
      for (std::string key = kKeys[k]; made_[k] && key.size() >= strlen(kRoots[k]);
           key.erase(key.rfind('\\')))
        if (RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str()) != ERROR_SUCCESS) break;
  }

 private:
  bool made_[2];
};

// Every step the callback saw ("41253+": + for a completed exchange), and
// where each step said it connected to, if all said the same.
std::string g_steps, g_where;
BOOL KTAPI Remember(const HttpProgress *p) {
  g_steps += std::to_string(p->step) + (p->result ? "+" : "");
  const std::string where = std::string(p->host) + ":" + std::to_string(p->port) + " " +
                            p->target + " " + std::to_string(p->userData);
  g_where = g_where.empty() || g_where == where ? where : "differs";
  return FALSE;
}

// One call of an Ex form into a buffer holding "pre:", summed up as
// "result status last-error steps pre:body" ("-" for no steps); "!" follows
// the steps when the plain form did not succeed exactly for status 200.
std::string Call(bool post, const char *host, WORD port, const std::string &path,
                 HTTPPROGRESSPROC callback = Remember) {
  const std::string body = "name=v%26x+1";
  TextBuffer text = {_strdup("pre:"), 5, 4}, plain = {};
  int status = 7;
  if (callback) g_steps.clear(), g_where.clear();
  SetLastError(0xBEEF);
  const BOOL ok =
      post ? HttpPostFormEx(host, port, path.c_str(), body.data(), int(body.size()),
                            &text, callback, 24301, &status, 0)
           : HttpGetEx(host, port, path.c_str(), &text, callback, 24301, &status, 0);
  std::string out = std::to_string(ok) + " " + std::to_string(status) + " " +
                    std::to_string(GetLastError()) + " " +
                    (!callback || g_steps.empty() ? "-" : g_steps);
  const BOOL plainOk = post ? HttpPostForm(host, port, path.c_str(), body.data(),
                                           int(body.size()), &plain, nullptr, 0)
                            : HttpGet(host, port, path.c_str(), &plain, nullptr, 0);
  out += std::string(plainOk == (ok && status == 200) ? " " : "! ") +
         std::string(text.data, text.length);
  free(text.data);
  free(plain.data);
  return out;
}

// "T" in a row's texts stands for the request's token.
std::string WithToken(std::string text, const std::string &token) {
  for (size_t at; (at = text.find('T')) != std::string::npos;) text.replace(at, 1, token);
  return text;
}

TEST(HttpClient, SendsExactlyItsHeadAndBodyDirectlyOrToTheProxyInTheRegistry) {
  const std::string origin = At(kOrigin), closed = At(kClosed), proxy = At(kProxy);
  const struct {
    Proxies proxies;
    bool post;
    const char *host;
    WORD port;
    std::string path, target, where;  // request target sent, connected to
  } cases[] = {
      // A GET reads no proxy setting at all.
      {closed.c_str(), "127.0.0.1", kClosed, false, "127.0.0.1", kOrigin, "/reply/ok/T",
       "/reply/ok/T", ""},
      {"", "", 0, true, "127.0.0.1", kOrigin, "/reply/ok/T", "/reply/ok/T", origin},
      // The origin server, standing in for a proxy, records what a proxy gets.
      {origin.c_str(), "127.0.0.1", kClosed, true, "update.example", 80, "/reply/ok/T",
       "http://update.example/reply/ok/T", origin},
      {origin.c_str(), "", 0, true, "update.example", 8080, "reply/ok/T",
       "http://update.example:8080/reply/ok/T", origin},
      {"", "127.0.0.1", kOrigin, true, "h.example", 80, "/reply/ok/T",
       "http://h.example/reply/ok/T", origin},
      // The product's setting without a port is no setting.
      {"", "127.0.0.1", 0, true, "127.0.0.1", kOrigin, "/reply/ok/T", "/reply/ok/T",
       origin},
      // tinyproxy passes the request on: the origin server sees what it forwarded.
      {proxy.c_str(), "", 0, true, "127.0.0.1", kOrigin, "/reply/ok/T",
       "http://" + origin + "/reply/ok/T", proxy},
      {"", "127.0.0.1", kProxy, true, "127.0.0.1", kOrigin, "/reply/ok/T",
       "http://" + origin + "/reply/ok/T", proxy},
  };
  for (const auto &c : cases) {
    ProxyRegistry registry(c.proxies);
    const std::string token = Token(), target = WithToken(c.target, token);
    EXPECT_EQ(Call(c.post, c.host, c.port, WithToken(c.path, token)),
              std::string("1 200 48879 ") + (c.post ? "41253+" : "-") + " pre:" + token);
    EXPECT_EQ(g_where, c.post ? c.where + " " + target + " 24301" : "");
    const std::string recorded = Recorded(token);
    if (c.where == proxy) {
      EXPECT_TRUE(recorded.find("POST /reply/ok/" + token + " HTTP/1.0\r\n") == 0 &&
                  recorded.find("\r\nVia: ") != std::string::npos &&
                  recorded.substr(recorded.size() - 16) == "\r\n\r\nname=v%26x+1")
          << recorded;
      continue;
    }
    EXPECT_EQ(recorded,
              (c.post ? "POST " : "GET ") + target + " HTTP/1.0\r\nAccept: */*\r\n" +
                  "Accept-Language: en\r\nHost: " + c.host + "\r\n" +
                  (c.post ? "Content-Type: application/x-www-form-urlencoded\r\n" : "") +
                  "User-Agent: Tessaly Registration Agent 1.0\r\n" +
                  (target[0] == 'h' ? "Proxy-Connection: Keep-Alive\r\n" : "") +
                  (c.post ? "Content-Length: 12\r\n\r\nname=v%26x+1" : "\r\n"));
  }
}

TEST(HttpClient, EachFailureAndOddResponseHasItsResult) {
  ProxyRegistry none({"", "", 0});
  const std::string reset = "0 0 " + std::to_string(WSAECONNRESET) + " 41253 pre:";
  const std::tuple<const char *, WORD, std::string, std::string> cases[] = {
      // host, port, path, outcome
      {"no-such-host.invalid", kOrigin, "/reply/ok/T", "0 0 12029 43 pre:"},
      {"127.0.0.1", kClosed, "/reply/ok/T", "0 0 12029 413 pre:"},
      {"127.0.0.1", kOrigin, "/reset/T", reset},
      {"127.0.0.1", kOrigin, "/reply/nohead/T", "0 200 12153 41253+ pre:"},
      {"127.0.0.1", kOrigin, "/reply/notfound/T", "1 404 48879 41253+ pre:"},
      {"127.0.0.1", kOrigin, "/reply/garbage/T", "1 -1 48879 41253+ pre:"},
      {"127.0.0.1", kOrigin, "/reply/silent/T", "1 -1 48879 41253+ pre:"},
      {"127.0.0.1", kOrigin, "/reply/longcode/T", "1 -1 48879 41253+ pre:"},
      {"127.0.0.1", kOrigin, "/reply/nospace/T", "1 -1 48879 41253+ pre:"},
      {"127.0.0.1", kOrigin, "/reply/wrapcode/T", "1 -1 48879 41253+ pre:"},
      {"127.0.0.1", kOrigin, "/reply/spaced/T", "1 301 48879 41253+ pre:"},
      {"127.0.0.1", kOrigin, "/reply/longhead/T", "1 200 48879 41253+ pre:T"},
      {"127.0.0.1", kOrigin, "/reply/nul/T",
       std::string("1 200 48879 41253+ pre:\0a\0T\0", 28)},
      {"127.0.0.1", kOrigin, "/trickle/3/T", "1 200 48879 41253+ pre:T"},
  };
  for (const auto &[host, port, path, outcome] : cases) {
    const std::string token = Token() + "-with-a-longer-tail";
    EXPECT_EQ(Call(true, host, port, WithToken(path, token)), WithToken(outcome, token));
  }
  // The port of the browser's setting is the digits after the colon.
  ProxyRegistry browser({(At(kClosed) + "x").c_str(), "", 0});
  EXPECT_EQ(Call(true, "127.0.0.1", kOrigin, "/reply/ok/x"), "0 0 12029 413 pre:");
  EXPECT_EQ(g_where, At(kClosed) + " http://" + At(kOrigin) + "/reply/ok/x 24301");
}

TEST(HttpClient, LargeBodiesAndConcurrentRequestsArriveWhole) {
  ProxyRegistry none({"", "", 0});
  std::string pattern(64 << 20, '\0');
  for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = char(i % 251);
  EXPECT_TRUE(Call(false, "127.0.0.1", kOrigin, "/pattern/67108864/big") ==
              "1 200 48879 - pre:" + pattern);

  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&wrong, t] {
      for (int i = 0; i < 50; ++i) {
        const std::string token = Token();
        wrong += Call((i + t) % 2, "127.0.0.1", kOrigin, "/reply/ok/" + token, nullptr) !=
                 "1 200 48879 - pre:" + token;
      }
    });
  for (std::thread &t : threads) t.join();
  EXPECT_EQ(wrong, 0);
}

}  // namespace
