"""The update server of the update agent's tests (see harness.py). Every
check posts to /checkupdate.asp; the answer is chosen by the ProductVersion
field, which the tests set as the product's installed version."""
import time
import urllib.parse

from harness import respond as _respond

_OK = "HTTP/1.0 200 OK"
_ANSWERS = {
    "yes": (_OK, b"UpdateAvailable=Yes\r\nUpdateURL=http://get.example/new?a=1&b\r\n"
                 b"UpdateNotice=Version 2 is out\r\n"),
    # A longer key first, blanks before "=", LF lines, no final line end.
    "lower": (_OK, b"UpdateAvailableSoon=No\nUpdateAvailable \t=yes"),
    "no": (_OK, b"UpdateAvailable=No\n"),
    "none": (_OK, b"UpdateURL=http://get.example/\n"),
    "huge": (_OK, b"x" * (1 << 20) + b"\nUpdateAvailable=No\n"),
    # The text ends at the NUL.
    "binary": (_OK, bytes(range(256)) + b"\nUpdateAvailable=Yes\n"),
    "502": ("HTTP/1.0 502 Bad Gateway", b"UpdateAvailable=Yes\n"),
    "404": ("HTTP/1.0 404 Not Found", b""),
}


def _answer(request, conn):
    version = urllib.parse.parse_qs(request.body.decode("latin-1")).get("ProductVersion", [""])[0]
    if version == "slow":
        time.sleep(3)
        version = "no"
    if version == "early":
        conn.sendall(b"HTTP/1.0 20")  # and the connection closes
        return
    status, body = _ANSWERS[version]
    _respond(conn, status, body)


globals()["checkupdate.asp"] = _answer
