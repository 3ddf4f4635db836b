"""A loopback SMTP server for the mail tests, on Debian's aiosmtpd.

Every message received is written into OUT: N.txt holds its From, To and
Subject headers, a blank line and its plain text body; N.html its HTML
body, when it has one; N-NAME holds the bytes of its attachment NAME;
N.eml the message as it came. OUT/max_concurrent holds the most messages
that were being received at once. The port is written to PORT_FILE once
the server listens.
"""

import argparse
import asyncio
import email
import email.policy
import os
import socket
import ssl
import sys
import time

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult


class Keeper:
    def __init__(self, out, delay):
        self.out = out
        self.delay = delay
        self.count = 0
        self.active = 0
        self.most = 0

    async def handle_DATA(self, server, session, envelope):
        self.active += 1
        self.most = max(self.most, self.active)
        with open(os.path.join(self.out, "max_concurrent"), "w") as f:
            f.write(str(self.most))
        await asyncio.sleep(self.delay)
        self.count += 1
        n = self.count
        with open(os.path.join(self.out, "%d.eml" % n), "wb") as f:
            f.write(envelope.content)
        message = email.message_from_bytes(envelope.content, policy=email.policy.default)
        body = message.get_body(preferencelist=("plain",))
        with open(os.path.join(self.out, "%d.txt" % n), "w") as f:
            f.write("From: %s\nTo: %s\nSubject: %s\n\n" % (message["From"], message["To"], message["Subject"]))
            f.write(body.get_content() if body is not None else "")
        html = message.get_body(preferencelist=("html",))
        if html is not None:
            with open(os.path.join(self.out, "%d.html" % n), "w") as f:
                f.write(html.get_content())
        for part in message.iter_attachments():
            with open(os.path.join(self.out, "%d-%s" % (n, part.get_filename())), "wb") as f:
                f.write(part.get_payload(decode=True))
        self.active -= 1
        return "250 OK"


def refuse(server, session, envelope, mechanism, auth_data):
    return AuthResult(success=False, handled=False)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("port_file")
    parser.add_argument("out")
    parser.add_argument("--delay", type=float, default=0)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--refuse-login", action="store_true")
    args = parser.parse_args()

    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()

    options = {}
    if args.cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.cert, args.key)
        options["tls_context"] = context
    if args.refuse_login:
        options["authenticator"] = refuse
        options["auth_require_tls"] = True
    controller = Controller(Keeper(args.out, args.delay), hostname="127.0.0.1", port=port,
                            server_hostname="localhost", **options)
    controller.start()
    with open(args.port_file + ".tmp", "w") as f:
        f.write(str(port))
    os.rename(args.port_file + ".tmp", args.port_file)
    parent = os.getppid()
    try:
        # The test stops the server; should the test die first, it goes too.
        while os.getppid() == parent:
            time.sleep(0.2)
    finally:
        controller.stop()


if __name__ == "__main__":
    sys.exit(main())
