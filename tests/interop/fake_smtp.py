#!/usr/bin/env python3
"""A scripted SMTP server for the client's edge cases.

Serves one connection on 127.0.0.1 (free port, printed on the first line of
standard output) following the named scenario, writes every line it received
to the transcript file, and exits. Every socket wait is bounded, so the
script ends by itself even when the client never comes.
"""

import argparse
import socket
import ssl
import sys
import time

LONG_TEXT = "x" * 4996


class Peer:
    def __init__(self, conn, transcript):
        self.conn = conn
        self.transcript = transcript
        self.buffer = b""

    def send(self, text):
        self.conn.sendall(text.encode("latin-1"))

    def line(self):
        while b"\n" not in self.buffer:
            chunk = self.conn.recv(65536)
            if not chunk:
                raise EOFError
            self.buffer += chunk
        line, _, self.buffer = self.buffer.partition(b"\n")
        text = line.rstrip(b"\r").decode("latin-1")
        self.transcript.write(text + "\n")
        self.transcript.flush()
        return text

    def read_data(self):
        while True:
            if self.line() == ".":
                return


def converse(peer, scenario):
    """The usual dialogue, with the replies the scenario changes."""
    rcpt_count = 0
    while True:
        command = peer.line()
        verb = command[:4].upper()
        if verb == "HELO":
            peer.send("250 fake\r\n")
        elif verb == "EHLO":
            if "ehlo_500" in scenario:
                peer.send("500 Command not recognized\r\n")
            else:
                peer.send("250-fake\r\n250 AUTH LOGIN\r\n")
        elif verb == "AUTH":
            peer.send("334 VXNlcm5hbWU6\r\n")
            peer.line()
            peer.send("334 UGFzc3dvcmQ6\r\n")
            peer.line()
            peer.send("235 Authentication successful\r\n")
        elif verb == "MAIL":
            if "long_error" in scenario:
                peer.send("550 " + LONG_TEXT + "\r\n")
            else:
                peer.send("250 OK\r\n")
        elif verb == "RCPT":
            rcpt_count += 1
            refused = "no_recipients" in scenario or (
                "mixed_recipients" in scenario and rcpt_count == 1)
            peer.send("550 No such user\r\n" if refused else "250 OK\r\n")
        elif verb == "DATA":
            peer.send("354 End data with <CR><LF>.<CR><LF>\r\n")
            if "close_after_data" in scenario:
                return
            peer.read_data()
            peer.send("250 Queued\r\n")
        elif verb == "QUIT":
            if "quit_odd" in scenario:
                peer.send("500 odd\r\n")
            elif "quit_silent" not in scenario:
                peer.send("221 Bye\r\n")
            return
        else:
            peer.send("502 Command not implemented\r\n")


def greet(peer, scenario):
    if "trickle" in scenario:
        # One byte at a time, each well within a client's wait, for seconds.
        for char in "220 " + "x" * 40:
            peer.send(char)
            time.sleep(0.2)
        peer.send("\r\n")
    elif "multiline_greeting" in scenario:
        peer.send("220-fake.test first line\r\n220-second line\r\n220 ready\r\n")
    elif "long_greeting" in scenario:
        peer.send("220 " + LONG_TEXT + "\r\n")
    else:
        peer.send("220 fake.test ready\r\n")


def serve_client(peer, scenario):
    if "silent" in scenario:
        # Say nothing; wait until the client gives up and closes.
        try:
            peer.line()
        except (EOFError, OSError):
            pass
        return
    if "close_mid_reply" in scenario:
        peer.send("220-fake.test hello\r\n220 still talk")
        return
    greet(peer, scenario)
    converse(peer, scenario)


def main():
    parser = argparse.ArgumentParser()
    # One or more scenario names separated by commas, e.g. "no_recipients,quit_odd".
    parser.add_argument("--scenario", required=True)
    parser.add_argument("--transcript", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--lifetime", type=float, default=20)
    args = parser.parse_args()

    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    listener.settimeout(args.lifetime)
    print(listener.getsockname()[1], flush=True)
    with open(args.transcript, "w", encoding="latin-1") as transcript:
        try:
            conn, _ = listener.accept()
        except socket.timeout:
            return 1
        conn.settimeout(args.lifetime)
        try:
            if args.cert:
                tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
                tls.load_cert_chain(args.cert, args.key)
                conn = tls.wrap_socket(conn, server_side=True)
            serve_client(Peer(conn, transcript), set(args.scenario.split(",")))
        except (EOFError, OSError, ssl.SSLError) as error:
            transcript.write("<server: %s>\n" % type(error).__name__)
        finally:
            conn.close()
    listener.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
