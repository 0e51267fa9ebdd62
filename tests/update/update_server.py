#!/usr/bin/env python3
# Update server for the updater tests.
#
# Usage: update_server.py REQUEST_LOG
# Prints the port it listens on (127.0.0.1) as its first line, then serves
# until killed. Every request path, query included, is appended to
# REQUEST_LOG before the answer goes out.
#
# The first path segment picks the behaviour; the file asked for is the last
# segment ("..._update.xml" is the control file, "..._setup.exe" the installer):
#   /ctl/<version>/<md5>/  control file with that version ("none": no version
#                          element) and md5 "right", "upper", "wrong" or "none";
#                          the installer as it is
#   /missing/              404 for everything
#   /badxml/               a control file that is not well-formed XML
#   /noinstaller/          a newer control file, but 404 for the installer
#   /truncated/            a newer control file; the installer breaks off early
#   /slow/                 like /ctl/9.9.9/right/, the installer sent in small
#                          pieces with short pauses
#   /never/                accepts the request and never answers
#   /big/<bytes>/<how>/    a control file of exactly <bytes> bytes (version 1.1.5),
#                          sent with its length ("length") or without, up to the
#                          end of the connection ("stream")
#   /huge/                 a newer control file; the installer announces 256 MiB + 1
#   /redirect/<where>/     302 for everything, to the same file under /ctl/9.9.9/right/
#                          on this server ("same", a relative Location), on
#                          "localhost" ("other"), or over https on port 1 ("https")
import hashlib
import http.server
import sys
import time

INSTALLER = b"MZ" + bytes(range(256)) * 400
INSTALLER_MD5 = hashlib.md5(INSTALLER).hexdigest()


def control_file(version, md5):
    children = ["<name>Vorn-MIDI Connector</name>"]
    if version != "none":
        children.append("<version>%s</version>" % version)
    digests = {"right": INSTALLER_MD5, "upper": INSTALLER_MD5.upper(),
               "wrong": "0" * 32}
    if md5 in digests:
        children.append("<md5> %s </md5>" % digests[md5])
    return ('<?xml version="1.0"?>\n<Application>\n  %s\n</Application>\n'
            % "\n  ".join(children)).encode()


def padded(body, size):
    """`body` followed by an XML comment that makes it `size` bytes long."""
    return body + b"<!--" + b"x" * (size - len(body) - 7) + b"-->"


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send_body(self, body, status=200, declared=None):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(declared or len(body)))
        self.end_headers()
        self.wfile.write(body)
        self.wfile.flush()

    def do_GET(self):
        with open(self.server.request_log, "a") as log:
            log.write(self.path + "\n")
        path = self.path.split("?", 1)[0]
        parts = [p for p in path.split("/") if p]
        kind, name = parts[0], parts[-1]
        is_control = name.endswith("_update.xml")
        if kind == "never":
            time.sleep(3600)
        elif kind == "ctl" and len(parts) == 4:
            self.send_body(control_file(parts[1], parts[2]) if is_control else INSTALLER)
        elif kind == "badxml" and is_control:
            self.send_body(b"<Application><version>9.9.9</version>")
        elif kind == "noinstaller" and is_control:
            self.send_body(control_file("9.9.9", "right"))
        elif kind == "truncated":
            if is_control:
                self.send_body(control_file("9.9.9", "right"))
            else:
                self.send_body(INSTALLER[:1000], declared=len(INSTALLER))
                self.close_connection = True
        elif kind == "big" and len(parts) == 4:
            body = padded(control_file("1.1.5", "right"), int(parts[1]))
            if parts[2] == "length":
                self.send_body(body)
            else:
                self.send_unannounced(body)
        elif kind == "huge":
            if is_control:
                self.send_body(control_file("9.9.9", "right"))
            else:
                self.send_body(INSTALLER[:65536], declared=256 * 1024 * 1024 + 1)
                self.close_connection = True
        elif kind == "redirect" and len(parts) == 3:
            self.send_redirect(parts[1], name)
        elif kind == "slow":
            if is_control:
                self.send_body(control_file("9.9.9", "right"))
            else:
                self.send_slowly(INSTALLER)
        else:
            self.send_error(404, "Not Found")

    def send_unannounced(self, body):
        self.send_response(200)
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)
        self.wfile.flush()
        self.close_connection = True

    def send_redirect(self, where, name):
        port = self.server.server_address[1]
        targets = {"same": "/ctl/9.9.9/right/%s" % name,
                   "other": "http://localhost:%d/ctl/9.9.9/right/%s" % (port, name),
                   "https": "https://127.0.0.1:1/%s" % name}
        self.send_response(302)
        self.send_header("Location", targets[where])
        self.send_header("Content-Length", "0")
        self.end_headers()

    def send_slowly(self, body):
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        pieces = 6
        step = len(body) // pieces + 1
        for start in range(0, len(body), step):
            self.wfile.write(body[start:start + step])
            self.wfile.flush()
            time.sleep(0.3)


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.request_log = sys.argv[1]
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
