#!/usr/bin/env python3
"""A real SMTP server for the interop tests, built on aiosmtpd.

Listens on 127.0.0.1 on a free port, prints the port on the first line of
standard output and stores every accepted message in the given folder: the
received bytes in messageN.eml and the envelope in messageN.env. Stops on SIGTERM or after --lifetime seconds, whichever comes first.
"""

import argparse
import asyncio
import os
import signal
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class MessageSaver:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, "message%d" % self.count)
        with open(base + ".eml", "wb") as out:
            out.write(envelope.original_content)
        lines = ["greeting_name: %s" % session.host_name,
                 "extended: %s" % session.extended_smtp,
                 "authenticated: %s" % bool(session.authenticated),
                 "mail_from: %s" % envelope.mail_from]
        lines += ["rcpt_to: %s" % address for address in envelope.rcpt_tos]
        # The envelope file appears last and whole: it tells the test the message is in.
        with open(base + ".part", "w", encoding="utf-8") as out:
            out.write("\n".join(lines) + "\n")
        os.rename(base + ".part", base + ".env")
        return "250 Message accepted for delivery"


def make_authenticator(user, password):
    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = (mechanism == "LOGIN" and isinstance(auth_data, LoginPassword)
              and auth_data.login == user.encode() and auth_data.password == password.encode())
        # Not handled: the server answers a refusal with its own 535 reply.
        return AuthResult(success=ok, handled=False)
    return authenticate


async def serve(args):
    saver = MessageSaver(args.folder)
    tls = None
    if args.cert:
        tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        tls.load_cert_chain(args.cert, args.key)

    def make_session():
        options = {"decode_data": False, "hostname": "sink.test"}
        if args.user:
            options.update(authenticator=make_authenticator(args.user, args.password),
                           auth_required=True, auth_require_tls=False)
        return SMTP(saver, **options)

    loop = asyncio.get_running_loop()
    server = await loop.create_server(make_session, "127.0.0.1", 0, ssl=tls)
    print(server.sockets[0].getsockname()[1], flush=True)
    stop = asyncio.Event()
    loop.add_signal_handler(signal.SIGTERM, stop.set)
    try:
        await asyncio.wait_for(stop.wait(), timeout=args.lifetime)
    except asyncio.TimeoutError:
        pass
    server.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--user")
    parser.add_argument("--password", default="")
    parser.add_argument("--lifetime", type=float, default=60)
    asyncio.run(serve(parser.parse_args()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
