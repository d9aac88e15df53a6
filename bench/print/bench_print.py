#!/usr/bin/env python3
"""PdfPrint against pdftoppm -r 150, side by side.

Ours: the time from the print dialog's answer to the last band handed to the printer, for the
first N pages at factor 3 (150 dpi), measured inside the process (vesk-bench-print), once with a
printer that reads every band and once with the program's Qt printer writing a PDF file. Theirs:
`pdftoppm -r 150` of the same pages, the rendering floor, as a whole process. To take process
start and document open out of both sides alike, each is timed for N pages and for 1 page and
the per-page time is (T(N) - T(1)) / (N - 1), in wall time and in processor time (steadier on a
busy machine). Runs are interleaved; medians are reported, with the peak memory a print job of
N pages adds above the level before it.
  bench/print/bench_print.py BUILD_DIR [--runs N] [--pages N] [--corpus DIR]
"""
import argparse
import os
import statistics
import subprocess
import tempfile
import time
from pathlib import Path

DOCS = ["pdfbox-cweb.pdf", "pdfjs-pdkids.pdf", "pypdf-sample-GeoTopo-komprimiert.pdf"]


def run(cmd):
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    start = time.perf_counter()
    out = proc.stdout.read()
    _, status, usage = os.wait4(proc.pid, 0)
    if status != 0:
        raise RuntimeError("failed: %s" % " ".join(map(str, cmd)))
    return time.perf_counter() - start, usage.ru_utime + usage.ru_stime, out


def ours(build, pdf, pages, qt_out=None):
    """(wall s, processor s, peak kB) from the dialog's answer to the last band."""
    cmd = [str(build / "bin/vesk-bench-print"), str(pdf), str(pages), "3"]
    if qt_out:
        cmd += ["--qt", str(qt_out)]
    wall_ms, cpu_ms, peak_kb = run(cmd)[2].split()
    return float(wall_ms) / 1000, float(cpu_ms) / 1000, int(peak_kb)


def pdftoppm(pdf, pages, folder):
    wall, cpu, _ = run(["pdftoppm", "-r", "150", "-f", "1", "-l", str(pages), str(pdf),
                        str(folder / "p")])
    return wall, cpu, 0


def per_page(n_pages, one_page, n):
    """Wall and processor milliseconds per page, and the peak of the longer run."""
    return ((n_pages[0] - one_page[0]) / (n - 1) * 1000,
            (n_pages[1] - one_page[1]) / (n - 1) * 1000, n_pages[2] / 1024)


SIDES = ["ours", "ours, Qt printer", "pdftoppm -r 150"]


def measure(build, pdf, pages, runs):
    samples = {side: [] for side in SIDES}
    shm = "/dev/shm" if os.path.isdir("/dev/shm") else None
    with tempfile.TemporaryDirectory(dir=shm) as d:
        folder = Path(d)
        qt = folder / "qt.pdf"
        for _ in range(runs):
            samples["ours"].append(per_page(ours(build, pdf, pages), ours(build, pdf, 1), pages))
            samples["ours, Qt printer"].append(
                per_page(ours(build, pdf, pages, qt), ours(build, pdf, 1, qt), pages))
            samples["pdftoppm -r 150"].append(
                per_page(pdftoppm(pdf, pages, folder), pdftoppm(pdf, 1, folder), pages))
    return {side: [statistics.median(s[i] for s in v) for i in range(3)]
            for side, v in samples.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", type=Path)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--pages", type=int, default=20)
    parser.add_argument("--corpus", type=Path,
                        default=Path(__file__).resolve().parents[3] / "shared/corpus")
    args = parser.parse_args()
    print("ms per page, median of %d runs, %d pages at 150 dpi" % (args.runs, args.pages))
    for name in DOCS:
        pdf = args.corpus / name
        if not pdf.exists():
            print("%s: not in the corpus, skipped" % name)
            continue
        result = measure(args.build.resolve(), pdf, args.pages, args.runs)
        floor = result["pdftoppm -r 150"]
        print("%s:" % name)
        for side in SIDES:
            wall, cpu, peak = result[side]
            line = "  %-18s wall %6.1f  cpu %6.1f" % (side, wall, cpu)
            if side != "pdftoppm -r 150":
                line += "  = %.2fx wall, %.2fx cpu; job peak +%.1f MB" % (
                    wall / floor[0], cpu / floor[1], peak)
            print(line)


if __name__ == "__main__":
    main()
