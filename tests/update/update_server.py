#!/usr/bin/env python3
# Update server for the updater tests.
#
# Usage: update_server.py REQUEST_LOG
# Prints the port it listens on (127.0.0.1) as its first line, then serves
# until killed. Every request path, query included, is appended to
# REQUEST_LOG before the answer goes out. Every answer closes its connection.
#
# The first path segment picks the behaviour; the file asked for is the last
# segment ("..._update.xml" is the control file, anything else the installer):
#   /ctl/<version>/<md5>/  control file with that version ("none": no version
#                          element) and md5 "right", "upper", "wrong" or "none";
#                          the installer as it is
#   /missing/              404 for everything
#   /badxml/               a control file that is not well-formed XML
#   /noinstaller/          a newer control file, but 404 for the installer
#   /truncated/            a newer control file; the installer breaks off early
#   /slow/                 a newer control file; the installer sent in small
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
NEWER = ("noinstaller", "truncated", "slow", "huge")
# How each kind sends the installer: the bytes, the length it announces, the pieces.
INSTALLERS = {"ctl": (INSTALLER, len(INSTALLER), 1),
              "slow": (INSTALLER, len(INSTALLER), 6),
              "truncated": (INSTALLER[:1000], len(INSTALLER), 1),
              "huge": (INSTALLER[:65536], 256 * 1024 * 1024 + 1, 1)}


def control_file(version, md5):
    children = ["<name>Vorn-MIDI Connector</name>"]
    if version != "none":
        children.append("<version>%s</version>" % version)
    digests = {"right": INSTALLER_MD5, "upper": INSTALLER_MD5.upper(), "wrong": "0" * 32}
    if md5 in digests:
        children.append("<md5> %s </md5>" % digests[md5])
    return ('<?xml version="1.0"?>\n<Application>\n  %s\n</Application>\n'
            % "\n  ".join(children)).encode()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    # `body` in `pieces` with pauses between them, announced as `length`
    # bytes (the body's own length for -1, no length at all for None).
    def send(self, body, length=-1, pieces=1, status=200, headers=()):
        self.close_connection = True
        self.send_response(status)
        for name, value in headers + (("Connection", "close"),):
            self.send_header(name, value)
        if length is not None:
            self.send_header("Content-Length", str(len(body) if length == -1 else length))
        self.end_headers()
        step = len(body) // pieces + 1
        for start in range(0, len(body), step):
            self.wfile.write(body[start:start + step])
            self.wfile.flush()
            if pieces > 1:
                time.sleep(0.3)

    def do_GET(self):
        with open(self.server.request_log, "a") as log:
            log.write(self.path + "\n")
        parts = [p for p in self.path.split("?", 1)[0].split("/") if p]
        kind, name = parts[0], parts[-1]
        control = name.endswith("_update.xml")
        if kind == "never":
            time.sleep(3600)
        elif kind == "redirect":
            port = self.server.server_address[1]
            targets = {"same": "/ctl/9.9.9/right/%s" % name,
                       "other": "http://localhost:%d/ctl/9.9.9/right/%s" % (port, name),
                       "https": "https://127.0.0.1:1/%s" % name}
            self.send(b"", status=302, headers=(("Location", targets[parts[1]]),))
        elif not control and kind in INSTALLERS:
            self.send(*INSTALLERS[kind])
        elif control and kind == "ctl":
            self.send(control_file(parts[1], parts[2]))
        elif control and kind == "badxml":
            self.send(b"<Application><version>9.9.9</version>")
        elif control and kind in NEWER:
            self.send(control_file("9.9.9", "right"))
        elif control and kind == "big":
            # Padded to its size with an XML comment.
            body = control_file("1.1.5", "right")
            body += b"<!--" + b"x" * (int(parts[1]) - len(body) - 7) + b"-->"
            self.send(body, len(body) if parts[2] == "length" else None)
        else:
            self.send_error(404, "Not Found")


if __name__ == "__main__":
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.request_log = sys.argv[1]
    print(server.server_address[1], flush=True)
    server.serve_forever()
