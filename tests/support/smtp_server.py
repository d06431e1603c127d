#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A real SMTP server for the mail tests, on a free loopback port.

Prints "port N" once it listens, then writes one JSON line per received
message to the --record file: the envelope, the decoded headers, the body
text, every attachment (file name decoded, bytes in base64) and the
authentication the client used. --login USER:PASSWORD requires AUTH LOGIN
(or PLAIN) with those credentials; --offer-auth advertises authentication
without requiring it; --starttls offers STARTTLS with a self-signed
certificate (made with openssl); --silent accepts connections and never
greets.
"""
import argparse
import base64
import json
import socket
import sys
import threading
import time


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def silent(port):
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(8)
    print("port", port, flush=True)
    held = []
    while True:
        connection, _ = listener.accept()
        held.append(connection)  # kept open, never a word


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--record", required=True)
    parser.add_argument("--login")
    parser.add_argument("--offer-auth", action="store_true")
    parser.add_argument("--silent", action="store_true")
    parser.add_argument("--starttls", action="store_true")
    args = parser.parse_args()
    port = free_port()
    if args.silent:
        silent(port)
        return

    from email import policy
    from email.parser import BytesParser
    from aiosmtpd.controller import Controller
    from aiosmtpd.smtp import AuthResult

    lock = threading.Lock()

    class Recorder:
        async def handle_DATA(self, server, session, envelope):
            message = BytesParser(policy=policy.default).parsebytes(envelope.original_content)
            body = message.get_body(preferencelist=("plain",))
            attachments = []
            for part in message.iter_attachments():
                attachments.append({
                    "filename": part.get_filename(),
                    "type": part.get_content_type(),
                    "data": base64.b64encode(part.get_payload(decode=True) or b"").decode(),
                })
            record = {
                "mail_from": envelope.mail_from,
                "rcpt_tos": envelope.rcpt_tos,
                "subject": str(message.get("Subject", "")),
                "headers": envelope.original_content.split(b"\r\n\r\n")[0].decode("ascii", "replace"),
                "from": str(message.get("From", "")),
                "to": str(message.get("To", "")),
                "date": str(message.get("Date", "")),
                "message_id": str(message.get("Message-ID", "")),
                "body": body.get_content() if body is not None else None,
                "attachments": attachments,
                "auth": getattr(session, "vigilo_login", None) if session.authenticated else None,
                "mechanism": getattr(session, "vigilo_mechanism", None),
            }
            with lock, open(args.record, "a", encoding="utf-8") as out:
                out.write(json.dumps(record) + "\n")
            return "250 OK"

    def authenticator(server, session, envelope, mechanism, auth_data):
        session.vigilo_mechanism = mechanism
        user, _, password = (args.login or ":").partition(":")
        ok = auth_data.login.decode() == user and auth_data.password.decode() == password
        if ok:
            session.vigilo_login = user
        # handled=False: the server answers the failure itself, or the client hangs.
        return AuthResult(success=ok, handled=False)

    options = {}
    if args.login or args.offer_auth:
        options = dict(authenticator=authenticator, auth_required=bool(args.login), auth_require_tls=False)
    if args.starttls:
        import os
        import ssl
        import subprocess
        import tempfile
        folder = tempfile.mkdtemp()
        cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                        "-subj", "/CN=127.0.0.1", "-keyout", key, "-out", cert],
                       check=True, capture_output=True)
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(cert, key)
        options["tls_context"] = context
        options["auth_require_tls"] = True
    controller = Controller(Recorder(), hostname="127.0.0.1", port=port, **options)
    controller.start()
    print("port", port, flush=True)
    try:
        while True:
            time.sleep(3600)
    finally:
        controller.stop()


if __name__ == "__main__":
    sys.exit(main())
