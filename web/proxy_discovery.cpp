#include "web/proxy_discovery.h"

#include <string.h>

#include "config/reg_key.h"
#include "ktutil.h"

namespace kt {
namespace {

constexpr char kBrowserKey[] =
    "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Microsoft\\windows\\"
    "CurrentVersion\\Internet Settings";

bool ReadText(const char *key, const char *name, char (&text)[257]) {
  if (GetRegistryValueString(HKEY_LOCAL_MACHINE, key, name, text, sizeof text)) return true;
  text[0] = '\0';
  return false;
}

}  // namespace

bool DiscoverProxy(ProxySetting *proxy) {
  if (GetRegistryValueDWord(HKEY_LOCAL_MACHINE, kBrowserKey, "ProxyEnable", 0) != 0) {
    // "server:port"; the port only counts when a digit follows the colon.
    ReadText(kBrowserKey, "ProxyServer", proxy->server);
    proxy->port = 80;
    if (char *colon = strchr(proxy->server, ':')) {
      *colon = '\0';
      if (colon[1] >= '0' && colon[1] <= '9') {
        proxy->port = 0;
        for (const char *d = colon + 1; *d >= '0' && *d <= '9'; ++d)
          proxy->port = proxy->port * 10 + (*d - '0');
      }
    }
    return true;
  }
  if (GetRegistryValueDWord(HKEY_LOCAL_MACHINE, kProductKey, "HttpProxyEnabled", 0) == 0 ||
      !ReadText(kProductKey, "HttpProxyServer", proxy->server) || proxy->server[0] == '\0')
    return false;
  proxy->port = GetRegistryValueDWord(HKEY_LOCAL_MACHINE, kProductKey, "HttpProxyPort", 0);
  return proxy->port != 0;
}

}  // namespace kt
