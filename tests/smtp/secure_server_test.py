"""TSmtpClient against a real server that requires TLS and authentication
(aiosmtpd on 127.0.0.1, reached as "localhost"), with certificates made here
and the test's authority trusted by the prefix.

Usage: secure_server_test.py BUILD_DIR   (inside scripts/wine-env.sh)
"""
import os
import shutil
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))
from harness import run_command  # noqa: E402
from mail_sink import Sink  # noqa: E402
from mail_tls import PASSWORD, USER, Certificates, secure_server  # noqa: E402
from real_server_test import (text_charset, check, check_attachments, run_main, run_tool,  # noqa: E402
                              windows_path, write_attachments)


def main():
    build = os.path.abspath(sys.argv[1])
    _, codec = text_charset(build)
    folder = tempfile.mkdtemp(prefix="mibor8-tls-")

    def driver(*args):
        code, output = run_command(["wine", os.path.join(build, "tests", "e2e_driver.exe"), *args])
        check(code == 0, "driver %s: %s" % (" ".join(args), output))

    try:
        certificates = Certificates(folder, driver)
        files = write_attachments(folder, codec)
        sink = Sink()

        def send(server, security, password=PASSWORD):
            try:
                return run_tool(build, "--host", "localhost", "--security", security, "--user", USER,
                                "--password", password, str(server.port), "attachments", windows_path(folder))
            finally:
                server.stop()

        # A document and its attachments arrive whole, over STARTTLS and over implicit TLS.
        for implicit, security in ((False, "starttls"), (True, "tls")):
            server = secure_server(sink, certificates.good, implicit=implicit)
            code, output = send(server, security)
            check(code == 0, "%s: %s" % (security, output))
            check(server.auth.attempts == [("PLAIN", True)], "%s: logins %r" % (security, server.auth.attempts))
            check_attachments(sink, folder, files)
        delivered = len(sink.envelopes)
        check(delivered == 2, "%d messages" % delivered)

        # Every refusal ends before the message; the certificates are refused
        # before any credentials are sent.
        refusals = [
            ("wrong password", dict(context=certificates.good), "starttls", "wrong", "[credentials]",
             [("PLAIN", False)]),
            ("another host's certificate", dict(context=certificates.other_host), "starttls", PASSWORD,
             "[wrong-host]", []),
            ("an unknown authority", dict(context=certificates.stranger, implicit=True), "tls", PASSWORD,
             "[untrusted]", []),
            ("an authority that bears the trusted one's name", dict(context=certificates.impostor), "starttls",
             PASSWORD, "[untrusted]", []),
            ("no STARTTLS offered", dict(context=certificates.good, starttls=False), "starttls", PASSWORD,
             "[starttls]", []),
        ]
        for name, options, security, password, kind, logins in refusals:
            server = secure_server(sink, **options)
            code, output = send(server, security, password)
            check(code != 0 and "failed " + kind in output, "%s: %s" % (name, output))
            check(server.auth.attempts == logins, "%s: logins %r" % (name, server.auth.attempts))
            check(len(sink.envelopes) == delivered, "%s: a message arrived" % name)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("secure server: both kinds of TLS delivered, every refusal refused")


if __name__ == "__main__":
    run_main(main)
