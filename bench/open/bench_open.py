#!/usr/bin/env python3
"""PdfOpen against pdfinfo on the same files in the same run.

Both sides are timed as whole processes (start, open, exit), so the ratio compares like with
like: wall time, and processor time (user + system, steadier on a busy machine). The
in-process PdfOpen time and the resident memory after open are reported beside.
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
    wall = time.perf_counter() - start
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, out.decode(errors="replace")


def measure(build, pdf, password, runs):
    ours_cmd = [str(build / "bin/vesk-bench-open-once"), str(pdf)] + ([password] if password else [])
    info_cmd = ["pdfinfo"] + (["-upw", password] if password else []) + [str(pdf)]
    ours, theirs, ours_cpu, theirs_cpu, inproc, rss = [], [], [], [], [], 0
    for _ in range(runs):  # interleaved, so both sides see the same machine state
        t, cpu, _, out = run_timed(ours_cmd)
        ours.append(t)
        ours_cpu.append(cpu)
        fields = out.split()
        if len(fields) == 3:
            inproc.append(float(fields[0]) / 1000)
            rss = int(fields[1])
        t, cpu, their_rss, _ = run_timed(info_cmd)
        theirs.append(t)
        theirs_cpu.append(cpu)
    med = statistics.median
    return (med(ours), med(theirs), med(ours_cpu), med(theirs_cpu),
            med(inproc) if inproc else float("nan"), rss, their_rss)


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
    print("%-40s %8s %8s %6s %8s %8s %6s %8s %8s %8s" % (
        "file", "wall ms", "pdfinfo", "ratio", "cpu ms", "pdfinfo", "ratio", "PdfOpen",
        "RSS KiB", "pdfinfo"))
    ratios, cpu_ratios = [], []
    for pdf, pw in files:
        runs = args.runs if pdf == big else max(3, args.runs // 3)
        ours, theirs, ocpu, tcpu, inproc, rss, their_rss = measure(args.build, pdf, pw, runs)
        ratios.append(ours / theirs)
        cpu_ratios.append(ocpu / tcpu if tcpu else float("nan"))
        print("%-40s %8.2f %8.2f %6.2f %8.2f %8.2f %6.2f %8.2f %8d %8d" % (
            pdf.name[:40], ours * 1000, theirs * 1000, ours / theirs, ocpu * 1000, tcpu * 1000,
            cpu_ratios[-1], inproc * 1000, rss, their_rss))
    print("median ratio over all files: wall %.2f, cpu %.2f" % (
        statistics.median(ratios), statistics.median(cpu_ratios)))


if __name__ == "__main__":
    sys.exit(main())
