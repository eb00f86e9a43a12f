#include <winsock.h>

#include <random>

#include "win_helpers.h"

namespace {

TEST(NetText, ServiceNamesCutAtEverySizeAndAddressesAsTheSocketsWrite) {
  const struct {
    DWORD proto;
    WORD port;
    BOOL withNumber;
    std::string full;
  } cases[] = {{6, 513, FALSE, "Login"},
               {17, 513, FALSE, "Who"},
               {1, 513, FALSE, "Port 513"},
               {17, 514, FALSE, "UDP Port 514"},
               {6, 514, TRUE, "Command (TCP Port 514)"}};
  for (const auto &c : cases)
    kttest::CheckBounded(
        c.full,
        [&](char *d, int n) {
          const int written = GetPortString(c.proto, htons(c.port), c.withNumber, d, n);
          EXPECT_TRUE(n == 0 || written == n - 1) << written << " in " << n;
        },
        true);

  // The platform's own formatter is the reference for every byte value.
  std::mt19937 random(20261206);
  char text[32];
  for (int i = 0; i < 20000; ++i) {
    in_addr address;
    address.s_addr = i < 256 ? i * 0x01010101u : random();
    char *end = IPAddrToStr(address.s_addr, text, sizeof text);
    ASSERT_STREQ(text, inet_ntoa(address));
    ASSERT_EQ(end, text + strlen(text));
    ASSERT_EQ(StrToIPAddr(text), address.s_addr);
  }
  const sockaddr_in record = {AF_INET, htons(8080), {{{172, 16, 5, 4}}}, {}};
  INetAddrToStr(&record, text, sizeof text);
  EXPECT_STREQ(text, "172.16.5.4:8080");
}

// Waits up to ten seconds for the lookup's completion to be posted to the
// window; the message's lParam (buffer length and error), or -1.
LPARAM Completion(HWND window, UINT message, HANDLE task) {
  MSG msg;
  for (DWORD start = GetTickCount(); task && GetTickCount() - start < 10000;) {
    if (PeekMessageA(&msg, window, message, message, PM_REMOVE))
      return reinterpret_cast<HANDLE>(msg.wParam) == task ? msg.lParam : -1;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
  }
  return -1;
}

TEST(NameLookup, BlockingAndAsyncLookups) {
  EXPECT_EQ(NameToIPAddr("localhost"), inet_addr("127.0.0.1"));
  // Dotted names resolve to themselves without asking any server.
  DWORD addresses[64] = {};
  EXPECT_EQ(NameToIPAddresses("192.0.2.7", addresses, 64), 1);
  EXPECT_EQ(addresses[0], inet_addr("192.0.2.7"));
  WSASetLastError(0);
  EXPECT_EQ(NameToIPAddr("no-such-host.invalid"), 0u);
  EXPECT_NE(WSAGetLastError(), 0);
  EXPECT_EQ(NameToIPAddresses("no-such-host.invalid", addresses, 64), 0);
  // A smaller capacity keeps the first of the resolver's addresses, no more.
  char host[256];
  ASSERT_EQ(gethostname(host, sizeof host), 0);
  const int count = NameToIPAddresses(host, addresses, 64);
  ASSERT_GT(count, 0) << host;
  DWORD fewer[64] = {};
  EXPECT_EQ(NameToIPAddresses(host, fewer, count - 1), count - 1);
  EXPECT_TRUE(std::equal(fewer, fewer + count - 1, addresses) && fewer[count - 1] == 0);

  // Asynchronous lookups post their completion to the window.
  HWND window =
      CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  char result[MAXGETHOSTSTRUCT];
  HANDLE task =
      NameToIPAddressesAsync(window, WM_USER, "localhost", result, sizeof result);
  ASSERT_EQ(WSAGETASYNCERROR(Completion(window, WM_USER, task)), 0);
  const hostent *found = reinterpret_cast<const hostent *>(result);
  ASSERT_NE(found->h_addr_list[0], nullptr);
  EXPECT_EQ(*reinterpret_cast<const DWORD *>(found->h_addr_list[0]),
            inet_addr("127.0.0.1"));

  task = NameToIPAddressesAsync(window, WM_USER, "no-such-host.invalid", result,
                                sizeof result);
  const LPARAM failed = Completion(window, WM_USER, task);
  EXPECT_TRUE(failed != -1 && WSAGETASYNCERROR(failed) != 0) << failed;
  // The task is finished: nothing is left to cancel (Windows refuses; Wine's
  // cancel is a stub that always reports success).
  const int cancelled = CancelAsyncLookup(task);
  EXPECT_TRUE(cancelled == SOCKET_ERROR || (kttest::OnWine() && cancelled == 0))
      << cancelled;
  DestroyWindow(window);
}

}  // namespace
