#!/usr/bin/env python3
"""PdfPrint against pdftoppm -r 150, side by side.

Ours: the time from the print dialog's answer to the last band handed to the printer, for the
first N pages at factor 3 (150 dpi), measured inside the process (vesk-bench-print), once with a
printer that reads every band and once with the program's Qt printer writing a PDF file. Theirs:
`pdftoppm -r 150` of the same pages, the rendering floor, as a whole process. To take process
start and document open out of both sides alike, each is timed for N pages and for 1 page and
the per-page time is (T(N) - T(1)) / (N - 1). Runs are interleaved; medians are reported, with
the peak memory a print job adds above the level before it.
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
    start = time.perf_counter()
    out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
    return time.perf_counter() - start, out


def ours(build, pdf, pages, qt_out=None):
    cmd = [str(build / "bin/vesk-bench-print"), str(pdf), str(pages), "3"]
    if qt_out:
        cmd += ["--qt", str(qt_out)]
    _, out = run(cmd)
    ms, peak_kb = out.split()
    return float(ms) / 1000, int(peak_kb)


def pdftoppm(pdf, pages, folder):
    wall, _ = run(["pdftoppm", "-r", "150", "-f", "1", "-l", str(pages), str(pdf),
                   str(folder / "p")])
    return wall


def per_page(t_n, t_1, n):
    return (t_n - t_1) / (n - 1) * 1000


def measure(build, pdf, pages, runs):
    samples = {"ours": [], "ours, Qt printer": [], "pdftoppm -r 150": []}
    peaks = {"ours": [], "ours, Qt printer": []}
    shm = "/dev/shm" if os.path.isdir("/dev/shm") else None
    with tempfile.TemporaryDirectory(dir=shm) as d:
        folder = Path(d)
        for _ in range(runs):
            (t_n, peak), (t_1, _) = ours(build, pdf, pages), ours(build, pdf, 1)
            samples["ours"].append(per_page(t_n, t_1, pages))
            peaks["ours"].append(peak)
            qt_n = ours(build, pdf, pages, folder / "qt.pdf")
            qt_1 = ours(build, pdf, 1, folder / "qt.pdf")
            samples["ours, Qt printer"].append(per_page(qt_n[0], qt_1[0], pages))
            peaks["ours, Qt printer"].append(qt_n[1])
            samples["pdftoppm -r 150"].append(
                per_page(pdftoppm(pdf, pages, folder), pdftoppm(pdf, 1, folder), pages))
    return ({k: statistics.median(v) for k, v in samples.items()},
            {k: statistics.median(v) / 1024 for k, v in peaks.items()})


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
        times, peaks = measure(args.build.resolve(), pdf, args.pages, args.runs)
        floor = times["pdftoppm -r 150"]
        print("%s:" % name)
        for side, ms in times.items():
            ratio = "" if side.startswith("pdftoppm") else "  %.2fx" % (ms / floor)
            peak = "  job peak +%.1f MB" % peaks[side] if side in peaks else ""
            print("  %-18s %7.1f%s%s" % (side, ms, ratio, peak))


if __name__ == "__main__":
    main()
