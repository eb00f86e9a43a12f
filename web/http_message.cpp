#include "web/http_message.h"

#include <stdio.h>
#include <string.h>

#include "core/text_buffer.h"

namespace kt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips a run of digits at *at; false when there is none.
bool SkipDigits(const char *text, size_t length, size_t *at) {
  const size_t start = *at;
  while (*at < length && IsDigit(text[*at])) ++*at;
  return *at > start;
}

// Appends the pieces (null ones skipped) after a single reservation.
bool AppendAll(TextBuffer *text, const char *const *pieces, size_t count) {
  size_t total = text->length;
  for (size_t i = 0; i < count; ++i)
    if (pieces[i] != nullptr) total += strlen(pieces[i]);
  if (total >= 0xFFFFFFFFu || !TextReserve(text, static_cast<DWORD>(total + 1))) return false;
  for (size_t i = 0; i < count; ++i)
    if (pieces[i] != nullptr) TextAppend(text, pieces[i]);
  return true;
}

}  // namespace

bool BuildRequestHead(TextBuffer *head, const RequestHead &request) {
  char contentLength[32];
  snprintf(contentLength, sizeof contentLength, "Content-Length: %d\r\n", request.bodyLength);
  const bool post = request.post;
  const char *const pieces[] = {
      post ? "POST " : "GET ",
      request.target,
      " HTTP/1.0\r\n"
      "Accept: */*\r\n"
      "Accept-Language: en\r\n"
      "Host: ",
      request.host,
      "\r\n",
      post ? "Content-Type: application/x-www-form-urlencoded\r\n" : nullptr,
      "User-Agent: Tessaly Registration Agent 1.0\r\n",
      post && request.viaProxy ? "Proxy-Connection: Keep-Alive\r\n" : nullptr,
      post ? contentLength : nullptr,
      "\r\n",
  };
  if (head->data != nullptr) head->data[0] = '\0';
  head->length = 0;
  return AppendAll(head, pieces, sizeof pieces / sizeof *pieces);
}

bool BuildProxyTarget(TextBuffer *target, const char *host, WORD port, const char *path) {
  char portText[8] = "";
  if (port != 80) snprintf(portText, sizeof portText, ":%u", static_cast<unsigned>(port));
  const char *const pieces[] = {"http://", host, portText, path[0] == '/' ? "" : "/", path};
  return AppendAll(target, pieces, sizeof pieces / sizeof *pieces);
}

int ParseStatusLine(const char *response, size_t length) {
  size_t at = 5;
  if (length < at || memcmp(response, "HTTP/", 5) != 0) return -1;
  if (!SkipDigits(response, length, &at) || at >= length || response[at++] != '.') return -1;
  if (!SkipDigits(response, length, &at)) return -1;
  const size_t spaces = at;
  while (at < length && response[at] == ' ') ++at;
  if (at == spaces) return -1;
  long long code = 0;
  const size_t digits = at;
  for (; at < length && IsDigit(response[at]); ++at) {
    code = code * 10 + (response[at] - '0');
    if (code > 0x7FFFFFFF) return -1;
  }
  return at > digits ? static_cast<int>(code) : -1;
}

size_t FindBody(const char *response, size_t length) {
  for (size_t at = 0; at + 4 <= length; ++at) {
    const char *hit = static_cast<const char *>(memchr(response + at, '\r', length - at - 3));
    if (hit == nullptr) break;
    at = static_cast<size_t>(hit - response);
    if (memcmp(hit, "\r\n\r\n", 4) == 0) return at + 4;
  }
  return length + 1;
}

}  // namespace kt
