"""Sending the document from the built editor to a real SMTP server (aiosmtpd
on 127.0.0.1): Ctrl+Alt+A, a recipient (and a subject) typed, Send clicked or,
with the keyboard alone, reached by Tab and pressed by Space."""
import email
import email.header
import email.policy
import email.utils
import os

from harness import check, run, wait_for
from mail_sink import Controller, Sink


def send_document(wine, document, mode, rich_format, subject="", sender="Ann Smith", keyboard=False):
    sink = Sink()
    controller = Controller(sink)
    controller.start()
    try:
        wine.reg_delete_key()
        wine.start()
        wine.close_main_window()
        for name, value in {"SMTPServer": "127.0.0.1", "Port": str(controller.port), "id": "tester",
                            "Name": sender, "Email": "ann@example.com", "Mode": mode}.items():
            wine.reg_set(name, value)
        wine.start(document)
        wine.keys("ctrl+alt+a")
        wine.wait_window("TForm8")
        window = "^Send as e-mail"
        if subject:
            wine.type_text(subject, title=window)  # the subject has the focus
        wine.keys("Tab", title=window)  # from the subject to "Send to:"
        wine.type_text("bob@example.com", title=window)
        if rich_format:
            wine.keys("Tab", "Tab", "Tab", "Tab", "Down", title=window)  # on to the format list
        if keyboard:
            wine.tab_to("TForm8", "Send", window)
            rect = tuple(int(n) for n in wine.driver("rect", "TForm8").split())
            wine.screenshot(os.path.join(wine.build, "e2e-screenshots", "send-window-send-focused.png"), rect,
                            "TForm8")
            wine.keys("space", title=window)
        else:
            wine.driver("click", "TForm8", "Send")
        check(wait_for(lambda: sink.envelopes, 120), "no mail arrived")
        wine.wait_for_status("Mail delivered!", 60)
        wine.wait_for_status("Idle", 60)
        if keyboard:
            wine.tab_to("TForm8", "Close", window)
            wine.keys("space", title=window, settle=False)
        else:
            wine.driver("click", "TForm8", "Close")
        wine.driver("gone", "TForm8")
        wine.close_main_window()
    finally:
        controller.stop()
    envelope = sink.envelopes[0]
    check(envelope.mail_from == "ann@example.com", "sender " + envelope.mail_from)
    check(envelope.rcpt_tos == ["bob@example.com"], "recipients %r" % envelope.rcpt_tos)
    message = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
    check(message["To"] == "bob@example.com", "To: %r" % message["To"])
    check(message["Reply-To"] == "ann@example.com", "Reply-To: %r" % message["Reply-To"])
    check(message["Date"].datetime is not None, "Date: %r" % message["Date"])
    return message


def the_document_arrives_as_the_body_sent_with_the_keyboard_alone(wine):
    wine.write_file("C:\\mail\\letter.txt", "Dear Bob,\r\nthe minutes follow.\r\n.\r\nAnn\r\n")
    message = send_document(wine, "C:\\mail\\letter.txt", "plain", rich_format=False, keyboard=True)
    check(not message.is_multipart(), "a plain send has no parts")
    body = message.get_payload(decode=True).decode("ascii").replace("\r\n", "\n")
    check(body == "\nDear Bob,\nthe minutes follow.\n.\nAnn\n", "body %r" % body)


def the_rich_text_format_attaches_richtext_rtf(wine):
    wine.write_file("C:\\mail\\letter.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Dear {\\b Bob}\\par}")
    message = send_document(wine, "C:\\mail\\letter.rtf", "rich", rich_format=True)
    check(message.is_multipart(), "no attachment")
    parts = list(message.iter_parts())
    text = parts[0].get_payload(decode=True).decode("ascii")
    check(text.strip() == "Dear Bob", "body %r" % text)
    check(parts[1].get_filename() == "RichText.rtf", "file name %r" % parts[1].get_filename())
    rtf = parts[1].get_payload(decode=True)
    check(rtf.startswith(b"{\\rtf") and b"Bob" in rtf, "attachment %r" % rtf[:60])
    check(not os.path.exists(wine.c_path("C:\\RichText.rtf")), "the temporary file is left behind")


def a_cyrillic_subject_sender_and_body_arrive_as_typed(wine):
    letter = "Дорогой Боб,\r\nвстреча в пятницу, в 10:00.\r\nАнна\r\n"
    wine.write_file("C:\\mail\\letter.txt", letter.encode("utf-8"))
    message = send_document(wine, "C:\\mail\\letter.txt", "plain", rich_format=False, subject="Встреча в пятницу",
                            sender="Анна Смирнова")
    check(message["Subject"] == "Встреча в пятницу", "Subject: %r" % message["Subject"])
    # Read with the older decoder: Python 3.11's address parser keeps the blank between
    # two encoded words of a name, which RFC 2047 drops.
    raw_from = next(value for name, value in message.raw_items() if name == "From")
    name, address = email.utils.parseaddr(raw_from)
    name = str(email.header.make_header(email.header.decode_header(name)))
    check((name, address) == ("Анна Смирнова", "ann@example.com"), "From: %r" % raw_from)
    check(message.get_content_type() == "text/plain" and message.get_content_charset() == "utf-8",
          "Content-Type: %r" % message["Content-Type"])
    body = message.get_content().replace("\r\n", "\n")
    check(body == "\n" + letter.replace("\r\n", "\n"), "body %r" % body)


run([the_document_arrives_as_the_body_sent_with_the_keyboard_alone, the_rich_text_format_attaches_richtext_rtf,
     a_cyrillic_subject_sender_and_body_arrive_as_typed])
