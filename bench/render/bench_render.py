#!/usr/bin/env python3
"""PdfDrawPage and PdfGetRectText against pdftoppm, mutool and pdftotext, side by side.

Every side renders the first N pages of a document in one process. Process start and document
open are taken out by timing each command for N pages and for 1 page: the per-page time is
(T(N) - T(1)) / (N - 1), for us and for them alike. Runs are interleaved so all sides see the
same machine; medians are reported, with processor time (steadier on a busy machine), the
in-process median of our own per-page times, and the peak resident memory of each process.
pdftoppm and mutool write their pages to files in a memory folder; that cost is theirs.
"mutool null" writes them to /dev/null instead: its raster cost with the cheapest output.
With --before, a second build of ours (an earlier commit) runs beside them as "before".
  bench/render/bench_render.py BUILD_DIR [--runs N] [--corpus DIR] [--before BUILD_DIR]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import tempfile
import time
from pathlib import Path

DOCS = [  # (file in the corpus, pages)
    ("pdfjs-tracemonkey.pdf", 14),
    ("pdfbox-cweb.pdf", 28),
    ("pdfjs-pdkids.pdf", 40),
    ("pypdf-sample-GeoTopo-komprimiert.pdf", 40),
]

PAIRS = [("ours", "pdftoppm"), ("ours", "mutool"), ("ours", "mutool null"), ("ours", "before"),
         ("ours text", "pdftotext")]


def run(cmd):
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    out = proc.stdout.read()
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        raise RuntimeError("failed: %s" % " ".join(map(str, cmd)))
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, out.decode()


def commands(build, before, pdf, pages, zoom, out):
    dpi = "%g" % (72 * zoom)
    ours = lambda n, text=False, b=build: [str(b / "bin/vesk-bench-render"), str(pdf), "-",
                                           str(zoom), str(n)] + (["--text"] if text else [])
    sides = {
        "ours": lambda n: ours(n),
        "pdftoppm": lambda n: ["pdftoppm", "-r", dpi, "-aa", "yes", "-aaVector", "yes", "-cropbox",
                               "-f", "1", "-l", str(n), str(pdf), str(out / "p")],
    }
    if shutil.which("mutool"):
        sides["mutool"] = lambda n: ["mutool", "draw", "-q", "-r", dpi, "-o", str(out / "m%d.ppm"),
                                     str(pdf), "1-%d" % n]
        sides["mutool null"] = lambda n: ["mutool", "draw", "-q", "-r", dpi, "-F", "ppm", "-o",
                                          "/dev/null", str(pdf), "1-%d" % n]
    if before:
        sides["before"] = lambda n: ours(n, b=before)
    if zoom == 1.0:
        sides["ours text"] = lambda n: ours(n, True)
        sides["pdftotext"] = lambda n: ["pdftotext", "-layout", "-f", "1", "-l", str(n), str(pdf),
                                        str(out / "t.txt")]
    return sides


def measure(build, before, pdf, pages, zoom, runs):
    with tempfile.TemporaryDirectory(dir="/dev/shm" if os.path.isdir("/dev/shm") else None) as d:
        sides = commands(build, before, pdf, pages, zoom, Path(d))
        per_page = {k: [] for k in sides}
        cpu = {k: [] for k in sides}
        rss = {k: 0 for k in sides}
        inproc = []
        for _ in range(runs):
            for name, cmd in sides.items():
                wall_n, cpu_n, rss_n, out = run(cmd(pages))
                wall_1, cpu_1, _, _ = run(cmd(1))
                per_page[name].append((wall_n - wall_1) / (pages - 1))
                cpu[name].append((cpu_n - cpu_1) / (pages - 1))
                rss[name] = max(rss[name], rss_n)
                if name == "ours":
                    inproc += [float(x) / 1000 for x in out.split("\n")[0].split()[1:]]
        med = statistics.median
        return ({k: med(v) for k, v in per_page.items()}, {k: med(v) for k, v in cpu.items()},
                rss, med(inproc) if inproc else float("nan"))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build", type=Path)
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--before", type=Path)
    ap.add_argument("--corpus", type=Path,
                    default=Path(__file__).resolve().parents[2] / "../shared/corpus")
    args = ap.parse_args()
    ratios = {}
    for name, pages in DOCS:
        pdf = args.corpus / name
        if not pdf.exists():
            continue
        for zoom in (1.0, 2.0):
            wall, cpu, rss, inproc = measure(args.build, args.before, pdf, pages, zoom, args.runs)
            print("%s, %d pages, zoom %g (ours in process: %.2f ms/page)" % (
                name, pages, zoom, inproc * 1000))
            for side in wall:
                print("  %-11s %8.2f ms/page wall %8.2f ms/page cpu %7d KiB peak" % (
                    side, wall[side] * 1000, cpu[side] * 1000, rss[side]))
            for side, base in PAIRS:
                if side in cpu and base in cpu:
                    ratio, cpu_ratio = wall[side] / wall[base], cpu[side] / cpu[base]
                    ratios.setdefault((side, base, zoom), []).append((ratio, cpu_ratio))
                    print("  %s / %s: wall %.3f cpu %.3f, peak %+d KiB" % (
                        side, base, ratio, cpu_ratio, rss[side] - rss[base]))
    for (side, base, zoom), values in sorted(ratios.items()):
        print("median ratio %s / %s zoom %g: wall %.3f, cpu %.3f" % (
            side, base, zoom, statistics.median(v[0] for v in values),
            statistics.median(v[1] for v in values)))


if __name__ == "__main__":
    main()
