"""Sending from the built editor through a server that requires STARTTLS and
authentication (aiosmtpd, its certificate from the test's own authority, which
the prefix trusts): the password typed on the E-mail page of the Preferences
window, the mail sent from the send window, and again after a restart."""
import email
import email.policy
import shutil
import tempfile

from harness import check, run, wait_for
from mail_sink import Sink
from mail_tls import USER, Certificates, secure_server

PASSWORD = "s3cret-e2e"
DOCUMENT = "C:\\mail\\letter.txt"


def field_beside(wine, window_class, caption):
    """The visible edit field on the line of the label with that caption."""
    label = wine.control(window_class, caption)["rect"]
    middle = label[1] + label[3] // 2
    fields = [c for c in wine.controls(window_class) if c["cls"] == "Edit" and "v" in c["flags"]
              and c["rect"][1] <= middle < c["rect"][1] + c["rect"][3]]
    check(len(fields) == 1, "%d fields beside %r" % (len(fields), caption))
    return fields[0]


def open_send_window(wine):
    wine.start(DOCUMENT)
    wine.keys("ctrl+alt+a")
    wine.wait_window("TForm8")
    wine.keys("Tab", title="^Send as e-mail")  # from the subject to "Send to:"
    wine.type_text("bob@example.com", title="^Send as e-mail")


def send_and_close(wine, sink, count):
    wine.driver("click", "TForm8", "Send")
    check(wait_for(lambda: len(sink.envelopes) == count, 120), "no mail arrived")
    wine.wait_for_status("Mail delivered!", 60)
    wine.driver("click", "TForm8", "Close")
    wine.driver("gone", "TForm8")
    wine.close_main_window()


def the_send_window_sends_through_starttls_with_the_stored_password(wine):
    folder = tempfile.mkdtemp(prefix="mibor8-e2e-tls-")
    sink = Sink()
    server = None
    try:
        certificates = Certificates(folder, wine.driver)
        server = secure_server(sink, certificates.good, password=PASSWORD)
        wine.reg_delete_key()
        wine.start()
        wine.close_main_window()
        for name, value in {"SMTPServer": "localhost", "Port": str(server.port), "id": USER, "Name": "Ann Smith",
                            "Email": "ann@example.com", "Security": "1"}.items():
            wine.reg_set(name, value)
        wine.write_file(DOCUMENT, "Dear Bob,\r\nsent over TLS.\r\n")

        # The password goes in on the E-mail page, opened from the send window.
        open_send_window(wine)
        wine.driver("click", "TForm8", "E-mail preferences...")
        wine.wait_window("TForm2")
        security = wine.control("TForm2", cls="ComboBox")
        check(security["text"] == "STARTTLS", "Security shows %r" % security["text"])
        wine.click_rect(field_beside(wine, "TForm2", "Password:")["rect"])
        wine.type_text(PASSWORD, title="^Preferences$")
        wine.click_control("TForm2", "Ok", settle=False)
        wine.driver("gone", "TForm2")
        send_and_close(wine, sink, 1)

        stored = wine.reg_query()
        check(stored.get("Security") == "1", "Security %r" % stored.get("Security"))
        check(stored.get("Password") and PASSWORD not in stored["Password"]
              and PASSWORD.encode().hex() not in stored["Password"].lower(), "Password %r" % stored.get("Password"))

        # After a restart the stored password serves again.
        open_send_window(wine)
        send_and_close(wine, sink, 2)
    finally:
        if server:
            server.stop()
        shutil.rmtree(folder, ignore_errors=True)
    check(server.auth.attempts == [("PLAIN", True)] * 2, "logins %r" % server.auth.attempts)
    for envelope in sink.envelopes:
        check(envelope.mail_from == "ann@example.com" and envelope.rcpt_tos == ["bob@example.com"],
              "envelope %s %r" % (envelope.mail_from, envelope.rcpt_tos))
        message = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        body = message.get_payload(decode=True).decode("ascii").replace("\r\n", "\n")
        check(body == "\nDear Bob,\nsent over TLS.\n", "body %r" % body)


run([the_send_window_sends_through_starttls_with_the_stored_password])
