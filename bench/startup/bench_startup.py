#!/usr/bin/env python3
"""Start-up to first painted page, two builds of the reader side by side in the same run.

Each start is a whole process (vesk-bench-startup FILE) on a desktop whose own association list
names another program for PDF files, so the reader's association check fails at every start,
as on a desktop that overrides the user's list. The program prints the time from main() to
the end of the first paint of the document's view; the process's wall time is reported beside.
Every build has a home folder of its own, kept from run to run like a user's.
  bench/startup/bench_startup.py BUILD_DIR [--before OTHER_BUILD_DIR] [--runs N] [--file PDF]
                                 [--no-override]
--no-override leaves the desktop's list out: the association holds after the first start, which
shows what start-up costs without the association's share.
OTHER_BUILD_DIR holds a vesk-bench-startup built from another commit (for example the one
before a change), with its rc/ beside it. update-desktop-database (desktop-file-utils) makes the
figure realistic: the reader refreshes the desktop's cache with it when the tool is there.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

OTHER_ENTRY = "[Desktop Entry]\nType=Application\nName=Other\nExec=other-viewer %f\nMimeType=application/pdf;\n"


def make_home(root, override):
    home = Path(root)
    (home / "config").mkdir(parents=True)
    (home / "data/applications").mkdir(parents=True)
    (home / "data/applications/other.desktop").write_text(OTHER_ENTRY)
    # The desktop's own list comes before the user's mimeapps.list.
    if override:
        (home / "config/bench-mimeapps.list").write_text(
            "[Default Applications]\napplication/pdf=other.desktop;\n")
    env = dict(os.environ, HOME=str(home), XDG_CONFIG_HOME=str(home / "config"),
               XDG_DATA_HOME=str(home / "data"), XDG_CURRENT_DESKTOP="Bench",
               XDG_CONFIG_DIRS=str(home / "etc-xdg"), XDG_DATA_DIRS=str(home / "usr-share"),
               TMPDIR=str(home))
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    return env


def run_once(binary, pdf, env):
    start = time.perf_counter()
    out = subprocess.run([str(binary), str(pdf)], env=env, capture_output=True, text=True,
                         timeout=120)
    wall = (time.perf_counter() - start) * 1000
    for line in out.stdout.splitlines():
        if line.startswith("first-page-ms "):
            return float(line.split()[1]), wall
    sys.exit(f"{binary}: no first page (exit {out.returncode}): {out.stderr[-500:]}")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build", type=Path)
    ap.add_argument("--before", type=Path)
    ap.add_argument("--runs", type=int, default=15)
    ap.add_argument("--no-override", action="store_true")
    ap.add_argument("--file", type=Path,
                    default=Path(__file__).resolve().parents[2] / "res/sample/sample.pdf")
    args = ap.parse_args()
    builds = [("after" if args.before else "this", args.build)]
    if args.before:
        builds.insert(0, ("before", args.before))
    with tempfile.TemporaryDirectory() as root:
        envs = [make_home(Path(root) / name, not args.no_override) for name, _ in builds]
        results = {name: ([], []) for name, _ in builds}
        for name, build in builds:  # a first start registers; it is not counted
            run_once(build / "bin/vesk-bench-startup", args.file, envs[builds.index((name, build))])
        for _ in range(args.runs):  # interleaved, so every build sees the same machine state
            for (name, build), env in zip(builds, envs):
                first, wall = run_once(build / "bin/vesk-bench-startup", args.file, env)
                results[name][0].append(first)
                results[name][1].append(wall)
    med = statistics.median
    for name, _ in builds:
        first, wall = results[name]
        print(f"{name:>6}: first painted page {med(first):7.1f} ms  process {med(wall):7.1f} ms"
              f"  (median of {len(first)})")
    if args.before:
        ratio = med(results["after"][0]) / med(results["before"][0])
        print(f"after / before, first painted page: {ratio:.2f}")


if __name__ == "__main__":
    main()
