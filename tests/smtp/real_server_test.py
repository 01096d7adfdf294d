"""Messages sent by TSmtpClient to a real SMTP server (aiosmtpd on 127.0.0.1),
read back with Python's email module.

Usage: real_server_test.py BUILD_DIR   (inside scripts/wine-env.sh)
"""
import email
import email.header
import email.policy
import os
import random
import shutil
import subprocess
import sys
import tempfile


HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
from mail_sink import Controller, Sink  # noqa: E402


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run_tool(build, *args):
    """Runs the send tool under Wine; output goes through a file, since Wine's
    background processes would keep a pipe open."""
    tool = os.path.join(build, "tests", "smtp_send_tool.exe")
    with tempfile.TemporaryFile() as out:
        code = subprocess.run([os.path.join(REPO, "scripts", "wine-run.sh"), tool, *args],
                              stdout=out, stderr=subprocess.STDOUT, timeout=120).returncode
        out.seek(0)
        return code, out.read().decode("latin-1").replace("\r", "")


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def decoded_filename(part):
    name = part.get_filename()
    if name and name.startswith("=?"):
        name = str(email.header.make_header(email.header.decode_header(name)))
    return name


def check_attachments(sink, folder, files):
    envelope = sink.envelopes[-1]
    check(envelope.mail_from == "ann@example.com", "sender " + envelope.mail_from)
    check(envelope.rcpt_tos == ["bob@example.com", "carl@example.com", "eve@example.com"],
          "recipients %r" % envelope.rcpt_tos)
    raw = envelope.original_content
    header = raw.split(b"\r\n\r\n", 1)[0].decode("ascii").split("\r\n")
    check(header[:8] == [
        "From: Ann Smith<ann@example.com>",
        "To: Bob Brown <bob@example.com>",
        "CC: carl@example.com",
        "Subject: Three attachments",
        "X-Mailer: Mibor8",
        "Reply-To: ann@home.example",
        "Date: 12/8/2025",
        "Mime-Version: 1.0",
    ], "header lines %r" % header)
    check(header[8].startswith('Content-Type: multipart/mixed;                   boundary="====================54535'),
          header[8])
    check(len(header) == 9, "header lines %r" % header)
    check(b"eve@" not in raw, "the blind copy shows in the message")

    message = email.message_from_bytes(raw, policy=email.policy.default)
    check(message.get_content_type() == "multipart/mixed", message.get_content_type())
    parts = list(message.iter_parts())
    check(len(parts) == 1 + len(files), "%d parts" % len(parts))
    text = parts[0]
    check(text.get_content_type() == "text/plain" and text.get_content_charset() == "us-ascii",
          "text part %s %s" % (text.get_content_type(), text.get_content_charset()))
    # The line break before a boundary belongs to the boundary.
    check(text.get_content().replace("\r\n", "\n") == "Hello Bob,\n\nhere are the files.\n.\nAnn",
          "text %r" % text.get_content())
    for part, (name, data) in zip(parts[1:], files):
        check(part.get_content_type() == "application/octet-stream", part.get_content_type())
        check(part.get("Content-Transfer-Encoding") == "base64", part.get("Content-Transfer-Encoding"))
        check(decoded_filename(part) == name, "file name %r instead of %r" % (decoded_filename(part), name))
        check(part.get_payload(decode=True) == data, "%s does not decode to the original bytes" % name)


def check_international(sink, charset, name, subject, body):
    envelope = sink.envelopes[-1]
    check(len(envelope.rcpt_tos) == 300, "%d recipients" % len(envelope.rcpt_tos))
    raw = envelope.original_content
    check(max(len(line) for line in raw.split(b"\r\n")) <= 998, "a line longer than 998 bytes")
    message = email.message_from_bytes(raw, policy=email.policy.default)
    check(message["Subject"] == subject, "subject %r" % message["Subject"])
    sender = message["From"].addresses[0]
    check(sender.display_name == name and sender.addr_spec == "ann@example.com", "sender %r" % message["From"])
    to = [a.addr_spec for a in message["To"].addresses]
    check(to == ["user%d@example.com" % i for i in range(300)], "To: %d addresses" % len(to))
    check(message.get_content_charset() == charset.lower(), "charset %s" % message.get_content_charset())
    check(message["Content-Transfer-Encoding"] == "quoted-printable", message["Content-Transfer-Encoding"])
    text = message.get_content().replace("\r\n", "\n")
    # The header is followed by one more empty line, which begins the body.
    check(text.startswith("\n"), "body %r" % text[:40])
    check(text[1:] == body, "the body does not read back as the original text")


def text_charset(build):
    """The charset of the program's text, and Python's codec for it."""
    code, output = run_tool(build, "charset")
    check(code == 0, "charset: " + output)
    charset = output.strip()
    return charset, "cp" + charset[8:] if charset.startswith("windows-") else charset


def write_attachments(folder, codec):
    """A text file, a 1 MB binary file and a file with accented letters in its
    name, in folder/attach; returns (name, bytes) sorted by name."""
    rng = random.Random(5)
    accented = "r\u00e9sum\u00e9.txt"
    files = [
        ("a-notes.txt", b"line one\r\nline two\r\n.\r\n"),
        ("b-random.bin", bytes(rng.getrandbits(8) for _ in range(1 << 20))),
        (accented, "caf\u00e9 cr\u00e8me\r\n".encode(codec)),
    ]
    os.makedirs(os.path.join(folder, "attach"))
    for name, data in files:
        with open(os.path.join(folder, "attach", name), "wb") as f:
            f.write(data)
    return sorted(files)


def main():
    build = os.path.abspath(sys.argv[1])
    charset, codec = text_charset(build)

    folder = tempfile.mkdtemp(prefix="mibor8-smtp-")
    sink = Sink()
    controller = Controller(sink)
    controller.start()
    try:
        files = write_attachments(folder, codec)
        code, output = run_tool(build, str(controller.port), "attachments", windows_path(folder))
        check(code == 0, "attachments: " + output)
        check(len(sink.envelopes) == 1, "%d messages" % len(sink.envelopes))
        check_attachments(sink, folder, files)

        name = "Ren\u00e9e M\u00fcller"
        subject = "R\u00e9sum\u00e9 of the \u00e9t\u00e9, with accents: \u00e0 \u00e8 \u00ec \u00f2 \u00f9"
        words = ["caf\u00e9", "cr\u00e8me", "br\u00fbl\u00e9e", "na\u00efve", "fa\u00e7ade", "plain", "text", "."]
        paragraph = " ".join(words[i % len(words)] for i in range(900))[:5000]
        body = "First line\n" + paragraph + "\n.\n..leading dots\n\nLast line \u00e9\n"
        for file_name, text in (("name.txt", name), ("subject.txt", subject), ("body.txt", body)):
            with open(os.path.join(folder, file_name), "wb") as f:
                f.write(text.replace("\n", "\r\n").encode(codec))
        code, output = run_tool(build, str(controller.port), "international", windows_path(folder))
        check(code == 0, "international: " + output)
        check(len(sink.envelopes) == 2, "%d messages" % len(sink.envelopes))
        check_international(sink, charset, name, subject, body)
    finally:
        controller.stop()
        shutil.rmtree(folder, ignore_errors=True)
    if os.environ.get("MIBOR8_SHOW_MAIL"):
        for envelope in sink.envelopes:
            sys.stdout.write(envelope.original_content[:1500].decode("latin-1"))
    print("real server: all messages arrived as sent")


def run_main(main):
    """Runs main(); a failure is printed and ends the script with code 1."""
    try:
        main()
    except Failure as failure:
        print("FAILED:", failure)
        sys.exit(1)


if __name__ == "__main__":
    run_main(main)
