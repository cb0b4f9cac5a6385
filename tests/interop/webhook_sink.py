#!/usr/bin/env python3
"""A real HTTP(S) server for the web hook tests, on Python's http.server.

Listens on 127.0.0.1 on a free port, prints the port on the first line of
standard output and stores every POST in the given folder as postN.json: the
path, the content type, the body as received (UTF-8) and, when the body is
valid JSON, its parsed value. With --cert and --key it speaks HTTPS only.
--answer says how to reply: ok (204), fail (500), redirect (302) or never
(the request is read and no reply ever comes). Stops after --lifetime seconds.
"""

import argparse
import json
import os
import ssl
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


def make_handler(folder, answer, counter, lock):
    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.0"

        def log_message(self, *args):
            pass

        def do_POST(self):
            length = int(self.headers.get("Content-Length", "0"))
            raw = self.rfile.read(length)
            record = {"path": self.path, "content_type": self.headers.get("Content-Type"),
                      "body": raw.decode("utf-8", "replace")}
            try:
                record["parsed"] = json.loads(raw.decode("utf-8"))
                record["valid"] = True
            except ValueError as error:
                record["valid"] = False
                record["error"] = str(error)
            with lock:
                counter[0] += 1
                number = counter[0]
            base = os.path.join(folder, "post%d" % number)
            # Each text field of a JSON object also goes to a file of its own,
            # byte for byte, for the test to compare.
            parsed = record.get("parsed")
            if isinstance(parsed, dict):
                for key, value in parsed.items():
                    if isinstance(value, str) and key.isalnum():
                        with open("%s.%s" % (base, key), "w", encoding="utf-8",
                                  newline="") as out:
                            out.write(value)
            with open(base + ".body", "wb") as out:
                out.write(raw)
            # The whole file appears last and at once: it tells the test the post is in.
            with open(base + ".part", "w", encoding="utf-8") as out:
                json.dump(record, out)
            os.rename(base + ".part", base + ".json")
            if answer == "never":
                time.sleep(3600)
                return
            if answer == "fail":
                self.send_response(500, "Internal Server Error")
            elif answer == "redirect":
                self.send_response(302, "Found")
                self.send_header("Location", "http://127.0.0.1:9/elsewhere")
            else:
                self.send_response(204, "No Content")
            self.send_header("Content-Length", "0")
            self.end_headers()

    return Handler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--lifetime", type=float, default=60)
    parser.add_argument("--answer", default="ok", choices=["ok", "fail", "redirect", "never"])
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()

    counter = [0]
    lock = threading.Lock()
    server = ThreadingHTTPServer(("127.0.0.1", 0),
                                 make_handler(args.folder, args.answer, counter, lock))
    server.daemon_threads = True
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print(server.server_address[1], flush=True)
    threading.Timer(args.lifetime, server.shutdown).start()
    server.serve_forever()
    server.server_close()
    sys.stdout.flush()
    # Handlers that never answer are left behind with the process.
    os._exit(0)


if __name__ == "__main__":
    main()
