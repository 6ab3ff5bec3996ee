"""The tests' ICY stream server, on 127.0.0.1 only: a radio station that plays one short MP3
(or AAC) in a loop, with track titles in its metadata, as internet radio servers do, and one
that sends a WMA file.

    icy_server.py start --port P --mp3 FILE --pidfile F   (returns once it listens)
    icy_server.py stop --pidfile F
    icy_server.py serve --port P --mp3 FILE               (in the foreground)

--titles FILE replaces the built-in titles: one metadata text a line, bytes as they stand.
--aac FILE (ADTS) adds the .aac paths, --wma FILE (ASF) the .wma one.

Paths (query: metaint=N audio bytes between metadata blocks, default 4000; speed=X times
real time, default 1); each .mp3 path has its .aac twin playing the AAC loop:
    /live.mp3          "ICY 200 OK"; a new title every other metadata block, for ever
    /demo              the same (the run command's demo station)
    /http.mp3          the same with "HTTP/1.0 200 OK"
    /drop/N.mp3        the live stream, closed after N audio bytes
    /stall/N.mp3       the live stream's first N audio bytes, then silence on an open line
    /agent.mp3         the live stream titled with the request's User-Agent
    /live.wma          "HTTP/1.0 200 OK", the WMA file once (its titles are its own tags,
                       no metadata), then the line closes
    /redirect/PATH     302 to /PATH
    /list.pls          playlists naming a dead address, then /live.mp3 (with the query)
    /list.m3u
    /page.html         a web page, not a stream
    anything else      404
A request for an absolute address (what a client sends to a proxy) is served by its path,
titled "via proxy". The server ends by itself after --lifetime seconds (default 1800).
"""
import argparse
import http.server
import socket
import time
import urllib.parse

import loopback_server

# The cases a player must show right: quotes then a StreamUrl, a ";" and quotes inside the
# title, UTF-8, Windows-1251, and a title with the word "status".
TITLES = [
    "StreamTitle='Artist - \"Song\"';StreamUrl='http://127.0.0.1/song';".encode(),
    b"StreamTitle='Artist - Song; two 'quoted'';",
    "StreamTitle='Группа - Песня';".encode("utf-8"),
    "StreamTitle='Группа - Песня';".encode("cp1251"),
    b"StreamTitle='Server status: online';",
]

MPEG1_L3_KBPS = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320]
MPEG2_L3_KBPS = [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160]


def bitrate_kbps(mp3):
    """The bit rate of the first layer III frame header, or 128 when none is found."""
    for i in range(len(mp3) - 3):
        if mp3[i] == 0xFF and (mp3[i + 1] & 0xE6) == 0xE2:  # sync, layer III
            index = mp3[i + 2] >> 4
            table = MPEG1_L3_KBPS if mp3[i + 1] & 0x08 else MPEG2_L3_KBPS
            if 0 < index < 15:
                return table[index]
    return 128


def metadata_block(text):
    """The length byte (units of 16 bytes) and the zero-padded text; b"\\0" for none."""
    if not text:
        return b"\0"
    units = (len(text) + 15) // 16
    return bytes([units]) + text.ljust(units * 16, b"\0")


ADTS_RATES = [96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050, 16000, 12000, 11025,
              8000, 7350]


def adts_bytes_per_second(aac):
    """The stream's bytes over its duration: every ADTS frame holds 1024 samples."""
    at = frames = 0
    rate = 44100
    while at + 7 <= len(aac) and aac[at] == 0xFF and (aac[at + 1] & 0xF6) == 0xF0:
        rate = ADTS_RATES[(aac[at + 2] >> 2) & 0x0F]
        at += ((aac[at + 3] & 3) << 11) | (aac[at + 4] << 3) | (aac[at + 5] >> 5)
        frames += 1
    return len(aac) * rate // max(frames * 1024, 1)


ASF_FILE_PROPERTIES = bytes.fromhex("a1dcab8c47a9cf118ee400c00c205365")


def asf_bytes_per_second(asf):
    """The file's bytes over the play time its file properties give (less the preroll)."""
    at = asf.find(ASF_FILE_PROPERTIES)
    duration = int.from_bytes(asf[at + 64:at + 72], "little") / 1e7
    preroll = int.from_bytes(asf[at + 80:at + 88], "little") / 1e3
    return int(len(asf) / max(duration - preroll, 0.1))


class Station:
    """What every connection of one format plays: the bytes (in a loop, but for WMA) and the
    titles in turn."""

    def __init__(self, audio, titles, kind):
        self.audio = audio
        self.titles = titles
        self.kind = kind
        self.content_type = {"mp3": "audio/mpeg", "aac": "audio/aacp", "wma": "audio/x-ms-wma"}[kind]
        if kind == "mp3":
            self.bytes_per_second = bitrate_kbps(audio) * 1000 // 8
        elif kind == "aac":
            self.bytes_per_second = adts_bytes_per_second(audio)
        else:
            self.bytes_per_second = asf_bytes_per_second(audio)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    stations = {}  # by kind ("mp3", "aac", "wma"), set by serve()

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        self.via_proxy = bool(url.scheme)
        self.query = urllib.parse.parse_qs(url.query)
        path = url.path
        kind = "mp3" if path == "/demo" else path.rsplit(".", 1)[-1]
        self.station = self.stations.get(kind)
        name = path if kind == "mp3" or self.station is None else path[:-len(kind)] + "mp3"
        try:
            if self.station and kind == "wma" and path == "/live.wma":
                self.stream(icy=False, titles=[], limit=len(self.station.audio))
            elif self.station and kind == "wma":
                self.answer(404, b"not found\n", [("Content-Type", "text/plain")])
            elif self.station and name in ("/live.mp3", "/demo", "/http.mp3", "/agent.mp3"):
                self.stream(icy=name != "/http.mp3", titles=self.titles_for(name))
            elif self.station and name.startswith(("/drop/", "/stall/")):
                count = int(name.split("/")[2][:-4])
                self.stream(icy=True, titles=self.titles_for(name), limit=count,
                            stall=name.startswith("/stall/"))
            elif path.startswith("/redirect/"):
                self.answer(302, b"", [("Location", "/" + path[len("/redirect/"):])])
            elif path in ("/list.pls", "/list.m3u"):
                self.playlist(path.endswith(".pls"), url.query)
            elif path == "/page.html":
                self.answer(200, b"<html><body>not a stream</body></html>",
                            [("Content-Type", "text/html")])
            else:
                self.answer(404, b"not found\n", [("Content-Type", "text/plain")])
        except (ConnectionError, OSError):
            pass  # the client went away

    def titles_for(self, path):
        if self.via_proxy:
            return [b"StreamTitle='via proxy';"]
        if path == "/agent.mp3":
            agent = self.headers.get("User-Agent", "")
            return [b"StreamTitle='" + agent.encode("latin-1", "replace") + b"';"]
        return self.station.titles

    def number(self, name, default):
        return float(self.query.get(name, [default])[0])

    def answer(self, code, body, headers):
        self.send_response(code)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def playlist(self, pls, query):
        live = f"http://{self.headers.get('Host', '127.0.0.1')}/live.mp3"
        if query:
            live += "?" + query
        dead = "http://127.0.0.1:1/dead.mp3"
        if pls:
            body = (f"[playlist]\nNumberOfEntries=2\nFile1={dead}\nTitle1=dead\n"
                    f"File2={live}\nTitle2=live\nVersion=2\n")
            kind = "audio/x-scpls"
        else:
            body = f"#EXTM3U\n#EXTINF:-1,dead\n{dead}\n#EXTINF:-1,live\n{live}\n"
            kind = "audio/x-mpegurl"
        self.answer(200, body.encode(), [("Content-Type", kind)])

    def stream(self, icy, titles, limit=None, stall=False):
        station = self.station
        metaint = int(self.number("metaint", 4000))
        if self.headers.get("Icy-MetaData") != "1":
            metaint = 0
        if not titles:
            metaint = 0
        status = b"ICY 200 OK" if icy else b"HTTP/1.0 200 OK"
        head = [status, f"Content-Type: {station.content_type}".encode()]
        if station.kind != "wma":
            head += [b"icy-name: Efir test radio",
                     f"icy-br: {station.bytes_per_second * 8 // 1000}".encode()]
        if metaint:
            head.append(f"icy-metaint: {metaint}".encode())
        self.wfile.write(b"\r\n".join(head) + b"\r\n\r\n")

        rate = station.bytes_per_second * self.number("speed", 1)
        started = time.monotonic()
        sent = 0          # audio bytes
        offset = 0        # in the file
        until_meta = metaint
        blocks = 0
        while limit is None or sent < limit:
            chunk = min(1024, len(station.audio) - offset)
            if metaint:
                chunk = min(chunk, until_meta)
            if limit is not None:
                chunk = min(chunk, limit - sent)
            self.wfile.write(station.audio[offset:offset + chunk])
            sent += chunk
            offset = (offset + chunk) % len(station.audio)
            if metaint:
                until_meta -= chunk
                if until_meta == 0:
                    # A new title every other block; an empty block means "unchanged".
                    text = titles[(blocks // 2) % len(titles)] if blocks % 2 == 0 else b""
                    self.wfile.write(metadata_block(text))
                    blocks += 1
                    until_meta = metaint
            ahead = sent / rate - (time.monotonic() - started)
            if ahead > 0:
                time.sleep(ahead)
        self.wfile.flush()
        if stall:
            time.sleep(60)
        else:
            self.connection.shutdown(socket.SHUT_RDWR)

    def log_message(self, *args):
        pass


def read_titles(path):
    if not path:
        return TITLES
    with open(path, "rb") as f:
        return [line.rstrip(b"\r\n") for line in f if line.strip()]


def serve(args):
    titles = read_titles(args.titles)
    for kind in ("mp3", "aac", "wma"):
        path = getattr(args, kind)
        if path:
            with open(path, "rb") as f:
                Handler.stations[kind] = Station(f.read(), titles, kind)
    loopback_server.serve(args.port, Handler, args.lifetime)


def start(args):
    serve_args = ["--mp3", args.mp3]
    for option in ("titles", "aac", "wma"):
        if getattr(args, option):
            serve_args += ["--" + option, getattr(args, option)]
    loopback_server.start(__file__, args.port, serve_args, args.lifetime, args.pidfile)


def stop(args):
    loopback_server.stop(args.pidfile)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("command", choices=["start", "stop", "serve"])
    parser.add_argument("--port", type=int, default=18766)
    parser.add_argument("--mp3", default="tone.mp3")
    parser.add_argument("--titles")
    parser.add_argument("--aac")
    parser.add_argument("--wma")
    parser.add_argument("--pidfile", default="stream.pid")
    parser.add_argument("--lifetime", type=float, default=1800)
    args = parser.parse_args()
    {"start": start, "stop": stop, "serve": serve}[args.command](args)


if __name__ == "__main__":
    main()
