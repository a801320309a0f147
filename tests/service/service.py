#!/usr/bin/env python3
"""A small stand-in for the maker's web service, for tests and local runs.

It listens on 127.0.0.1 only. Paths:

  product.php?company=C&software=S&version=V
      The product record of C/S from records/*.txt (unknown product: an
      empty record, which means "not listed"). $HOST in a record stands for
      the host:port the client asked for, so that a record can name the
      service's own downloads.
  supportcontact.php?p_softwareid=ID
      The contact form. Sending it (POST, or GET with a message parameter)
      gives the thank-you page "Thank you for using <host>", where <host> is
      the host:port the client asked for.
  customerinfo.php
      A page about the service.
  download/[LABEL/...]NAME
      The file NAME from a download directory (every --files DIR); a
      missing NAME of the form <digits>.bin is generated on the fly with
      that many bytes (byte i is i mod 251). The labels before NAME only
      tell requests apart in the counts below, except three: pace-MS sends
      the body in 20 pieces spread over MS milliseconds, cut sends half
      of it and then hangs up, and stall sends half of it and then nothing
      more, keeping the connection open until the client closes it (at
      most STALL_SECONDS).
  counts/PATH           "requests=N\nmost-at-once=M\n": the GET requests of
                        /PATH (query left out) so far, and the most of them
                        that were in progress at once; with ?reset, counting
                        starts afresh after this answer
  fault/zero            a body of five bytes with a zero byte in the middle
  fault/status/CODE     an HTML page with that HTTP status
  fault/slow/SECONDS    the headers at once, the body after SECONDS
  fault/cut/BYTES       announces BYTES, sends half of them, then hangs up
  anything else         404 with an HTML page

Usage: service.py [--port N] [--port-file FILE] [--files DIR]...
Port 0 (the default) picks a free port; the port is printed on standard
output and, with --port-file, written to FILE.
"""

import argparse
import html
import http.server
import os
import re
import socket
import socketserver
import sys
import threading
import time
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
RECORDS = os.path.join(HERE, "records")
RECORD_HEADER = b"brindlecode-record 1\n"
RECORD_END = b"end\n"
GENERATED_CHUNK = 1 << 20
PACED_PIECES = 20
STALL_SECONDS = 120


def generated_bytes(offset, count):
    """Bytes of the generated download: byte i is i mod 251 (never aligned
    with the read chunk size, so a lost or repeated chunk shows)."""
    pattern = bytes(range(251))
    start = offset % 251
    repeats = (start + count) // 251 + 1
    return (pattern * repeats)[start:start + count]


class Record:
    """A record file: directive lines start with '@', the rest is sent as
    the record's body, already in the wire form (key=value, escaped)."""

    def __init__(self, path):
        self.company = None
        self.software = None
        self.status = 200
        self.delay = 0.0
        self.cut = False
        self.stall = False
        self.drip = 0.0
        self.pad = 0
        self.raw = False
        self.body = b""
        with open(path, "rb") as f:
            for line in f.read().split(b"\n"):
                line = line.rstrip(b"\r")
                if line.startswith(b"@"):
                    self.directive(line[1:].decode("latin-1"))
                elif line:
                    self.body += line + b"\n"

    def directive(self, text):
        name, _, value = text.partition(" ")
        if name == "company":
            self.company = value
        elif name == "software":
            self.software = value
        elif name == "status":
            self.status = int(value)
        elif name == "delay":
            self.delay = float(value)
        elif name == "cut":
            self.cut = True
        elif name == "stall":
            self.stall = True
        elif name == "drip":
            self.drip = float(value)
        elif name == "pad":
            self.pad = int(value)
        elif name == "raw":
            self.raw = True

    def reply(self, host):
        body = self.body.replace(b"$HOST", host.encode("latin-1"))
        return body if self.raw else RECORD_HEADER + body + RECORD_END


def find_record(company, software):
    for name in sorted(os.listdir(RECORDS)):
        if not name.endswith(".txt"):
            continue
        record = Record(os.path.join(RECORDS, name))
        if record.company == company and record.software == software:
            return record
    return None


class Counts:
    """Requests per path, and the most of them in progress at once."""

    def __init__(self):
        self.lock = threading.Lock()
        self.requests = {}
        self.active = {}
        self.most = {}

    def start(self, path):
        with self.lock:
            self.requests[path] = self.requests.get(path, 0) + 1
            self.active[path] = self.active.get(path, 0) + 1
            self.most[path] = max(self.most.get(path, 0), self.active[path])

    def finish(self, path):
        with self.lock:
            self.active[path] -= 1

    def report(self, path, reset):
        with self.lock:
            text = "requests=%d\nmost-at-once=%d\n" % (self.requests.get(path, 0),
                                                        self.most.get(path, 0))
            if reset:
                self.requests[path] = 0
                self.most[path] = self.active.get(path, 0)
            return text


class Request:
    """One counted request: in progress until finish(), which a sender may
    call before its last piece goes out, so that a client cannot start its
    next request while this one still counts."""

    def __init__(self, counts, path):
        self.counts = counts
        self.path = path
        self.done = False
        counts.start(path)

    def finish(self):
        if not self.done:
            self.done = True
            self.counts.finish(self.path)


def page(title, body):
    return ("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">"
            "<html><head><title>%s</title></head><body>%s</body></html>"
            % (title, body)).encode("latin-1")


class Handler(http.server.BaseHTTPRequestHandler):
    server_version = "BrindlecodeTestService/1"
    protocol_version = "HTTP/1.1"

    def log_message(self, format, *args):
        pass

    def host(self):
        """The host:port the client addressed, as the library names it."""
        host = self.headers.get("Host") or "127.0.0.1:%d" % self.server.server_port
        return html.escape(host)

    def query(self):
        parts = urllib.parse.urlsplit(self.path)
        args = urllib.parse.parse_qs(parts.query, keep_blank_values=True,
                                     encoding="latin-1")
        return parts.path.lstrip("/"), {k: v[0] for k, v in args.items()}

    def send(self, status, body, content_type="text/html", length=None):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body) if length is None else length))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path, args = self.query()
        if path.startswith("counts/"):
            report = self.server.counts.report("/" + path[len("counts/"):], "reset" in args)
            self.send(200, report.encode(), "text/plain")
            return
        self.request_count = Request(self.server.counts, "/" + path)
        try:
            self.route(path, args)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True
        finally:
            self.request_count.finish()

    def do_POST(self):
        path, args = self.query()
        length = int(self.headers.get("Content-Length") or 0)
        form = urllib.parse.parse_qs(self.rfile.read(length).decode("latin-1"),
                                     keep_blank_values=True, encoding="latin-1")
        args.update({k: v[0] for k, v in form.items()})
        if path == "supportcontact.php":
            self.thank_you()
        else:
            self.not_found()

    def route(self, path, args):
        if path == "product.php":
            self.product(args)
        elif path == "supportcontact.php":
            if "message" in args:
                self.thank_you()
            else:
                self.contact_form(args.get("p_softwareid", ""))
        elif path == "customerinfo.php":
            self.send(200, page("Customer information",
                                "<h1>Software listing service</h1><p>%s lists software "
                                "products and passes support requests on to their "
                                "makers.</p>" % self.host()))
        elif path.startswith("download/"):
            self.download(path[len("download/"):])
        elif path.startswith("fault/"):
            self.fault(path[len("fault/"):])
        else:
            self.not_found()

    def not_found(self):
        self.send(404, page("Not found", "<h1>404 Not Found</h1><p>No such page.</p>"))

    def product(self, args):
        record = find_record(args.get("company", ""), args.get("software", ""))
        if record is None:
            self.send(200, RECORD_HEADER + RECORD_END, "text/plain")
            return
        time.sleep(record.delay)
        body = record.reply(self.headers.get("Host") or "127.0.0.1:%d" % self.server.server_port)
        if record.cut:
            self.cut_off(body, "text/plain")
        elif record.stall:
            self.stall(body, "text/plain")
        elif record.drip:
            self.send_dripped(body, record.drip)
        elif record.pad:
            self.send_padded(body, record.pad)
        elif record.status != 200:
            self.send(record.status, page("Error", "<h1>Error %d</h1>" % record.status))
        else:
            self.send(200, body, "text/plain")

    def contact_form(self, software_id):
        form = ("<h1>Contact support</h1>"
                "<form method=\"post\" action=\"supportcontact.php\">"
                "<input type=\"hidden\" name=\"p_softwareid\" value=\"%s\">"
                "<p>Your e-mail: <input type=\"text\" name=\"email\"></p>"
                "<p>Your message:<br><textarea name=\"message\" rows=\"8\" cols=\"60\">"
                "</textarea></p><p><input type=\"submit\" value=\"Send\"></p></form>"
                % html.escape(software_id))
        self.send(200, page("Contact support", form))

    def thank_you(self):
        self.send(200, page("Message sent", "<p>Thank you for using %s. Your message "
                                            "has been passed on.</p>" % self.host()))

    def download(self, path):
        *labels, name = path.split("/")
        for directory in self.server.file_dirs:
            file = os.path.join(directory, name)
            if name not in ("", ".", "..") and os.path.isfile(file):
                with open(file, "rb") as f:
                    self.send_file(f.read(), labels)
                return
        match = re.fullmatch(r"(\d{1,10})\.bin", name)
        if not match:
            self.not_found()
        elif labels:
            self.send_file(generated_bytes(0, int(match.group(1))), labels)
        else:
            self.send_generated(int(match.group(1)))

    def send_file(self, body, labels):
        pace = [int(l[len("pace-"):]) for l in labels if re.fullmatch(r"pace-\d{1,6}", l)]
        if "cut" in labels:
            self.cut_off(body, "application/octet-stream")
        elif "stall" in labels:
            self.stall(body)
        elif pace:
            self.send_paced(body, pace[0] / 1000.0)
        else:
            self.send(200, body, "application/octet-stream")

    def send_paced(self, body, seconds):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        for piece in range(PACED_PIECES):
            if piece + 1 == PACED_PIECES:
                self.request_count.finish()
            first = len(body) * piece // PACED_PIECES
            end = len(body) * (piece + 1) // PACED_PIECES
            self.wfile.write(body[first:end])
            self.wfile.flush()
            if piece + 1 < PACED_PIECES:
                time.sleep(seconds / PACED_PIECES)

    def stall(self, body, content_type="application/octet-stream"):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(body[:len(body) // 2])
        self.wfile.flush()
        self.request_count.finish()
        # The client's close (or anything it sends) ends the wait.
        self.connection.settimeout(STALL_SECONDS)
        try:
            while self.connection.recv(4096):
                pass
        except OSError:
            pass
        self.close_connection = True

    def send_dripped(self, body, seconds):
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        for i in range(len(body)):
            self.wfile.write(body[i:i + 1])
            self.wfile.flush()
            time.sleep(seconds)

    def send_padded(self, body, count):
        """The record's first line, then a value line of count bytes, then
        the rest; the padding goes out as it is made, never held whole."""
        head = RECORD_HEADER + b"n_copy="
        rest = b"\n" + body[len(RECORD_HEADER):]
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(head) + count + len(rest)))
        self.end_headers()
        self.wfile.write(head)
        for offset in range(0, count, GENERATED_CHUNK):
            self.wfile.write(b"x" * min(GENERATED_CHUNK, count - offset))
        self.wfile.write(rest)

    def send_generated(self, count):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(count))
        self.end_headers()
        for offset in range(0, count, GENERATED_CHUNK):
            self.wfile.write(generated_bytes(offset, min(GENERATED_CHUNK, count - offset)))

    def fault(self, name):
        kind, _, value = name.partition("/")
        if kind == "zero":
            self.send(200, b"ab\0cd", "application/octet-stream")
        elif kind == "status" and value.isdigit():
            self.send(int(value), page("Status %s" % value, "<h1>Status %s</h1>" % value))
        elif kind == "slow" and value.isdigit():
            body = b"slow reply"
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.flush()
            time.sleep(int(value))
            self.wfile.write(body)
        elif kind == "cut" and value.isdigit():
            self.cut_off(generated_bytes(0, int(value)), "application/octet-stream")
        else:
            self.not_found()

    def cut_off(self, body, content_type):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body[:len(body) // 2])
        self.wfile.flush()
        self.close_connection = True


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    # Tests of several shards connect at once.
    request_queue_size = 64


def main():
    parser = argparse.ArgumentParser(description="Local stand-in of the web service")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--files", action="append", default=[])
    options = parser.parse_args()

    server = Server(("127.0.0.1", options.port), Handler)
    server.file_dirs = [os.path.abspath(d) for d in options.files]
    server.counts = Counts()
    port = server.server_port
    print("port %d" % port, flush=True)
    if options.port_file:
        with open(options.port_file, "w") as f:
            f.write("%d\n" % port)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
