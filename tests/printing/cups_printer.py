"""A CUPS server of the test's own with PDF printers, for the printing tests
and the printing benchmark.

How Wine prints here: Wine's printing layer (winspool, in the 32-bit Wine)
asks CUPS for printers and hands it the jobs through the 32-bit CUPS client
library (libcups2:i386). That library finds its server through the
CUPS_SERVER environment variable, where a path names a Unix socket. So a
Wine program started with CUPS_SERVER naming the socket of this server sees
this server's printers, and only them; one started with CUPS_SERVER naming a
socket where nothing listens finds no printer at all (the "no printer" case).
Wine drops the printers it listed before from its registry when they are gone.

The server: cupsd (as root, which it needs to run the cups-pdf backend) in the
foreground, with its configuration, spool, cache, state and logs in a folder
under the build folder, listening only on a Unix socket there, no browsing,
no web interface, everyone allowed. Each printer is a cups-pdf queue. The
cups-pdf backend reads its settings from /etc/cups/cups-pdf-NAME.conf, NAME
being the end of the printer's device URI (a place compiled into it): the
server writes one such file per printer, named after its own folder's path so
that several servers do not meet, and removes them when it stops. There cups-pdf
is told to write the PDF files into the printer's folder ("Out", and
"AnonDirName" for the jobs of root, which it files as anonymous), to end each
file name with the job number ("Label 2") and to log into the server's folder.

Where no server can run (not root, the packages missing, cupsd not starting)
start() raises Unavailable with the reason, and the tests skip with it.

As a program: cups_printer.py BUILD_DIR COMMAND... runs COMMAND (a GoogleTest
program under Wine) with a server whose printers are "PDF" (the default) and
"Second", CUPS_SERVER set and MIBOR8_PDF_FOLDER naming the folder that holds
one folder of PDF files per printer; exit 77 (skipped) with the reason when
no server can run, and a failure when a test skipped although it ran.
"""
import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import zlib

CUPSD = "/usr/sbin/cupsd"
BACKEND = "/usr/lib/cups/backend/cups-pdf"
PPD = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"
SKIP = 77
# A Unix socket's path must fit 108 bytes.
MAX_SOCKET_PATH = 100


class Unavailable(Exception):
    pass


class CupsServer:
    def __init__(self, build, printers=("PDF",), name="cups"):
        self.build = os.path.abspath(build)
        self.printers = list(printers)
        self.name = name
        self.folder = None
        self.process = None
        self.backend_configs = []

    # ---- places ----
    @property
    def socket(self):
        return os.path.join(self.folder, "cups.sock")

    def pdf_folder(self, printer=None):
        folder = os.path.join(self.folder, "pdf")
        return os.path.join(folder, printer) if printer else folder

    def env(self):
        """The environment a Wine program needs to print on this server."""
        env = dict(os.environ)
        env["CUPS_SERVER"] = self.socket
        env["MIBOR8_PDF_FOLDER"] = self.pdf_folder()
        return env

    # ---- start and stop ----
    def start(self):
        if os.geteuid() != 0:
            raise Unavailable("cupsd and the cups-pdf backend need root, and this user is not root")
        for path, package in ((CUPSD, "cups"), (BACKEND, "printer-driver-cups-pdf"), (PPD, "printer-driver-cups-pdf")):
            if not os.path.exists(path):
                raise Unavailable("%s is missing (package %s)" % (path, package))
        if not os.access("/etc/cups", os.W_OK):
            raise Unavailable("/etc/cups, where cups-pdf reads its settings, is not writable")
        self.folder = os.path.join(self.build, self.name)
        if len(self.socket) > MAX_SOCKET_PATH:
            self.folder = tempfile.mkdtemp(prefix="mibor8-cups-")
        shutil.rmtree(self.folder, ignore_errors=True)
        for sub in ("etc", "spool/tmp", "cache", "state", "log", "cups-pdf-spool"):
            os.makedirs(os.path.join(self.folder, sub))
        self._write_config()
        try:
            self._start_cupsd()
            for printer in self.printers:
                self._add_printer(printer)
            self._lpadmin("-d", self.printers[0])
        except Exception:
            self.stop()
            raise
        return self

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(15)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process = None
        for path in self.backend_configs:
            if os.path.exists(path):
                os.remove(path)
        self.backend_configs = []

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    def _write_config(self):
        f = self.folder
        with open(os.path.join(f, "etc", "cupsd.conf"), "w") as out:
            out.write("Listen %s\nLogLevel info\nBrowsing Off\nWebInterface No\nDefaultAuthType None\n"
                      "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                      "<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n  </Limit>\n</Policy>\n"
                      % self.socket)
        with open(os.path.join(f, "etc", "cups-files.conf"), "w") as out:
            out.write("ServerRoot {f}/etc\nRequestRoot {f}/spool\nTempDir {f}/spool/tmp\nCacheDir {f}/cache\n"
                      "StateDir {f}/state\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
                      "ErrorLog {f}/log/error_log\nAccessLog {f}/log/access_log\nPageLog {f}/log/page_log\n"
                      "Printcap {f}/printcap\nSystemGroup root\n".format(f=f))

    def _start_cupsd(self):
        etc = os.path.join(self.folder, "etc")
        log = open(os.path.join(self.folder, "log", "cupsd.out"), "wb")
        self.process = subprocess.Popen([CUPSD, "-f", "-c", os.path.join(etc, "cupsd.conf"),
                                         "-s", os.path.join(etc, "cups-files.conf")],
                                        stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        end = time.time() + 60
        while time.time() < end:
            if self.process.poll() is not None:
                raise Unavailable("cupsd ended at once: " + self._log_tail())
            if os.path.exists(self.socket) and self._run(["lpstat", "-r"])[0] == 0:
                return
            time.sleep(0.1)  # the poll interval
        raise Unavailable("cupsd did not answer within 60 s: " + self._log_tail())

    def _add_printer(self, printer):
        tag = "mibor8-%08x-%s" % (zlib.crc32(self.folder.encode()), printer)
        out = self.pdf_folder(printer)
        os.makedirs(out)
        config = "/etc/cups/cups-pdf-%s.conf" % tag
        with open(config, "w") as f:
            f.write("Out %s\nAnonDirName %s\nLabel 2\nGrp root\nSpool %s\nLog %s\n"
                    % (out, out, os.path.join(self.folder, "cups-pdf-spool"), os.path.join(self.folder, "log")))
        self.backend_configs.append(config)
        self._lpadmin("-p", printer, "-E", "-v", "cups-pdf:/" + tag, "-P", PPD)

    # ---- the CUPS client tools ----
    def _run(self, args):
        env = dict(os.environ, CUPS_SERVER=self.socket)
        result = subprocess.run(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        return result.returncode, result.stdout.decode(errors="replace")

    def _lpadmin(self, *args):
        code, output = self._run(["lpadmin", *args])
        if code != 0:
            raise Unavailable("lpadmin %s: %s" % (" ".join(args), output.strip()))

    def _log_tail(self):
        texts = []
        for name in ("cupsd.out", "error_log"):
            path = os.path.join(self.folder, "log", name)
            if os.path.exists(path):
                with open(path, errors="replace") as f:
                    texts.append(f.read()[-800:])
        return " | ".join(t.strip() for t in texts if t.strip()) or "no log"

    # ---- what was printed ----
    def refuse_jobs(self, printer, refuse=True):
        """Makes a printer refuse (or accept again) new jobs, as a spooler that fails."""
        code, output = self._run(["cupsreject" if refuse else "cupsaccept", printer])
        if code != 0:
            raise RuntimeError(output)

    def jobs_pending(self):
        return self._run(["lpstat", "-o"])[1].strip() != ""

    def pdfs(self, printer=None):
        """The PDF files written so far, oldest first."""
        files = glob.glob(os.path.join(self.pdf_folder(printer or self.printers[0]), "*.pdf"))
        return sorted(files, key=os.path.getmtime)

    def wait_for_pdfs(self, count, printer=None, seconds=60):
        """Waits until the printer's folder holds `count` PDF files and no job is left; returns them."""
        end = time.time() + seconds
        while time.time() < end:
            if len(self.pdfs(printer)) >= count and not self.jobs_pending():
                return self.pdfs(printer)
            time.sleep(0.1)  # the poll interval
        return self.pdfs(printer)


def pdf_text(path, layout=False):
    args = ["pdftotext"] + (["-layout"] if layout else []) + [path, "-"]
    return subprocess.run(args, stdout=subprocess.PIPE, check=True).stdout.decode("utf-8", "replace")


def pdf_info(path):
    output = subprocess.run(["pdfinfo", path], stdout=subprocess.PIPE, check=True).stdout.decode("utf-8", "replace")
    return dict((k.strip(), v.strip()) for k, v in (line.split(":", 1) for line in output.splitlines() if ":" in line))


def pdf_fonts(path):
    output = subprocess.run(["pdffonts", path], stdout=subprocess.PIPE, check=True).stdout.decode("utf-8", "replace")
    # The name without the subset tag ("ABCDEF+").
    return [line.split()[0].split("+")[-1] for line in output.splitlines()[2:] if line.strip()]


def start_or_say_why(server):
    """Starts the server; None when it runs, else the reason to skip."""
    try:
        server.start()
        return None
    except Unavailable as reason:
        return "no CUPS server of the test's own can run here: %s" % reason


def main():
    build, command = sys.argv[1], sys.argv[2:]
    server = CupsServer(build, printers=("PDF", "Second"), name="cups-" + os.path.basename(command[-1]).split(".")[0])
    reason = start_or_say_why(server)
    if reason:
        print("[SKIP] " + reason)
        return SKIP
    try:
        result = subprocess.run(command, env=server.env(), stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        output = result.stdout.decode(errors="replace")
        print(output)
        # With the server there, a test that skips did not see it.
        return 1 if result.returncode == 0 and "[  SKIPPED ]" in output else result.returncode
    finally:
        server.stop()


if __name__ == "__main__":
    sys.exit(main())
