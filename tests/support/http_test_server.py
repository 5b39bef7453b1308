#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A small HTTP server on loopback for tests of the update transfers.

Prints the port it listens on as the first line of standard output, then
serves until it is ended. Every request is appended to the log file as
"METHOD TARGET", the target as the client sent it.

By the first part of the path:
  /files/<path>      the file <root>/<path>; HEAD answers its Content-Length
  /nohead/<path>     like /files, but HEAD is refused with 405
  /missing/<path>    404
  /redirect/<path>   302 to /files/<path>
  /stall/<path>      HEAD like /files; GET sends the headers and the first
                     bytes of the file, then stalls until the client leaves
  /hold/<path>       sends the first half of the file, then waits until a file
                     <path>.go appears in the root before it sends the rest
  /short/<path>      promises the file's length but sends only its first half,
                     then closes the connection
  /long/<path>       promises half the file's length but sends it whole
  /endless/<name>    no Content-Length; GET sends bytes until the client leaves
  /huge/<name>       promises a terabyte; GET sends bytes until the client leaves
  /error/<status>/<name>
                     answers that status (404, 500, 302...) without a length
                     and sends an error page until the client leaves
  /trickle/<path>    promises the file's length, then sends it one byte at a
                     time, one every "every" seconds of the query (default 20)
"""
import argparse
import http.server
import os
import sys
import time
import urllib.parse

STALL_LIMIT_SECONDS = 60
HOLD_LIMIT_SECONDS = 30
ENDLESS_LIMIT_BYTES = 1 << 32
HUGE_LENGTH = 1 << 40


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        pass

    def log_request_line(self):
        with open(self.server.log_path, "a", encoding="utf-8") as log:
            log.write(f"{self.command} {self.path}\n")

    def do_HEAD(self):
        self.handle_any()

    def do_GET(self):
        self.handle_any()

    def handle_any(self):
        self.log_request_line()
        self.serve()

    def send_bodyless(self, status, headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def serve(self):
        path = urllib.parse.urlsplit(self.path).path
        kind, _, rest = path.lstrip("/").partition("/")
        if kind == "missing":
            return self.send_bodyless(404)
        if kind == "redirect":
            return self.send_bodyless(302, [("Location", "/files/" + rest)])
        if kind == "nohead" and self.command == "HEAD":
            return self.send_bodyless(405)
        if kind in ("endless", "huge"):
            return self.send_endless(kind == "huge")
        if kind == "error":
            return self.send_endless_error(int(rest.partition("/")[0]))
        if kind not in ("files", "nohead", "stall", "hold", "short", "long", "trickle"):
            return self.send_bodyless(404)
        file_path = os.path.join(self.server.root, urllib.parse.unquote(rest))
        try:
            with open(file_path, "rb") as f:
                body = f.read()
        except OSError:
            return self.send_bodyless(404)
        promised = len(body) // 2 if kind == "long" else len(body)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(promised))
        self.end_headers()
        if self.command == "HEAD":
            return
        if kind == "stall":
            self.wfile.write(body[: len(body) // 2])
            self.wfile.flush()
            self.stall()
            return
        if kind == "hold":
            self.wfile.write(body[: len(body) // 2])
            self.wfile.flush()
            self.wait_for(file_path + ".go")
            self.wfile.write(body[len(body) // 2 :])
            return
        if kind == "trickle":
            return self.trickle(body)
        if kind in ("short", "long"):
            self.close_connection = True
            body = body[: len(body) // 2] if kind == "short" else body
        self.wfile.write(body)

    def send_endless(self, promise_huge):
        self.close_connection = True
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Connection", "close")
        if promise_huge:
            self.send_header("Content-Length", str(HUGE_LENGTH))
        self.end_headers()
        if self.command == "HEAD":
            return
        chunk = b"x" * 65536
        sent = 0
        try:
            while sent < ENDLESS_LIMIT_BYTES:
                self.wfile.write(chunk)
                sent += len(chunk)
        except OSError:
            pass

    def send_endless_error(self, status):
        self.close_connection = True
        self.send_response(status)
        self.send_header("Content-Type", "text/html")
        self.send_header("Connection", "close")
        if 300 <= status < 400:
            self.send_header("Location", "/files/elsewhere")
        self.end_headers()
        if self.command == "HEAD":
            return
        chunk = b"<p>error</p>\n" * 4096
        sent = 0
        try:
            while sent < ENDLESS_LIMIT_BYTES:
                self.wfile.write(chunk)
                sent += len(chunk)
        except OSError:
            pass

    def trickle(self, body):
        self.close_connection = True
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(self.path).query)
        every = float(query.get("every", ["20"])[0])
        try:
            for i in range(len(body)):
                self.wfile.write(body[i : i + 1])
                self.wfile.flush()
                time.sleep(every)
        except OSError:
            pass

    @staticmethod
    def wait_for(path):
        deadline = time.monotonic() + HOLD_LIMIT_SECONDS
        while not os.path.exists(path) and time.monotonic() < deadline:
            time.sleep(0.01)

    def stall(self):
        self.close_connection = True
        deadline = time.monotonic() + STALL_LIMIT_SECONDS
        while time.monotonic() < deadline:
            time.sleep(0.05)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", default=".")
    parser.add_argument("--log", required=True)
    args = parser.parse_args()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.root = args.root
    server.log_path = args.log
    print(server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
