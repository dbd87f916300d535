#!/usr/bin/env python3
"""A small HTTP server for the updater's tests and demo.

Serves the files of one folder on 127.0.0.1. The first path element can ask it to
misbehave, so that tests meet the answers a real network gives:

  /<file>                   the file, 200 with Content-Length (404 when missing)
  /status/<code>/<file>     answers <code> with the file as its body (a short HTML page
                            when there is no such file)
  /redirect/<file>          302 to /<file>
  /short/<file>             announces the full length, sends half, closes
  /nolength/<file>          no Content-Length; the end of the body is the close
  /slow/<ms>/<file>         the file in 8 KiB pieces, <ms> milliseconds apart
  /drop/<file>              announces the full length, sends half, resets the connection
  /cut/<file>               no Content-Length, sends half, closes
  /cutreset/<file>          no Content-Length, sends half, resets the connection
  /chunked/<file>           the whole file in chunks
  /chunkcut/<file>          chunks of the first half, closes before the last chunk
  /chunkmid/<file>          announces a chunk of the whole file, sends half of it, closes
  /chunkgarbage/<file>      a chunk-size line that is no number
  /empty/<file>             200 with Content-Length: 0
  /partial/<file>           206 with the first half
  /longlength/<file>        a Content-Length of 300 digits (leading zeros), sends half, closes
  /http09/<file>            the bytes of the file's first half without any status line, closes
  /redirecthost/<file>      302 to the same file through "localhost" instead of 127.0.0.1
  /redirectport/<port>/<file>  302 to the same file on 127.0.0.1:<port>
  /redirectsecure/<file>    302 to the same file on the same host and port through https
  /redirectloop/<file>      302 to itself
  /silent/<file>            reads the request and never answers
  /stall/<file>             the headers with the full length, then nothing
  /drip/<ms>/<file>         the headers, then one byte every <ms> milliseconds
  /trickle/<ms>/<file>      the headers, then 1100 bytes every <ms> milliseconds
  /endless/<file>           no Content-Length; the file, then zero bytes at full speed for ever
  /chunkendless/<file>      the file in chunks, then chunks of zero bytes at full speed for ever
  /sign/<key>/<file>        the file's detached signature by <key>.key.pem of the --keys
                            folder, as `openssl dgst -sha256 -sign` writes it (DER)
A connection that is kept waiting is closed after HOLD_S seconds, so that the server
always ends what it started.

Commands:
  serve --root DIR [--keys DIR] [--port N] [--port-file F]
                                   in the foreground (port 0: a free one)
  start --root DIR [--keys DIR] --state F
                                   in the background; F gets "pid port"
  stop --state F                                 ends a server started with start
"""

import argparse
import http.server
import re
import signal
import socket
import struct
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "common"))
import background_server  # noqa: E402

PIECE = 8192
TRICKLE_BYTES = 1100
HOLD_S = 60
SIGN_TIMEOUT_S = 10


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "LumivaneUpdateServer/1"

    def log_message(self, format, *args):
        pass

    def do_GET(self):
        parts = self.path.split("?", 1)[0].lstrip("/").split("/")
        mode = parts[0]
        if mode == "status" and len(parts) >= 3 and parts[1].isdigit():
            target = self.resolve(parts[2:])
            if target is not None:
                return self.send_body(int(parts[1]), target.read_bytes())
            return self.send_text(int(parts[1]), "status %s\n" % parts[1])
        if mode == "redirect":
            return self.send_redirect("/" + "/".join(parts[1:]))
        if mode == "slow" and len(parts) >= 3 and parts[1].isdigit():
            return self.send_file(parts[2:], delay=int(parts[1]) / 1000.0)
        if mode == "redirecthost":
            port = self.server.server_address[1]
            return self.send_redirect("http://localhost:%d/%s" % (port, "/".join(parts[1:])))
        if mode == "redirectport" and len(parts) >= 3 and parts[1].isdigit():
            return self.send_redirect("http://127.0.0.1:%s/%s" % (parts[1], "/".join(parts[2:])))
        if mode == "redirectsecure":
            port = self.server.server_address[1]
            return self.send_redirect("https://127.0.0.1:%d/%s" % (port, "/".join(parts[1:])))
        if mode == "redirectloop":
            return self.send_redirect(self.path)
        if mode == "silent":
            return self.hold()
        if mode in ("drip", "trickle") and len(parts) >= 3 and parts[1].isdigit():
            return self.send_file(parts[2:], mode=mode, delay=int(parts[1]) / 1000.0)
        if mode == "sign" and len(parts) >= 3:
            return self.send_signature(parts[1], parts[2:])
        if mode in MISBEHAVIOURS:
            return self.send_file(parts[1:], mode=mode)
        return self.send_file(parts)

    def send_signature(self, key_name, parts):
        target = self.resolve(parts)
        keys = self.server.keys
        key = keys / (key_name + ".key.pem") if keys and re.fullmatch(r"\w+", key_name) else None
        if target is None or key is None or not key.is_file():
            return self.send_text(404, "no such file or key")
        signed = subprocess.run(["openssl", "dgst", "-sha256", "-sign", str(key), str(target)],
                                capture_output=True, timeout=SIGN_TIMEOUT_S)
        if signed.returncode != 0:
            return self.send_text(500, "openssl: %s" % signed.stderr.decode(errors="replace"))
        self.send_body(200, signed.stdout, "application/octet-stream")

    def hold(self):
        self.close_connection = True
        time.sleep(HOLD_S)

    def reset(self):
        # Let the client take what was sent first: a reset discards what it has not read.
        self.wfile.flush()
        time.sleep(0.2)
        self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.close_connection = True

    def send_chunks(self, data, mode):
        self.send_response(200)
        self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()
        self.close_connection = True
        if mode == "chunkgarbage":
            self.wfile.write(b"zz\r\n" + data[:100] + b"\r\n0\r\n\r\n")
            return
        if mode == "chunkendless":
            self.wfile.write(b"%x\r\n" % len(data) + data + b"\r\n")
            piece = b"%x\r\n" % PIECE + bytes(PIECE) + b"\r\n"
            self.connection.settimeout(HOLD_S)
            deadline = time.monotonic() + HOLD_S
            try:
                while time.monotonic() < deadline:
                    self.wfile.write(piece)
            except OSError:
                pass
            return
        if mode == "chunkmid":
            self.wfile.write(b"%x\r\n" % len(data) + data[: len(data) // 2])
            return
        body = data if mode == "chunked" else data[: len(data) // 2]
        for offset in range(0, len(body), PIECE):
            piece = body[offset : offset + PIECE]
            self.wfile.write(b"%x\r\n" % len(piece) + piece + b"\r\n")
        if mode == "chunked":
            self.wfile.write(b"0\r\n\r\n")

    def resolve(self, parts):
        root = self.server.root
        target = root.joinpath(*parts).resolve() if parts and all(parts) else None
        if target is None or root not in target.parents or not target.is_file():
            return None
        return target

    def send_text(self, code, text):
        self.send_body(code, ("<html><body>%s</body></html>" % text).encode(), "text/html")

    def send_body(self, code, body, kind="text/xml"):
        self.send_response(code)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(body)

    def send_redirect(self, location):
        self.send_response(302)
        self.send_header("Location", location)
        self.send_header("Content-Length", "0")
        self.send_header("Cache-Control", "no-store")
        self.end_headers()

    def send_file(self, parts, mode=None, delay=0.0):
        target = self.resolve(parts)
        if target is None:
            return self.send_text(404, "not found")
        data = target.read_bytes()
        half = data[: len(data) // 2]
        if mode in ("chunked", "chunkcut", "chunkmid", "chunkgarbage", "chunkendless"):
            return self.send_chunks(data, mode)
        if mode == "http09":
            self.close_connection = True
            return self.wfile.write(half)
        self.send_response(206 if mode == "partial" else 200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Cache-Control", "no-store")
        if mode in ("nolength", "cut", "cutreset", "endless"):
            self.send_header("Connection", "close")
        elif mode == "empty":
            self.send_header("Content-Length", "0")
        elif mode == "partial":
            self.send_header("Content-Length", str(len(half)))
        elif mode == "longlength":
            self.send_header("Content-Length", str(len(data)).zfill(300))
        else:
            self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.close_connection = mode is not None
        if mode in ("short", "drop", "cut", "cutreset", "partial", "longlength"):
            self.wfile.write(half)
            if mode in ("drop", "cutreset"):
                self.reset()
            return
        if mode == "stall":
            return self.hold()
        if mode in ("drip", "trickle"):
            piece = 1 if mode == "drip" else TRICKLE_BYTES
            deadline = time.monotonic() + HOLD_S
            for offset in range(0, len(data), piece):
                if time.monotonic() > deadline:
                    return
                self.wfile.write(data[offset : offset + piece])
                self.wfile.flush()
                time.sleep(delay)
            return
        if mode == "endless":
            self.wfile.write(data)
            self.connection.settimeout(HOLD_S)
            deadline = time.monotonic() + HOLD_S
            try:
                while time.monotonic() < deadline:
                    self.wfile.write(bytes(PIECE))
            except OSError:
                pass
            return
        if mode == "empty":
            return
        if delay:
            for offset in range(0, len(data), PIECE):
                self.wfile.write(data[offset : offset + PIECE])
                self.wfile.flush()
                time.sleep(delay)
            return
        self.wfile.write(data)


MISBEHAVIOURS = ("short", "nolength", "drop", "cut", "cutreset", "chunked", "chunkcut", "chunkmid",
                 "chunkgarbage", "chunkendless", "empty", "partial", "longlength", "http09", "stall",
                 "endless")


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, root, port, keys=None):
        self.root = Path(root).resolve()
        self.keys = Path(keys) if keys else None
        super().__init__(("127.0.0.1", port), Handler)


def serve(args):
    server = Server(args.root, args.port, args.keys)
    port = server.server_address[1]
    if args.port_file:
        background_server.write_state(args.port_file, port)
    else:
        print("serving %s on http://127.0.0.1:%d/" % (server.root, port), flush=True)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    server.serve_forever()


def start(args):
    Path(args.root).mkdir(parents=True, exist_ok=True)
    command = [sys.executable, __file__, "serve", "--root", args.root, "--port-file", args.state]
    if args.keys:
        command += ["--keys", args.keys]
    return background_server.start("update server", command, args.state)


def stop(args):
    return background_server.stop(args.state)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    serve_parser = commands.add_parser("serve")
    serve_parser.add_argument("--root", required=True)
    serve_parser.add_argument("--keys")
    serve_parser.add_argument("--port", type=int, default=0)
    serve_parser.add_argument("--port-file")
    start_parser = commands.add_parser("start")
    start_parser.add_argument("--root", required=True)
    start_parser.add_argument("--keys")
    start_parser.add_argument("--state", required=True)
    stop_parser = commands.add_parser("stop")
    stop_parser.add_argument("--state", required=True)
    args = parser.parse_args()
    return {"serve": serve, "start": start, "stop": stop}[args.command](args) or 0


if __name__ == "__main__":
    sys.exit(main())
