// GET of 1, 8 and 64 MiB bodies from the origin server that the bench
// command started (KT_ORIGIN_PORT), best of three runs each; then the same
// 64 MiB read by bare socket calls into one reused block and thrown away,
// which is what the socket layer allows without keeping the response.
#include <winsock.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>

#include "ktutil.h"

namespace {

LARGE_INTEGER g_frequency;

double Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) / g_frequency.QuadPart;
}

bool LibraryGet(WORD port, const std::string &path, DWORD size) {
  TextBuffer body = {};
  int status = 0;
  const BOOL ok = HttpGetEx("127.0.0.1", port, path.c_str(), &body, nullptr, 0, &status, 0);
  free(body.data);
  return ok && status == 200 && body.length == size;
}

// Sockets were started by the library when it loaded.
bool BareGet(WORD port, const std::string &path, DWORD size) {
  static char block[1 << 20];
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = inet_addr("127.0.0.1");
  const std::string request = "GET " + path + " HTTP/1.0\r\n\r\n";
  size_t total = 0;
  if (connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
      send(s, request.data(), int(request.size()), 0) == int(request.size()))
    for (int got; (got = recv(s, block, sizeof block, 0)) > 0;) total += got;
  closesocket(s);
  return total > size;
}

// The best of three runs, in seconds; 0 when one failed.
double Best(bool (*get)(WORD, const std::string &, DWORD), WORD port, DWORD size) {
  const std::string path = "/pattern/" + std::to_string(size) + "/bench";
  double best = 1e9;
  for (int run = 0; run < 3; ++run) {
    const double start = Now();
    if (!get(port, path, size)) return 0;
    best = std::min(best, Now() - start);
  }
  return best;
}

}  // namespace

int main() {
  const char *port = getenv("KT_ORIGIN_PORT");
  if (port == nullptr) {
    fprintf(stderr, "http_get_bench: KT_ORIGIN_PORT is not set\n");
    return 2;
  }
  QueryPerformanceFrequency(&g_frequency);
  double seconds = 0;
  for (DWORD mib : {1, 8, 64}) {
    if ((seconds = Best(LibraryGet, WORD(atoi(port)), mib << 20)) == 0) {
      fprintf(stderr, "http_get_bench: GET of %lu MiB failed\n", (unsigned long)mib);
      return 1;
    }
    printf("GET %2lu MiB: %7.1f ms, %6.0f MB/s\n", (unsigned long)mib, seconds * 1e3,
           (mib << 20) / seconds / 1e6);
  }
  const double bare = Best(BareGet, WORD(atoi(port)), 64 << 20);
  if (bare > 0) printf("bare sockets, 64 MiB: %7.1f ms, %6.0f MB/s\n", bare * 1e3, (64 << 20) / bare / 1e6);
  printf("http bytes per second: %.0f\n", (64 << 20) / seconds);
  return 0;
}
