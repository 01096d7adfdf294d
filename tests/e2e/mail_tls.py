"""Secure SMTP servers for the tests: certificates made here with openssl, a
test authority that the prefix trusts, and aiosmtpd with STARTTLS or implicit
TLS and required authentication."""
import os
import ssl
import subprocess

from aiosmtpd.smtp import AuthResult, LoginPassword

from mail_sink import Controller

USER = "tester"
PASSWORD = "p\u00e4ss w\u00f6rd:42"


# Elliptic-curve keys: made in milliseconds, where RSA keys take a second each.
KEY = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1"]


def _openssl(folder, *args):
    subprocess.run(["openssl", *args], cwd=folder, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def _authority(folder, name, title):
    _openssl(folder, "req", "-x509", *KEY, "-nodes", "-keyout", name + ".key",
             "-out", name + ".pem", "-days", "30", "-subj", "/CN=Mibor8 test authority " + title,
             "-addext", "basicConstraints=critical,CA:TRUE",
             "-addext", "keyUsage=critical,keyCertSign,cRLSign")


def _server(folder, name, host, authority):
    with open(os.path.join(folder, name + ".ext"), "w") as f:
        f.write("subjectAltName=DNS:%s\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n"
                "keyUsage=critical,digitalSignature,keyEncipherment\n" % host)
    _openssl(folder, "req", *KEY, "-nodes", "-keyout", name + ".key", "-out", name + ".csr",
             "-subj", "/CN=" + host)
    _openssl(folder, "x509", "-req", "-in", name + ".csr", "-CA", authority + ".pem", "-CAkey", authority + ".key",
             "-CAcreateserial", "-out", name + ".pem", "-days", "30", "-extfile", name + ".ext")
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(os.path.join(folder, name + ".pem"), os.path.join(folder, name + ".key"))
    return context


class Certificates:
    """Server contexts: `good` for localhost from the trusted authority, `other_host`
    from it for another host name, `stranger` for localhost from an unknown one,
    `impostor` from an unknown one that bears the trusted one's name."""

    def __init__(self, folder, wine_driver):
        _authority(folder, "trusted", "one")
        _authority(folder, "unknown", "two")
        _authority(folder, "impostor", "one")
        self.good = _server(folder, "good", "localhost", "trusted")
        self.other_host = _server(folder, "other", "mail.other.example", "trusted")
        self.stranger = _server(folder, "stranger", "localhost", "unknown")
        self.impostor = _server(folder, "impostor-server", "localhost", "impostor")
        _openssl(folder, "x509", "-in", "trusted.pem", "-outform", "DER", "-out", "trusted.der")
        wine_driver("addroot", "Z:" + os.path.join(folder, "trusted.der").replace("/", "\\"))


class Authenticator:
    """Takes USER and the password; remembers every attempt."""

    def __init__(self, password):
        self.password = password
        self.attempts = []

    def __call__(self, server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword) and auth_data.login == USER.encode("utf-8")
              and auth_data.password == self.password.encode("utf-8"))
        self.attempts.append((mechanism, ok))
        # Not "handled": the server itself answers 235 or 535.
        return AuthResult(success=ok, handled=False)


def secure_server(sink, context, implicit=False, starttls=True, password=PASSWORD):
    """A started controller on 127.0.0.1 that requires authentication: STARTTLS with
    `context` (none offered when `starttls` is false), or TLS from the first byte."""
    auth = Authenticator(password)
    options = dict(authenticator=auth, auth_required=True)
    if implicit:
        # The whole connection is TLS: the server may offer AUTH from the start.
        options.update(ssl_context=context, auth_require_tls=False)
    elif starttls:
        options.update(tls_context=context, require_starttls=True)
    controller = Controller(sink, **options)
    controller.start()
    controller.auth = auth
    return controller
