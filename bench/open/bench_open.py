#!/usr/bin/env python3
"""PdfOpen against pdfinfo on the same files in the same run.

Both sides are timed as whole processes (start, open, exit), so the ratio compares like with
like; the in-process PdfOpen time and the resident memory after open are reported beside.
  bench/open/bench_open.py BUILD_DIR [--runs N] [--corpus DIR]
"""
import argparse
import os
import statistics
import subprocess
import sys
import time
from pathlib import Path


def run_timed(cmd):
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    out = proc.stdout.read()
    _, _, usage = os.wait4(proc.pid, 0)
    return time.perf_counter() - start, usage.ru_maxrss, out.decode(errors="replace")


def measure(build, pdf, password, runs):
    ours_cmd = [str(build / "bin/vesk-bench-open-once"), str(pdf)] + ([password] if password else [])
    info_cmd = ["pdfinfo"] + (["-upw", password] if password else []) + [str(pdf)]
    ours, theirs, inproc, rss = [], [], [], 0
    for _ in range(runs):  # interleaved, so both sides see the same machine state
        t, _, out = run_timed(ours_cmd)
        ours.append(t)
        fields = out.split()
        if len(fields) == 3:
            inproc.append(float(fields[0]) / 1000)
            rss = int(fields[1])
        t, their_rss, _ = run_timed(info_cmd)
        theirs.append(t)
    return (statistics.median(ours), statistics.median(theirs),
            statistics.median(inproc) if inproc else float("nan"), rss, their_rss)


def corpus_files(corpus):
    rows = (corpus / "MANIFEST.tsv").read_text(encoding="utf-8").splitlines()[1:]
    for row in rows:
        cols = row.split("\t")
        enc = cols[3]
        yield corpus / cols[0], enc[9:] if enc.startswith("password:") else None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build", type=Path)
    ap.add_argument("--runs", type=int, default=15)
    ap.add_argument("--corpus", type=Path, default=Path(__file__).resolve().parents[2] / "../shared/corpus")
    args = ap.parse_args()
    big = args.build / "fixtures/big.pdf"
    files = [(big, None)]
    if (args.corpus / "MANIFEST.tsv").exists():
        files += list(corpus_files(args.corpus))
    print("%-46s %9s %9s %6s %9s %9s %9s" % ("file", "ours ms", "pdfinfo", "ratio", "PdfOpen", "RSS KiB", "pdfinfo"))
    ratios = []
    for pdf, pw in files:
        runs = args.runs if pdf == big else max(3, args.runs // 3)
        ours, theirs, inproc, rss, their_rss = measure(args.build, pdf, pw, runs)
        ratios.append(ours / theirs)
        print("%-46s %9.2f %9.2f %6.2f %9.2f %9d %9d" % (pdf.name[:46], ours * 1000, theirs * 1000,
              ours / theirs, inproc * 1000, rss, their_rss))
    print("median ratio over all files: %.2f" % statistics.median(ratios))


if __name__ == "__main__":
    sys.exit(main())
