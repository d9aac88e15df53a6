#!/usr/bin/env python3
"""Printing to a real queue of the desktop's print system, end to end.

Starts a private print scheduler (cupsd on a socket of its own, every folder in a temporary
one), adds a cups-pdf queue as its default, and prints pages of a document through the
program's Qt print dialog and printer (print_to_queue), choosing pages and the paper's
orientation in the dialog. The PDF the queue writes into the job owner's PDF folder is then
checked with pdfinfo (sheet count, size, orientation) and pdftoppm (each sheet shows its source
page, turned to lie like the paper). Everything started is stopped and everything written is
removed again. Exits 77 (skipped) only where the scheduler cannot run at all.
  real_queue_test.py PRINT_TO_QUEUE DOCUMENT
"""
import ctypes
import os
import pwd
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SKIP = 77
CUPSD = "/usr/sbin/cupsd"
BACKEND = "/usr/lib/cups/backend/cups-pdf"
PPD = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"
QUEUE = "VeskPDF"
A4 = (595, 842)  # the queue's default paper, in points, as it lies in the printer
DPI = 20         # coarse pictures are enough to tell pages and turns apart
JOB_TIMEOUT = 90

# (pages typed into the dialog, paper orientation, the source pages in the order they print,
# whether each turns)
RUNS = [
    ("2-4", "portrait", [2, 3, 4], [False, False, True]),
    ("4-5,1", "landscape", [4, 5, 1], [False, False, True]),
]


def skip_reason():
    if os.geteuid() != 0:
        return "the print scheduler and the cups-pdf backend need root"
    for path in (CUPSD, BACKEND, PPD):
        if not os.path.exists(path):
            return "%s is missing (scripts/install-deps.sh installs it)" % path
    for tool in ("lpadmin", "lpstat", "pdfinfo", "pdftoppm"):
        if not shutil.which(tool):
            return "%s is missing" % tool
    return None


def end_with_parent():
    """The scheduler ends with this script, even when the script is killed (a test timeout)."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


class Scheduler:
    """A cupsd of our own: its socket, spool, state and logs all live in `root`."""

    def __init__(self, root):
        self.root = root
        self.socket = root / "cups.sock"
        # The scheduler makes its spool's temporary folder itself, writable for the filters.
        for sub in ("etc/ppd", "spool", "cache", "state", "log"):
            (root / sub).mkdir(parents=True, exist_ok=True)
        # Filters run as lp: they must reach the spool and temporary folders.
        os.chmod(root, 0o755)
        (root / "cupsd.conf").write_text(
            "Listen %s\nLogLevel warn\nWebInterface No\nBrowsing No\n"
            "DefaultAuthType None\nMaxJobTime 120\n"
            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Policy default>\n  <Limit All>\n    Order deny,allow\n    Allow all\n"
            "  </Limit>\n</Policy>\n" % self.socket)
        (root / "cups-files.conf").write_text("".join(
            "%s %s\n" % item for item in [
                ("ServerRoot", root / "etc"), ("RequestRoot", root / "spool"),
                ("CacheDir", root / "cache"), ("StateDir", root / "state"),
                ("ErrorLog", root / "log/error_log"),
                ("AccessLog", root / "log/access_log"), ("PageLog", root / "log/page_log"),
                ("ServerBin", "/usr/lib/cups"), ("DataDir", "/usr/share/cups"),
                ("Sandboxing", "Relaxed"), ("FatalErrors", "none")]))
        self.env = dict(os.environ, CUPS_SERVER=str(self.socket))
        self.proc = None

    def start(self):
        self.proc = subprocess.Popen(
            [CUPSD, "-f", "-c", str(self.root / "cupsd.conf"),
             "-s", str(self.root / "cups-files.conf")],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, preexec_fn=end_with_parent)
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                raise RuntimeError("cupsd ended: %s" % self.proc.stderr.read().decode())
            if self.socket.exists() and self.run(["lpstat", "-r"], check=False).returncode == 0:
                return
            time.sleep(0.2)
        raise RuntimeError("cupsd did not answer within 20 s")

    def run(self, cmd, check=True):
        return subprocess.run(cmd, env=self.env, check=check, capture_output=True, text=True,
                              timeout=60)

    def add_queue(self):
        self.run(["lpadmin", "-p", QUEUE, "-E", "-v", "cups-pdf:/", "-P", PPD])
        self.run(["lpadmin", "-d", QUEUE])

    def log(self):
        path = self.root / "log/error_log"
        return path.read_text(errors="replace")[-3000:] if path.exists() else "(no log)"

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


def wait_for_output(folder, token, scheduler):
    deadline = time.monotonic() + JOB_TIMEOUT
    while time.monotonic() < deadline:
        found = [p for p in folder.glob("*%s*" % token)] if folder.is_dir() else []
        if found and scheduler.run(["lpstat", "-o"], check=False).stdout.strip() == "":
            return found[0]
        time.sleep(0.5)
    raise AssertionError("no PDF from the queue within %d s\n%s" % (JOB_TIMEOUT,
                                                                     scheduler.log()))


def sheet_sizes(pdf):
    """The size of each sheet as displayed, in whole points, after its /Rotate."""
    out = subprocess.run(["pdfinfo", "-f", "1", "-l", "999", str(pdf)], capture_output=True,
                         text=True, check=True).stdout
    sizes = {int(n): (round(float(w)), round(float(h)))
             for n, w, h in re.findall(r"Page\s+(\d+) size:\s+([\d.]+) x ([\d.]+)", out)}
    rots = {int(n): int(r) for n, r in re.findall(r"Page\s+(\d+) rot:\s+(\d+)", out)}
    return [(h, w) if rots.get(n, 0) % 180 else (w, h) for n, (w, h) in sorted(sizes.items())]


def grey_pictures(pdf, folder):
    """Every page of a PDF at DPI dots per inch in grey: (width, height, bytes) by page number."""
    stem = folder / ("p%d" % time.monotonic_ns())
    subprocess.run(["pdftoppm", "-r", str(DPI), "-gray", str(pdf), str(stem)], check=True)
    pictures = {}
    for path in folder.glob(stem.name + "-*.pgm"):
        magic, w, h, maxval, rest = path.read_bytes().split(maxsplit=4)
        assert magic == b"P5" and maxval == b"255"
        pictures[int(path.stem.rsplit("-", 1)[1])] = (int(w), int(h), rest[:int(w) * int(h)])
        path.unlink()
    return pictures


def turned_clockwise(picture):
    w, h, px = picture
    return h, w, bytes(px[(h - 1 - x) * w + y] for y in range(w) for x in range(h))


def difference(sheet, source):
    """Mean grey difference over the source's area, which lies at the sheet's corner."""
    sw, sh, spx = sheet
    w, h, px = source
    cw, ch = min(sw, w), min(sh, h)
    total = sum(abs(spx[y * sw + x] - px[y * w + x]) for y in range(ch) for x in range(cw))
    return total / (cw * ch)


def as_paper_lies(sheet, landscape):
    """A landscape job comes back on upright A4 pages with its content turned a quarter
    counter-clockwise, the way the printer feeds the paper: turned back, it lies like the paper."""
    w, h, _ = sheet
    return turned_clockwise(sheet) if landscape and w < h else sheet


def check_run(output, document, pages, landscape, turns, folder):
    sizes = sheet_sizes(output)
    assert len(sizes) == len(pages), "%d sheets for pages %s" % (len(sizes), pages)
    for n, size in enumerate(sizes, 1):
        assert any(abs(size[0] - w) <= 1 and abs(size[1] - h) <= 1
                   for w, h in (A4, (A4[1], A4[0]))), "sheet %d is %s, not A4" % (n, size)
    sheets, sources = grey_pictures(output, folder), grey_pictures(document, folder)
    for n, (page, turn) in enumerate(zip(pages, turns), 1):
        sheet = as_paper_lies(sheets[n], landscape)
        assert (sheet[0] > sheet[1]) == landscape, "sheet %d does not lie like the paper" % n
        turned = {p: turned_clockwise(pic) if turn else pic for p, pic in sources.items()}
        near = difference(sheet, turned[page])
        other = min(difference(sheet, pic) for p, pic in turned.items() if p != page)
        far = difference(sheet, sources[page] if turn else turned_clockwise(sources[page]))
        print("sheet %d (page %d%s): difference %.1f; other pages %.1f, turned the other way %.1f"
              % (n, page, ", turned" if turn else "", near, other, far))
        assert near < 6 and near * 1.5 < other, "sheet %d does not show page %d" % (n, page)
        assert near * 2 < far, "sheet %d is not turned as the paper asks" % n


def check_no_printer(program, source, root):
    """With no print system to reach, the dialog's 打印 must not pass for a job printed."""
    env = dict(os.environ, CUPS_SERVER=str(root / "no-scheduler.sock"), HOME=str(root),
               QT_QPA_PLATFORM="offscreen")
    done = subprocess.run([str(program), str(source), "1", "portrait"], env=env,
                          capture_output=True, text=True, timeout=120)
    assert done.returncode != 0 and "message: " in done.stdout, \
        "printing without a printer was not refused: %s%s" % (done.stdout, done.stderr)
    print("without a printer: " + done.stdout.strip().replace("\n", " | "))


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    reason = skip_reason()
    if reason:
        print("SKIPPED: " + reason)
        return SKIP
    program, source = Path(argv[1]).resolve(), Path(argv[2]).resolve()
    out_folder = Path(pwd.getpwuid(os.geteuid()).pw_dir) / "PDF"
    made_out_folder = not out_folder.exists()
    root = Path(tempfile.mkdtemp(prefix="vesk-cups-"))
    scheduler = Scheduler(root)
    outputs = []
    try:
        check_no_printer(program, source, root)
        scheduler.start()
        scheduler.add_queue()
        # A fresh home, so that no lpoptions of the user's choose another queue.
        env = dict(scheduler.env, HOME=str(root / "home"), QT_QPA_PLATFORM="offscreen")
        (root / "home").mkdir()
        for pages_text, orientation, pages, turns in RUNS:
            token = "vesk-print-%d-%s" % (os.getpid(), orientation)
            document = root / (token + ".pdf")
            shutil.copyfile(source, document)
            done = subprocess.run([str(program), str(document), pages_text, orientation],
                                  env=env, capture_output=True, text=True, timeout=120)
            print(done.stdout.strip())
            assert done.returncode == 0, "printing failed: %s%s" % (done.stdout, done.stderr)
            output = wait_for_output(out_folder, token, scheduler)
            outputs.append(output)
            check_run(output, document, pages, orientation == "landscape", turns, root)
        print("printed %d jobs through queue %s" % (len(RUNS), QUEUE))
        return 0
    finally:
        scheduler.stop()
        for output in outputs:
            output.unlink(missing_ok=True)
        if made_out_folder and out_folder.is_dir() and not any(out_folder.iterdir()):
            out_folder.rmdir()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
