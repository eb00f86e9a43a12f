// IPAddrToStr and GetPortString beside the sockets' inet_ntoa, in calls per
// second within the same process.
#include <winsock.h>

#include <cstdio>

#include "ktutil.h"

namespace {

constexpr int kCalls = 2000000;
volatile unsigned g_sink;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

template <class Call>
double CallsPerSecond(Call call) {
  double best = 1e30;
  for (int run = 0; run < 3; ++run) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kCalls; ++i) call(static_cast<unsigned>(i) * 2654435761u);
    QueryPerformanceCounter(&end);
    if (Seconds(start, end) < best) best = Seconds(start, end);
  }
  return kCalls / best;
}

}  // namespace

int main() {
  char text[64];
  const double ours = CallsPerSecond(
      [&](unsigned v) { g_sink = g_sink + *(IPAddrToStr(v, text, 16) - 1); });
  const double platform = CallsPerSecond([&](unsigned v) {
    in_addr address;
    address.s_addr = v;
    g_sink = g_sink + inet_ntoa(address)[0];
  });
  const double ports = CallsPerSecond([&](unsigned v) {
    g_sink =
        g_sink + GetPortString(6, static_cast<WORD>(v >> 20), v & 1, text, sizeof text);
  });
  std::printf("IPAddrToStr:   %.2f M calls/s\n", ours / 1e6);
  std::printf("inet_ntoa:     %.2f M calls/s\n", platform / 1e6);
  std::printf("GetPortString: %.2f M calls/s\n", ports / 1e6);
  std::printf("IPAddrToStr / inet_ntoa: %.2f (goal 2)\n", ours / platform);
  std::printf("GetPortString / inet_ntoa: %.2f\n", ports / platform);
  return 0;
}
