"""A real SMTP server for the tests: aiosmtpd on 127.0.0.1 keeping every
message it accepts."""
import socket


class Sink:
    """Keeps every message the server accepts."""

    def __init__(self):
        self.envelopes = []

    async def handle_DATA(self, server, session, envelope):
        self.envelopes.append(envelope)
        return "250 Message accepted for delivery"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]
