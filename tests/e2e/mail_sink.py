"""A real SMTP server for the tests: aiosmtpd on 127.0.0.1 keeping every
message it accepts."""
import aiosmtpd.controller


class Sink:
    """Keeps every message the server accepts."""

    def __init__(self):
        self.envelopes = []

    async def handle_DATA(self, server, session, envelope):
        self.envelopes.append(envelope)
        return "250 Message accepted for delivery"


class Controller(aiosmtpd.controller.Controller):
    """aiosmtpd's server on 127.0.0.1 at a port the system picks as it binds: no other
    program can take the port between choosing and binding. `port` is the one it holds
    once start() has returned."""

    def __init__(self, handler, **options):
        super().__init__(handler, hostname="127.0.0.1", port=0, **options)

    def _trigger_server(self):
        # start() calls this once the server listens, to make its first connection.
        self.port = self.server.sockets[0].getsockname()[1]
        super()._trigger_server()
