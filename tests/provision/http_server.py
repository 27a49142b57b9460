#!/usr/bin/env python3
"""Loopback HTTP(S) server for the download tests and benchmarks.

Serves the files of --root by name, plus a few routes that misbehave on purpose. Prints
"PORTS <http> <https>" once listening (https is 0 without --cert) and runs until killed.
"""
import argparse
import http.server
import os
import shutil
import socketserver
import ssl
import sys
import threading
import time


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    root = "."

    def log_message(self, *args):
        pass

    def do_HEAD(self):
        self.route(send_body=False)

    def do_GET(self):
        self.route(send_body=True)

    def head(self, status, headers):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()

    def route(self, send_body):
        path = self.path.split("?", 1)[0]
        special = {
            "/redirect/1": lambda: self.redirect("/redirect/2", 11),
            "/redirect/2": lambda: self.redirect("/redirect/final.bin", 22),
            "/redirect/final.bin": lambda: self.body(b"x" * 33, send_body),
            "/nolength.bin": lambda: self.unannounced(send_body, slow=False),
            "/slow-nolength.bin": lambda: self.unannounced(send_body, slow=True),
            "/slow.bin": lambda: self.slow(send_body),
            "/cut.bin": lambda: self.cut(send_body),
        }
        if path in special:
            special[path]()
            return
        self.file(path, send_body)

    def redirect(self, target, length):
        self.head(302, [("Location", target), ("Content-Length", str(length))])
        self.wfile.write(b"r" * length if self.command == "GET" else b"")

    def body(self, data, send_body):
        self.head(200, [("Content-Length", str(len(data)))])
        if send_body:
            self.wfile.write(data)

    def unannounced(self, send_body, slow):
        # No length: the body ends when the connection closes.
        self.close_connection = True
        self.head(200, [("Connection", "close")])
        if not send_body:
            return
        for _ in range(8 if slow else 1):
            self.wfile.write(b"n" * 4096)
            self.wfile.flush()
            if slow:
                time.sleep(0.08)

    def slow(self, send_body):
        piece = b"s" * 4096
        self.head(200, [("Content-Length", str(len(piece) * 8))])
        if not send_body:
            return
        for _ in range(8):
            self.wfile.write(piece)
            self.wfile.flush()
            time.sleep(0.08)

    def cut(self, send_body):
        self.close_connection = True
        self.head(200, [("Content-Length", "100000")])
        if send_body:
            self.wfile.write(b"c" * 1000)
            self.wfile.flush()

    def file(self, path, send_body):
        name = os.path.normpath(path.lstrip("/"))
        full = os.path.join(self.root, name)
        if name.startswith("..") or not os.path.isfile(full):
            data = b"<html>not found</html>"
            self.head(404, [("Content-Length", str(len(data)))])
            if send_body:
                self.wfile.write(data)
            return
        size = os.path.getsize(full)
        self.head(200, [("Content-Length", str(size))])
        if send_body:
            with open(full, "rb") as f:
                try:
                    self.wfile.flush()
                    self.connection.sendfile(f)
                except (AttributeError, ValueError, OSError):
                    shutil.copyfileobj(f, self.wfile, 1 << 20)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        pass  # clients that hang up early (the HTTPS refusal, the cut transfer) are expected


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()
    Handler.root = os.path.abspath(args.root)
    plain = Server(("127.0.0.1", 0), Handler)
    servers = [plain]
    https_port = 0
    if args.cert:
        secure = Server(("127.0.0.1", 0), Handler)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        secure.socket = context.wrap_socket(secure.socket, server_side=True)
        servers.append(secure)
        https_port = secure.server_address[1]
    for server in servers[1:]:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    print("PORTS %d %d" % (plain.server_address[1], https_port), flush=True)
    plain.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
