// The blocking HTTP/1.0 client: one GET or form POST per call over Windows
// Sockets 1.1 (started when the library loads), the response read until
// the server closes the connection.
#include <stddef.h>
#include <string.h>
#include <winsock.h>

#include "core/text_buffer.h"
#include "ktutil.h"
#include "web/http_message.h"
#include "web/proxy_discovery.h"
#include "web/request_head_buffer.h"
#include "web/response_buffer.h"

static_assert(sizeof(void *) != 4 || sizeof(HttpProgress) == 24, "HttpProgress layout");
static_assert(sizeof(void *) != 4 ||
                  (offsetof(HttpProgress, port) == 8 && offsetof(HttpProgress, userData) == 20),
              "HttpProgress layout");

namespace kt {
namespace {

constexpr DWORD kCannotConnect = 12029;
constexpr DWORD kInvalidHeader = 12153;

// The request head buffer shared by the process when free, else one of our own.
class HeadBuffer {
 public:
  HeadBuffer() : text_(SharedRequestHead().Take()) {
    if (text_ == nullptr) text_ = &own_;
  }
  ~HeadBuffer() {
    if (text_ == &own_)
      TextClear(&own_);
    else
      SharedRequestHead().Give();
  }
  HeadBuffer(const HeadBuffer &) = delete;
  HeadBuffer &operator=(const HeadBuffer &) = delete;
  TextBuffer *get() { return text_; }

 private:
  TextBuffer own_ = {};
  TextBuffer *text_;
};

class Socket {
 public:
  Socket() : socket_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
  ~Socket() { Close(); }
  Socket(const Socket &) = delete;
  Socket &operator=(const Socket &) = delete;
  bool valid() const { return socket_ != INVALID_SOCKET; }
  SOCKET get() const { return socket_; }
  void Close() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }

 private:
  SOCKET socket_;
};

struct Request {
  bool post;
  const char *host;
  WORD port;
  const char *path;
  const char *body;
  int bodyLength;
  HTTPPROGRESSPROC callback;
  UINT_PTR userData;
};

// Who gets told of each step, and what they are told.
class Progress {
 public:
  Progress(const Request &request, const char *host, DWORD port, const char *target)
      : callback_(request.post ? request.callback : nullptr) {
    record_ = {0, host, port, target, FALSE, request.userData};
  }
  void Step(DWORD step, BOOL result = FALSE) {
    if (callback_ == nullptr) return;
    record_.step = step;
    record_.result = result;
    callback_(&record_);
  }

 private:
  HTTPPROGRESSPROC callback_;
  HttpProgress record_;
};

bool SendAll(SOCKET socket, const char *bytes, size_t count) {
  while (count > 0) {
    const int chunk = count > 0x40000000u ? 0x40000000 : static_cast<int>(count);
    const int sent = send(socket, bytes, chunk, 0);
    if (sent == SOCKET_ERROR) return false;
    bytes += sent;
    count -= static_cast<size_t>(sent);
  }
  return true;
}

// Until the server closes the connection. False on a receive error (the
// error stays Windows Sockets') or when memory runs out (*outOfMemory).
bool ReceiveAll(SOCKET socket, ResponseBuffer *response, bool *outOfMemory) {
  for (;;) {
    size_t room = 0;
    char *into = response->Room(&room);
    if (into == nullptr) {
      *outOfMemory = true;
      return false;
    }
    const int got = recv(socket, into, room > 0x40000000u ? 0x40000000 : int(room), 0);
    if (got == 0) return true;
    if (got == SOCKET_ERROR) return false;
    response->Received(static_cast<size_t>(got));
  }
}

// Connects, sends and receives; true when the server closed the connection
// after the whole request went out. *error is set on failure.
bool Converse(const Request &request, const TextBuffer &head, const char *host, WORD port,
              Progress *progress, ResponseBuffer *response, DWORD *error) {
  Socket socket;
  if (!socket.valid()) {
    *error = kCannotConnect;
    return false;
  }
  bool done = false;
  bool outOfMemory = false;
  progress->Step(HTTP_STEP_LOCATING);
  const hostent *found = gethostbyname(host);
  if (found == nullptr || found->h_addrtype != AF_INET || found->h_addr_list[0] == nullptr) {
    *error = kCannotConnect;
  } else {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    memcpy(&address.sin_addr, found->h_addr_list[0], 4);
    progress->Step(HTTP_STEP_CONNECTING);
    if (connect(socket.get(), reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
      *error = kCannotConnect;
    } else {
      progress->Step(HTTP_STEP_SENDING);
      if (SendAll(socket.get(), head.data, head.length) &&
          SendAll(socket.get(), request.body, request.post ? request.bodyLength : 0)) {
        progress->Step(HTTP_STEP_RECEIVING);
        done = ReceiveAll(socket.get(), response, &outOfMemory);
      }
      if (!done) *error = outOfMemory ? ERROR_NOT_ENOUGH_MEMORY : WSAGetLastError();
    }
  }
  socket.Close();
  progress->Step(HTTP_STEP_FINISHED, done);
  return done;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

BOOL Exchange(const Request &request, TextBuffer *out, int *status) {
  if (status != nullptr) *status = 0;
  if (request.host == nullptr || request.path == nullptr || request.bodyLength < 0 ||
      (request.body == nullptr && request.bodyLength > 0))
    return Fail(ERROR_INVALID_PARAMETER);
  // The last error is left as the caller had it when the exchange completes.
  const DWORD callersError = GetLastError();

  ProxySetting proxy;
  const bool viaProxy = request.post && DiscoverProxy(&proxy);
  TextBuffer absolute = {};
  struct Release {
    TextBuffer *text;
    ~Release() { TextClear(text); }
  } releaseTarget{&absolute};
  if (viaProxy && !BuildProxyTarget(&absolute, request.host, request.port, request.path))
    return Fail(ERROR_NOT_ENOUGH_MEMORY);
  const char *target = viaProxy ? absolute.data : request.path;

  HeadBuffer head;
  if (!BuildRequestHead(head.get(), {request.post, target, request.host, viaProxy,
                                     request.bodyLength}))
    return Fail(ERROR_NOT_ENOUGH_MEMORY);

  const char *host = viaProxy ? proxy.server : request.host;
  const DWORD port = viaProxy ? proxy.port : request.port;
  Progress progress(request, host, port, target);
  ResponseBuffer response;
  DWORD error = 0;
  if (!Converse(request, *head.get(), host, static_cast<WORD>(port), &progress, &response,
                &error))
    return Fail(error);

  const int code = response.Status();
  if (status != nullptr) *status = code;
  if (code == 200 && out != nullptr) {
    if (!response.HasEmptyLine()) return Fail(kInvalidHeader);
    // A caller's buffer that cannot grow simply does not get the body.
    response.AppendBody(out);
  }
  SetLastError(callersError);
  return TRUE;
}

}  // namespace
}  // namespace kt

extern "C" BOOL KTAPI HttpGetEx(LPCSTR host, WORD port, LPCSTR path, TextBuffer *response,
                                HTTPPROGRESSPROC callback, UINT_PTR userData, int *status,
                                UINT_PTR) {
  return kt::Exchange({false, host, port, path, nullptr, 0, callback, userData}, response,
                      status);
}

extern "C" BOOL KTAPI HttpGet(LPCSTR host, WORD port, LPCSTR path, TextBuffer *response,
                              HTTPPROGRESSPROC callback, UINT_PTR userData) {
  int status = 0;
  return HttpGetEx(host, port, path, response, callback, userData, &status, 0) &&
         status == 200;
}

extern "C" BOOL KTAPI HttpPostFormEx(LPCSTR host, WORD port, LPCSTR path, const void *body,
                                     int bodyLength, TextBuffer *response,
                                     HTTPPROGRESSPROC callback, UINT_PTR userData,
                                     int *status, UINT_PTR) {
  return kt::Exchange({true, host, port, path, static_cast<const char *>(body), bodyLength,
                       callback, userData},
                      response, status);
}

extern "C" BOOL KTAPI HttpPostForm(LPCSTR host, WORD port, LPCSTR path, const void *body,
                                   int bodyLength, TextBuffer *response,
                                   HTTPPROGRESSPROC callback, UINT_PTR userData) {
  int status = 0;
  return HttpPostFormEx(host, port, path, body, bodyLength, response, callback, userData,
                        &status, 0) &&
         status == 200;
}
