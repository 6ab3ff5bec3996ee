"""The tests' HTTP server, on 127.0.0.1 only.

    test_http_server.py start --port P --root DIR --pidfile F   (returns once it listens)
    test_http_server.py stop --pidfile F
    test_http_server.py serve --port P --root DIR               (in the foreground)

Serves the files under DIR, and a few answers for the HTTP client's tests:
    /status/N          status N
    /redirect/PATH     302 to /PATH
    /slow/MS           waits MS milliseconds before answering
    /cookie/set        sets the cookie efir=crumb
    /headers           the request's header lines as the body
    /gate/NAME         holds the answer back until /open/NAME is asked for (20 s at most)
    /bytes/N           N bytes (byte i is i % 251), written in 8 KB pieces
    /truncated/N       announces N bytes, sends a tenth of them and closes
    /attach/?name=X    a small body named X by a Content-Disposition header (default report.pdf)
    /loop              redirects to itself, for ever
    POST /echo         the request's body as the body
    /site/BODY/PAGE    a site whose every page holds BODY (percent-decoded): a version file
It ends by itself after --lifetime seconds (default 1800), so a killed test run never leaves
it behind for long.
"""
import argparse
import http.server
import os
import signal
import socket
import subprocess
import sys
import threading
import time
import urllib.parse


gates = {}
gates_lock = threading.Lock()


def gate(name):
    with gates_lock:
        return gates.setdefault(name, threading.Event())


class Handler(http.server.SimpleHTTPRequestHandler):
    def answer(self, code, text, headers=()):
        body = text.encode()
        self.send_response(code)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def send_bytes(self, announced, sent):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(announced))
        self.end_headers()
        data = bytes(i % 251 for i in range(sent))
        for at in range(0, sent, 8192):
            self.wfile.write(data[at:at + 8192])
            self.wfile.flush()

    def do_GET(self):
        _, first, *rest = self.path.split("/", 2)
        rest = rest[0] if rest else ""
        if first == "status":
            code = int(rest)
            self.answer(code, f"status {code}\n")
        elif first == "redirect":
            self.answer(302, "moved\n", [("Location", "/" + rest)])
        elif first == "slow":
            time.sleep(int(rest) / 1000)
            self.answer(200, "slow\n")
        elif first == "cookie":
            self.answer(200, "cookie set\n", [("Set-Cookie", "efir=crumb; Path=/")])
        elif first == "headers":
            self.answer(200, str(self.headers))
        elif first == "gate":
            opened = gate(rest).wait(20)
            self.answer(200 if opened else 504, "opened\n" if opened else "still shut\n")
        elif first == "site":
            self.answer(200, urllib.parse.unquote(rest.split("/", 1)[0]))
        elif first == "open":
            gate(rest).set()
            self.answer(200, "open\n")
        elif first == "bytes":
            self.send_bytes(int(rest), int(rest))
        elif first == "truncated":
            self.send_bytes(int(rest), int(rest) // 10)
            self.close_connection = True
        elif first == "attach":
            query = urllib.parse.parse_qs(urllib.parse.urlsplit(self.path).query)
            name = query.get("name", ["report.pdf"])[0]
            self.answer(200, "attached\n", [("Content-Disposition", f'attachment; filename="{name}"')])
        elif first == "loop":
            self.answer(302, "again\n", [("Location", "/loop")])
        else:
            super().do_GET()

    def do_POST(self):
        if self.path != "/echo":
            self.answer(404, "no such form\n")
            return
        body = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def listening(port):
    try:
        socket.create_connection(("127.0.0.1", port), 0.2).close()
        return True
    except OSError:
        return False


def serve(args):
    handler = lambda *a, **k: Handler(*a, directory=args.root, **k)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), handler)
    server.daemon_threads = True
    threading.Timer(args.lifetime, lambda: os._exit(0)).start()
    server.serve_forever()


def start(args):
    if listening(args.port):
        sys.exit(f"port {args.port} is already in use (a stale server?)")
    # Fully detached: ctest waits for every process that holds its output pipe.
    proc = subprocess.Popen(
        [sys.executable, __file__, "serve", "--port", str(args.port), "--root", args.root,
         "--lifetime", str(args.lifetime)],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        start_new_session=True)
    with open(args.pidfile, "w") as f:
        f.write(str(proc.pid))
    deadline = time.time() + 10
    while time.time() < deadline:
        if listening(args.port):
            return
        time.sleep(0.05)
    sys.exit("the server did not come up")


def stop(args):
    try:
        with open(args.pidfile) as f:
            os.kill(int(f.read()), signal.SIGTERM)
    except (OSError, ValueError):
        pass
    if os.path.exists(args.pidfile):
        os.remove(args.pidfile)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("command", choices=["start", "stop", "serve"])
    parser.add_argument("--port", type=int, default=18765)
    parser.add_argument("--root", default=".")
    parser.add_argument("--pidfile", default="http.pid")
    parser.add_argument("--lifetime", type=float, default=1800)
    args = parser.parse_args()
    {"start": start, "stop": stop, "serve": serve}[args.command](args)


if __name__ == "__main__":
    main()
