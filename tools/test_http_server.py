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
    /qr/chart?chs=WxH&cht=qr&chl=T   a W x H PNG standing for the QR code of T (400 when the
                       query is not such); /qr/last gives the bytes of the last T asked for
    /site/BODY/PAGE    a site whose every page holds BODY (percent-decoded): a version file
Canned answers of the player's three radio services, which the tests point at this server:
    /getStreamUrl.ashx?stationId=ID&...   a station's stream address, naming the raw query
                       and any cookie that came; ID "empty" answers nothing, "page" a web
                       page, "status-N" status N
    /api/station?stream=URL&token=T       the portal API's JSON naming URL?token=T, its
                       slashes escaped; /api/empty answers nothing, /api/page a web page
    /play/ID/translation                  the portal's broadcast page; its server time is ID
    /player_xml.html?startat=N&...        the portal's player XML, whose stream's hash is
                       the raw query; none for startat 10620 (a server time of 0)
It ends by itself after --lifetime seconds (default 1800), so a killed test run never leaves
it behind for long.
"""
import argparse
import http.server
import struct
import threading
import time
import urllib.parse
import zlib

import loopback_server


gates = {}
gates_lock = threading.Lock()
last_qr_text = b""


def png(width, height):
    """A grey-scale PNG of dark and light squares of 10 pixels."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    rows = b"".join(b"\0" + bytes(0 if (x // 10 + y // 10) % 2 else 255 for x in range(width))
                    for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows))
            + chunk(b"IEND", b""))


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

    def radio_service(self):
        """Answers a radio service's request; False for other paths."""
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        page = "<html><body>no stream here</body></html>\n"
        if url.path == "/getStreamUrl.ashx":
            station = query.get("stationId", [""])[0]
            if station.startswith("status-"):
                self.answer(int(station[len("status-"):]), "failed\n")
            elif station in ("empty", "page"):
                self.answer(200, "" if station == "empty" else page)
            else:
                cookie = self.headers.get("Cookie")
                extra = f"&cookie={cookie}" if cookie else ""
                self.answer(200, f"http://127.0.0.1/station?{url.query}{extra}\r\n")
        elif url.path == "/api/station":
            stream = query.get("stream", [""])[0].replace("/", "\\/")
            token = query.get("token", ["t0k3n"])[0]
            self.answer(200, f'{{"id":7,"urlStream":"{stream}?token={token}","format":"mp3"}}')
        elif url.path in ("/api/empty", "/api/page"):
            self.answer(200, "" if url.path == "/api/empty" else page)
        elif url.path.startswith("/play/") and url.path.endswith("/translation"):
            time_ = url.path.split("/")[2]
            self.answer(200, f"<script>var player = {{servertime: '{time_}', live: 1}};</script>\n")
        elif url.path == "/player_xml.html":
            if query.get("startat") == ["10620"]:
                self.answer(200, "<player></player>\n")
            else:
                self.answer(200, f'<player><file url="http://127.0.0.1/flv?hash={url.query}"/></player>\n')
        else:
            return False
        return True

    def send_body(self, content_type, body):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def qr_code(self, rest):
        global last_qr_text
        if rest == "last":
            self.send_body("application/octet-stream", last_qr_text)
            return
        # The text is bytes of the client's code page: decode the query byte for byte.
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(self.path).query, encoding="latin-1")
        size = query.get("chs", [""])[0].split("x")
        if (not rest.startswith("chart") or query.get("cht") != ["qr"] or len(size) != 2
                or not all(part.isdigit() for part in size)):
            self.answer(400, "not a QR code request\n")
            return
        last_qr_text = query.get("chl", [""])[0].encode("latin-1")
        self.send_body("image/png", png(int(size[0]), int(size[1])))

    def do_GET(self):
        if self.radio_service():
            return
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
        elif first == "qr":
            self.qr_code(rest)
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


def serve(args):
    handler = lambda *a, **k: Handler(*a, directory=args.root, **k)
    loopback_server.serve(args.port, handler, args.lifetime)


def start(args):
    loopback_server.start(__file__, args.port, ["--root", args.root], args.lifetime, args.pidfile)


def stop(args):
    loopback_server.stop(args.pidfile)


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
