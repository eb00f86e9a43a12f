"""Answers of the origin server for the HTTP client's tests (see harness.py).
Each answers /NAME/ARGS.../TOKEN; most put the token in the body, so that a
test can tell its responses apart."""
import socket
import time

from harness import reset as _reset

# /reply/KIND/TOKEN: fixed answers, {} standing for the token.
_REPLIES = {
    "ok": "HTTP/1.0 200 OK\r\nX-Test: 1\r\n\r\n{}",
    "nul": "HTTP/1.0 200 OK\r\n\r\n\0a\0{}\0",
    "notfound": "HTTP/1.1 404 Not Found\r\n\r\n{}",
    "garbage": "<html>{}</html>\r\n\r\n",
    "nohead": "HTTP/1.0 200 OK\r\nServer: {}\r\n",
    "longhead": "HTTP/1.0 200 OK\r\nX: " + "h" * 70000 + "\r\n\r\n{}",
    "spaced": "HTTP/10.25   301\r\n\r\n{}",
    "longcode": "HTTP/1.0 12345678901234567890 OK\r\n\r\n{}",
    "wrapcode": "HTTP/1.0 4294967496 OK\r\n\r\n{}",
    "nospace": "HTTP/1.0200 OK\r\n\r\n{}",
    "silent": "",
}


def reply(request, conn, kind):
    conn.sendall(_REPLIES[kind].format(request.segments()[-1]).encode("latin-1"))


_pattern = b""


def pattern(request, conn, size):
    """A body of SIZE bytes, byte i being i % 251 (NUL bytes included)."""
    global _pattern
    size = int(size)
    if len(_pattern) < size:
        _pattern = bytes(range(251)) * (size // 251 + 1)
    conn.sendall(b"HTTP/1.0 200 OK\r\n\r\n")
    conn.sendall(memoryview(_pattern)[:size])


def trickle(request, conn, milliseconds):
    """The whole answer (the token as the body), one byte per segment every
    few milliseconds."""
    conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    for byte in b"HTTP/1.0 200 OK\r\n\r\n" + request.segments()[-1].encode("latin-1"):
        time.sleep(int(milliseconds) / 1000)
        conn.sendall(bytes([byte]))


def reset(request, conn):
    """Half a body, then a reset instead of the close that would end it."""
    conn.sendall(b"HTTP/1.0 200 OK\r\n\r\n" + b"x" * 100000)
    time.sleep(0.2)
    _reset(conn)
