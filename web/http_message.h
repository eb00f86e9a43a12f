// The text of an HTTP/1.0 exchange: the request head the client sends and
// what it reads from the response. Portable.
#pragma once

#include <stddef.h>

#include "ktutil.h"

namespace kt {

struct RequestHead {
  bool post;           // a form POST with a body, else a GET
  const char *target;  // as it goes on the request line
  const char *host;    // the server's name as the caller gave it, no port
  bool viaProxy;
  int bodyLength;      // POST only
};

// Replaces the buffer's text with the head, empty line included. False,
// with the buffer empty, when it cannot grow.
bool BuildRequestHead(TextBuffer *head, const RequestHead &request);

// The absolute target a proxy needs to reach host:port/path. The port is
// written only when it is not 80, and a path without its leading "/" gets
// one. False, with nothing appended, when the buffer cannot grow.
bool BuildProxyTarget(TextBuffer *target, const char *host, WORD port, const char *path);

// The code of the status line that starts the response ("HTTP/" digits "."
// digits, spaces, digits), or -1 when it does not start with one or the
// code does not fit in a signed 32-bit number.
int ParseStatusLine(const char *response, size_t length);

// Where the body starts: just past the first CR LF CR LF, or length + 1
// when there is none.
size_t FindBody(const char *response, size_t length);

}  // namespace kt
