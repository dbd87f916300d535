#!/usr/bin/env python3
"""The vendor's web site on this machine, for package, its tests and its demo.

Serves a folder (by default site/ beside this script) on 127.0.0.1, port 80 unless told:
the site root, /BBS, /Kd and /Package/Application/ with welcome.htm and configs.xml.
A folder's address serves its index.htm. Nothing is cached by the client (no-store).

A control file, when given, sets how the site behaves; it is read again every 50 ms and the
mode in force is echoed to <control>.applied once applied:

  normal   everything is served
  refuse   the port is closed: connections are refused until another mode is set
  error    the configuration address answers 500 with an error page
  page     the configuration address answers 200 with an error page
  empty    the configuration address answers 200 with an empty body
  cut      the configuration address announces its length, sends half and closes
  silent   the configuration address reads the request and never answers
  stall    the configuration address sends its head, then nothing
  drip     the configuration address sends its head, then one byte every half second
  trickle  the configuration address sends its head, then 1100 bytes every 0.95 s: enough for
           any 1-second period, far too little on average
  endless  the configuration address answers without a length, then its body followed by
           blank lines at full speed, for ever
  zeros    the configuration address announces its length with 300 digits (leading zeros)
  zeroscut as zeros, but sends half and closes
  overlong the configuration address announces a length of 300 nines, sends half and closes

A connection held by silent, stall or drip ends when the client closes it, and after
HOLD_S seconds at the latest.

Commands:
  serve [--root DIR] [--port N] [--control F] [--lifetime S]   in the foreground
  start --state F [--root DIR] [--port N] [--control F] [--lifetime S]
                                      in the background; F gets "pid port" once it serves
  stop --state F                      ends a site started with start

A port that another program holds, or port 80 without root, ends the command at once with
the reason; the site never waits for a port.
"""

import argparse
import errno
import http.server
import signal
import socket
import sys
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "common"))
import background_server  # noqa: E402

CONFIG_PATH = "/Package/Application/configs.xml"
MODES = ("normal", "refuse", "error", "page", "empty", "cut", "silent", "stall", "drip", "trickle",
         "endless", "zeros", "zeroscut", "overlong")
POLL_S = 0.05
HOLD_S = 120
DRIP_S = 0.5
TRICKLE_S = 0.95
TRICKLE_BYTES = 1100
FLOOD = b"\n" * 65536
LENGTH_DIGITS = 300
# The mode in force, read by every request of every listener.
current_mode = "normal"
DEFAULT_ROOT = Path(__file__).resolve().parent / "site"
TYPES = {".xml": "text/xml; charset=utf-8", ".htm": "text/html; charset=utf-8",
         ".html": "text/html; charset=utf-8"}
ERROR_PAGE = ("<html><head><meta charset=\"utf-8\"><title>500 服务器错误</title></head>"
              "<body><h1>服务器内部错误</h1><p>请稍后再试。</p></body></html>").encode()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "LumivaneVendorSite/1"

    def log_message(self, format, *args):
        pass

    def do_GET(self):
        path = self.path.split("?", 1)[0]
        mode = current_mode
        if path == CONFIG_PATH and mode == "error":
            return self.answer(500, ERROR_PAGE, ".htm")
        if path == CONFIG_PATH and mode == "page":
            return self.answer(200, ERROR_PAGE, ".htm")
        if path == CONFIG_PATH and mode == "empty":
            return self.answer(200, b"", ".xml")
        target = self.resolve(path)
        if target is None:
            page = "<html><body><h1>404</h1><p>没有这个网页。</p></body></html>"
            return self.answer(404, page.encode(), ".htm")
        body = target.read_bytes()
        if path != CONFIG_PATH or mode == "normal":
            return self.answer(200, body, target.suffix)
        if mode == "silent":
            return self.hold(b"")
        if mode == "endless":
            self.send_head(200, None, target.suffix)
            self.wfile.write(body)
            return self.hold(b"", flood=True)
        length = str(len(body))
        if mode in ("zeros", "zeroscut"):
            length = length.rjust(LENGTH_DIGITS, "0")
        elif mode == "overlong":
            length = "9" * LENGTH_DIGITS
        self.send_head(200, length, target.suffix)
        if mode == "stall":
            return self.hold(b"")
        if mode == "drip":
            return self.hold(body)
        if mode == "trickle":
            return self.hold(body, TRICKLE_BYTES, TRICKLE_S)
        self.wfile.write(body if mode == "zeros" else body[: len(body) // 2])

    def hold(self, drip, piece=1, pause=DRIP_S, flood=False):
        """Keeps the connection, sending the next `piece` bytes of `drip` every `pause` seconds
        (and blank lines after it when `flood`), until the client closes it or HOLD_S pass."""
        self.close_connection = True
        self.wfile.flush()
        self.connection.settimeout(HOLD_S if flood else pause)
        deadline = time.monotonic() + HOLD_S
        sent = 0
        while time.monotonic() < deadline:
            try:
                if sent < len(drip):
                    self.wfile.write(drip[sent:sent + piece])
                    self.wfile.flush()
                    sent += piece
                elif flood:
                    self.wfile.write(FLOOD)
                    continue
                if not self.connection.recv(1):
                    return
            except socket.timeout:
                continue
            except OSError:
                return

    def resolve(self, path):
        root = self.server.root
        parts = [part for part in path.split("/") if part]
        target = root.joinpath(*parts).resolve()
        if target != root and root not in target.parents:
            return None
        if target.is_dir():
            target = target / "index.htm"
        return target if target.is_file() else None

    def send_head(self, code, length, suffix):
        # One request per connection: a mode change meets no connection kept from before.
        self.close_connection = True
        self.send_response(code)
        self.send_header("Content-Type", TYPES.get(suffix, "application/octet-stream"))
        if length is not None:
            self.send_header("Content-Length", str(length))
        self.send_header("Cache-Control", "no-store, no-cache")
        self.send_header("Pragma", "no-cache")
        self.send_header("Expires", "0")
        self.send_header("Connection", "close")
        self.end_headers()

    def answer(self, code, body, suffix):
        self.send_head(code, len(body), suffix)
        self.wfile.write(body)


class Site(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, root, port):
        self.root = Path(root).resolve()
        super().__init__(("127.0.0.1", port), Handler)


def open_site(root, port):
    """The listening site, or exit with the reason the port cannot be had."""
    try:
        return Site(root, port)
    except OSError as error:
        if error.errno == errno.EADDRINUSE:
            sys.exit("vendor site: 127.0.0.1:%d is already in use by another program; "
                     "stop that program and try again" % port)
        if error.errno == errno.EACCES:
            sys.exit("vendor site: port %d needs root (run as root, or pass --port)" % port)
        sys.exit("vendor site: cannot listen on 127.0.0.1:%d: %s" % (port, error))


def read_mode(control):
    try:
        mode = Path(control).read_text().strip()
    except OSError:
        return "normal"
    return mode if mode in MODES else "normal"


def serve(args):
    root = Path(args.root)
    if not (root / CONFIG_PATH.lstrip("/")).is_file():
        sys.exit("vendor site: %s has no %s" % (root, CONFIG_PATH))
    site = open_site(root, args.port)
    port = site.server_address[1]
    stopping = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stopping.set())
    signal.signal(signal.SIGINT, lambda *_: stopping.set())
    thread = threading.Thread(target=site.serve_forever, daemon=True)
    thread.start()
    if args.ready_file:
        background_server.write_state(args.ready_file, port)
    else:
        print("vendor site: serving %s on http://127.0.0.1:%d/" % (site.root, port), flush=True)
    deadline = time.monotonic() + args.lifetime if args.lifetime else None
    applied = None
    while not stopping.wait(POLL_S):
        if deadline and time.monotonic() > deadline:
            break
        mode = read_mode(args.control) if args.control else "normal"
        if mode == "refuse" and site:
            site.shutdown()
            site.server_close()
            thread.join()
            site = None
        elif mode != "refuse" and not site:
            site = open_site(root, port)
            thread = threading.Thread(target=site.serve_forever, daemon=True)
            thread.start()
        global current_mode
        current_mode = mode
        if args.control and mode != applied:
            Path(args.control + ".applied").write_text(mode + "\n")
            applied = mode
    if site:
        site.shutdown()
        site.server_close()
    return 0


def start(args):
    if args.control:
        # A new site starts well-behaved whatever the last run left.
        Path(args.control).write_text("normal\n")
        Path(args.control + ".applied").unlink(missing_ok=True)
    command = [sys.executable, __file__, "serve", "--root", args.root, "--port", str(args.port),
               "--ready-file", args.state, "--lifetime", str(args.lifetime)]
    if args.control:
        command += ["--control", args.control]
    return background_server.start("vendor site", command, args.state)


def stop(args):
    return background_server.stop(args.state)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    for name in ("serve", "start"):
        command = commands.add_parser(name)
        command.add_argument("--root", default=str(DEFAULT_ROOT))
        command.add_argument("--port", type=int, default=80)
        command.add_argument("--control")
        command.add_argument("--lifetime", type=float, default=0,
                             help="seconds after which the site ends by itself (0: never)")
        if name == "serve":
            command.add_argument("--ready-file")
        else:
            command.add_argument("--state", required=True)
    commands.add_parser("stop").add_argument("--state", required=True)
    args = parser.parse_args()
    return {"serve": serve, "start": start, "stop": stop}[args.command](args) or 0


if __name__ == "__main__":
    sys.exit(main())
