#!/usr/bin/env python3
"""Runs a test command beside servers of its own on 127.0.0.1.

    harness.py --scripts FILE.py [--scripts ...] [--proxy] -- COMMAND [ARG...]

Starts an origin server on a free port (and, with --proxy, tinyproxy with a
config of its own on another), runs COMMAND with their ports in its
environment, stops everything and exits with COMMAND's status. "{origin}",
"{proxy}" and "{closed}" in COMMAND's arguments become the ports.

The origin server answers each request by a script: the first segment of the
request's path names a function of a --scripts file, the segments between it
and the last are its arguments, and the last segment is the request's token.
A request target in absolute form ("http://host:port/path", as a proxy
gets it) is read the same way. A script is called as

    script(request, conn, *args)

with request.method, .target, .headers (lower-case names), .body and .raw,
and writes its answer on conn (helpers below); the connection is closed
after it returns unless it closed it itself. Everything the client sent on
the connection, until it closed its end, is then recorded byte for byte in
the file named after the token in the records folder, written whole at
once. An unknown script gets a 404.

Environment of COMMAND:
  KT_ORIGIN_PORT  the origin server
  KT_PROXY_PORT   tinyproxy (with --proxy), forwarding to anything on 127.0.0.1
  KT_CLOSED_PORT  a port bound to nothing that listens: connections are refused
  KT_RECORDS      the records folder as Wine's Windows programs see it (Z:)
  KT_RECORDS_UNIX the same folder as a path of this machine
"""
import argparse
import importlib.util
import os
import shutil
import socket
import socketserver
import subprocess
import sys
import tempfile
import threading
import time


class Request:
    def __init__(self, raw):
        self.raw = raw
        head, _, self.body = raw.partition(b"\r\n\r\n")
        lines = head.split(b"\r\n")
        parts = lines[0].split(b" ")
        self.method = parts[0].decode("latin-1")
        self.target = parts[1].decode("latin-1") if len(parts) > 1 else ""
        self.headers = {}
        for line in lines[1:]:
            name, _, value = line.partition(b":")
            self.headers[name.strip().lower().decode("latin-1")] = value.strip().decode("latin-1")

    def segments(self):
        path = self.target
        if path.startswith("http://"):
            path = "/" + path[len("http://"):].partition("/")[2]
        return path.partition("?")[0].split("/")[1:]


def respond(conn, status, body=b"", headers=()):
    """Sends a status line ("HTTP/1.0 200 OK"), header lines and the body."""
    head = status + "\r\n" + "".join(h + "\r\n" for h in headers) + "\r\n"
    conn.sendall(head.encode("latin-1") + body)


def reset(conn):
    """Closes with a reset instead of an orderly close."""
    conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00")
    conn.close()


def read_request(conn):
    """Reads the head and as many body bytes as Content-Length says."""
    raw = b""
    while b"\r\n\r\n" not in raw:
        chunk = conn.recv(65536)
        if not chunk:
            return raw
        raw += chunk
    length = int(Request(raw).headers.get("content-length", "0") or 0)
    while len(raw) - raw.index(b"\r\n\r\n") - 4 < length:
        chunk = conn.recv(65536)
        if not chunk:
            break
        raw += chunk
    return raw


class Origin(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, scripts, records):
        self.scripts, self.records, self.unnamed = scripts, records, 0
        self.lock = threading.Lock()
        super().__init__(("127.0.0.1", 0), Handler)

    def record(self, token, raw):
        if not token or token in (".", "..") or "\\" in token:
            with self.lock:
                self.unnamed += 1
                token = "unnamed-%d" % self.unnamed
        path = os.path.join(self.records, token)
        # Requests to one path may arrive together: each writes its own part.
        part = "%s.%d.part" % (path, threading.get_ident())
        with open(part, "wb") as out:
            out.write(raw)
        os.replace(part, path)


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        conn = self.request
        conn.settimeout(60)
        raw = read_request(conn)
        request = Request(raw)
        segments = request.segments() if raw else []
        script = self.server.scripts.get(segments[0]) if segments else None
        try:
            if script is None:
                respond(conn, "HTTP/1.0 404 Not Found", b"no such script")
            else:
                script(request, conn, *segments[1:-1])
            if conn.fileno() != -1:
                # The client closes after the server; whatever it sends
                # until then belongs to the record.
                conn.shutdown(socket.SHUT_WR)
                while True:
                    chunk = conn.recv(65536)
                    if not chunk:
                        break
                    raw += chunk
        except OSError:
            pass
        self.server.record(segments[-1] if segments else "", raw)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start_tinyproxy(folder):
    port = free_port()
    config = os.path.join(folder, "tinyproxy.conf")
    with open(config, "w") as out:
        out.write("Port %d\nListen 127.0.0.1\nAllow 127.0.0.1\nTimeout 120\n"
                  "MaxClients 64\nLogLevel Warning\nLogFile \"%s\"\n"
                  % (port, os.path.join(folder, "tinyproxy.log")))
    proxy = subprocess.Popen(["tinyproxy", "-d", "-c", config],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return proxy, port
        except OSError:
            if proxy.poll() is not None:
                break
            time.sleep(0.05)
    proxy.kill()
    sys.exit("harness: tinyproxy did not start")


def load_scripts(paths):
    scripts = {}
    for path in paths:
        spec = importlib.util.spec_from_file_location(os.path.basename(path)[:-3], path)
        module = importlib.util.module_from_spec(spec)
        spec.loader.exec_module(module)
        scripts.update({name: f for name, f in vars(module).items()
                        if callable(f) and not name.startswith("_")
                        and getattr(f, "__module__", None) == module.__name__})
    return scripts


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scripts", action="append", default=[])
    parser.add_argument("--proxy", action="store_true")
    parser.add_argument("command", nargs="+")
    args = parser.parse_args()
    sys.modules.setdefault("harness", sys.modules[__name__])

    folder = tempfile.mkdtemp(prefix="kt-servers-")
    records = os.path.join(folder, "records")
    os.mkdir(records)
    origin = Origin(load_scripts(args.scripts), records)
    threading.Thread(target=origin.serve_forever, daemon=True).start()
    # Bound but not listening: connections to it are refused.
    closed = socket.socket()
    closed.bind(("127.0.0.1", 0))
    proxy, proxy_port = start_tinyproxy(folder) if args.proxy else (None, 0)
    ports = {"origin": origin.server_address[1], "proxy": proxy_port,
             "closed": closed.getsockname()[1]}
    env = dict(os.environ, KT_RECORDS="Z:" + records.replace("/", "\\"),
               KT_RECORDS_UNIX=records,
               **{"KT_%s_PORT" % k.upper(): str(v) for k, v in ports.items()})
    try:
        command = list(args.command)
        for name, port in ports.items():
            command = [a.replace("{%s}" % name, str(port)) for a in command]
        status = subprocess.call(command, env=env)
    finally:
        if proxy:
            proxy.terminate()
            proxy.wait()
        origin.shutdown()
        closed.close()
        shutil.rmtree(folder, ignore_errors=True)
    sys.exit(status)


if __name__ == "__main__":
    main()
