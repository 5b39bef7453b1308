#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A small HTTP server on loopback for tests of the update transfers.

Prints the port it listens on as the first line of standard output, then
serves until it is ended. Every request is appended to the log file as
"METHOD TARGET", the target as the client sent it.

Origin mode (default), by the first part of the path:
  /files/<path>      the file <root>/<path>; HEAD answers its Content-Length
  /nohead/<path>     like /files, but HEAD is refused with 405
  /missing/<path>    404
  /redirect/<path>   302 to /files/<path>
  /stall/<path>      HEAD like /files; GET sends the headers and the first
                     bytes of the file, then stalls until the client leaves
Proxy mode (--proxy): every request must carry an absolute http address; it is
logged and forwarded to its origin, and the answer is passed back.
"""
import argparse
import http.client
import http.server
import os
import sys
import time
import urllib.parse

STALL_LIMIT_SECONDS = 60


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
        if self.server.proxy:
            self.forward()
        else:
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
        if kind not in ("files", "nohead", "stall"):
            return self.send_bodyless(404)
        file_path = os.path.join(self.server.root, urllib.parse.unquote(rest))
        try:
            with open(file_path, "rb") as f:
                body = f.read()
        except OSError:
            return self.send_bodyless(404)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command == "HEAD":
            return
        if kind == "stall":
            self.wfile.write(body[: len(body) // 2])
            self.wfile.flush()
            self.stall()
            return
        self.wfile.write(body)

    def stall(self):
        self.close_connection = True
        deadline = time.monotonic() + STALL_LIMIT_SECONDS
        while time.monotonic() < deadline:
            time.sleep(0.05)

    def forward(self):
        target = urllib.parse.urlsplit(self.path)
        if target.scheme != "http":
            return self.send_bodyless(400)
        connection = http.client.HTTPConnection(target.hostname, target.port or 80, timeout=30)
        path = target.path + ("?" + target.query if target.query else "")
        connection.request(self.command, path or "/", headers={"Host": target.netloc})
        answer = connection.getresponse()
        body = answer.read()
        self.send_response(answer.status)
        for name, value in answer.getheaders():
            if name.lower() not in ("connection", "transfer-encoding", "content-length"):
                self.send_header(name, value)
        self.send_header("Via", "1.1 test-proxy")
        self.send_header("Content-Length", str(len(body)) if self.command != "HEAD"
                         else answer.getheader("Content-Length", "0"))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)
        connection.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", default=".")
    parser.add_argument("--log", required=True)
    parser.add_argument("--proxy", action="store_true")
    args = parser.parse_args()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.root = args.root
    server.log_path = args.log
    server.proxy = args.proxy
    print(server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
