#!/usr/bin/python3
"""Start-up, memory and idle-cost benchmark of QuondaHalvix.exe against two
baselines built from bench/minimal_window.cpp, all under the project's Wine
prefix and one warm wineserver, measured from outside through xdotool and
/proc.

- the minimal window: one white frameless window and a message loop;
- the platform floor: the same window after the platform work the program
  must do before its window shows (OLE and the WMI locator, GDI+, common
  controls 6, the network state, a tray icon).

Each of N rounds launches, in alternating order, the minimal window, the
floor, the minimal window hidden by itself after 1 s, and QuondaHalvix twice:
once through its states (shown and idle, the disk check, VersionWindow
waiting for its lookup and then closed, hidden by its "X"), once with a task
armed and the notice at rest. With --baseline an earlier build goes through
the same two launches in every round, so before and after come from one run.
One more launch of the minimal window carrying only the program's own timers
(1000, 1000 and 15000 ms) shows what those timers alone cost in wakeups.

The pieces: procfs.py reads /proc, launch.py starts the programs on an X
screen under Wine and finds their windows, scenarios.py drives each program
through its states, bench_report.py prints the table; this file builds the
baselines, snapshots the builds and runs the rounds.
"""

import argparse
import collections
import hashlib
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

from bench_report import report, strip_gaps
from launch import (REPO, WINE64, WINESERVER, Bench, Launch, ensure_prefix, start_xvfb,
                    wine_env)
from scenarios import (BASELINE_EXE, FLOOR_EXE, FLOOR_NAME, MINIMAL_EXE, MINIMAL_NAME,
                       OWN_TIMERS_MS, PROGRAM_EXE, PROGRAM_NAME, RSS_DELAY_S, run_armed,
                       run_baseline, run_minimal_hidden, run_program)

MINIMAL_SRC = REPO / "bench" / "minimal_window.cpp"
FLOOR_RC = REPO / "bench" / "platform_floor.rc"
WINDRES = "x86_64-w64-mingw32-windres"
BUILT_EXE = REPO / "build" / "win64" / "QuondaHalvix.exe"
CXX = "x86_64-w64-mingw32-g++-posix"


def log(msg):
    print(msg, file=sys.stderr, flush=True)


def stale(exe, *sources):
    return not exe.exists() or any(exe.stat().st_mtime < s.stat().st_mtime for s in sources)


def build_baselines():
    """The minimal window and the platform floor, from one source."""
    MINIMAL_EXE.parent.mkdir(parents=True, exist_ok=True)
    common = [CXX, "-std=c++20", "-O2", "-static", "-mwindows"]
    if stale(MINIMAL_EXE, MINIMAL_SRC):
        log(f"building {MINIMAL_EXE.relative_to(REPO)}")
        subprocess.run([*common, "-o", str(MINIMAL_EXE), str(MINIMAL_SRC)], check=True)
    if stale(FLOOR_EXE, MINIMAL_SRC, FLOOR_RC):
        log(f"building {FLOOR_EXE.relative_to(REPO)}")
        res = FLOOR_EXE.with_suffix(".res")
        subprocess.run([WINDRES, str(FLOOR_RC), "-O", "coff", "-o", str(res)], cwd=FLOOR_RC.parent,
                       check=True)
        subprocess.run([*common, "-DQH_PLATFORM_FLOOR", "-o", str(FLOOR_EXE), str(MINIMAL_SRC),
                        str(res), "-lgdiplus", "-lole32", "-loleaut32", "-lcomctl32", "-lwininet",
                        "-luuid"], check=True)


def snapshot(source, copy, wait_stable):
    """Copies a build (once it has stood unchanged for 2 s when it may still
    be being written); returns a label for it."""
    copy.parent.mkdir(parents=True, exist_ok=True)
    while True:
        before = source.stat()
        if not wait_stable or time.time() - before.st_mtime >= 2.0:
            shutil.copy2(source, copy)
            after = source.stat()
            if (after.st_mtime_ns, after.st_size) == (before.st_mtime_ns, before.st_size):
                break
        time.sleep(1.0)
    digest = hashlib.sha256(copy.read_bytes()).hexdigest()[:12]
    built = time.strftime("%Y-%m-%d %H:%M:%S", time.localtime(before.st_mtime))
    return f"{source} built {built}, sha256 {digest}, {before.st_size / 1e6:.2f} MB"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--idle", type=float, default=30.0, help="idle period per state, seconds (default 30)")
    parser.add_argument("--runs", "-n", type=int, default=3, help="launches of each program (default 3)")
    parser.add_argument("--baseline", type=Path, help="an earlier QuondaHalvix.exe, measured in the same run")
    args = parser.parse_args()
    if args.idle <= 0 or args.runs <= 0:
        parser.error("--idle and --runs must be positive")
    if not BUILT_EXE.exists():
        sys.exit(f"{BUILT_EXE} is missing: run scripts/build win64 first")
    if args.baseline and not args.baseline.is_file():
        sys.exit(f"{args.baseline} is missing")

    build_baselines()
    labels = ["QuondaHalvix: " + snapshot(BUILT_EXE, PROGRAM_EXE, wait_stable=True)]
    if args.baseline:
        labels.append("baseline: " + snapshot(args.baseline, BASELINE_EXE, wait_stable=False))
    for label in labels:
        log(label)
    env = wine_env()
    ensure_prefix(env)
    bench = Bench(env)
    wineserver = keeper = None

    def on_signal(signum, _frame):
        raise KeyboardInterrupt(f"signal {signum}")

    signal.signal(signal.SIGTERM, on_signal)
    try:
        if not env.get("DISPLAY"):
            _, display = start_xvfb(bench)
            env["DISPLAY"] = display
            log(f"started Xvfb on {display}")
        # One persistent wineserver, so no program pays for starting it.
        wineserver = bench.start([WINESERVER, "-f", "-p"])
        time.sleep(0.5)
        if wineserver.poll() is not None:
            log("warning: a wineserver for this prefix was already running; using it")
            bench.children.remove(wineserver)
            wineserver = None
        # explorer.exe (desktop and tray) quits about 1 s after the prefix's last
        # program, and the next launch pays for restarting it. An idle cmd
        # waiting on a pipe keeps it up, so every launch finds the same state.
        keeper = bench.start([WINE64, "cmd"], stdin=subprocess.PIPE)
        wine_version = subprocess.run([WINE64, "--version"], env=env, capture_output=True,
                                      text=True).stdout.strip()

        log("warm-up launches (not counted)")
        for exe, name in ((MINIMAL_EXE, MINIMAL_NAME), (FLOOR_EXE, FLOOR_NAME),
                          (PROGRAM_EXE, PROGRAM_NAME)):
            warm = Launch(bench, exe, name)
            time.sleep(RSS_DELAY_S)
            warm.close()

        runs = collections.defaultdict(list)
        builds = [("QuondaHalvix", PROGRAM_EXE)] + ([("baseline", BASELINE_EXE)] if args.baseline else [])
        for i in range(args.runs):
            steps = [("minimal", lambda: runs["minimal"].append(
                         run_baseline(bench, args.idle, MINIMAL_EXE, MINIMAL_NAME))),
                     ("floor", lambda: runs["floor"].append(
                         run_baseline(bench, args.idle, FLOOR_EXE, FLOOR_NAME)))]
            for name, exe in builds:
                def whole(name=name, exe=exe):
                    result = run_program(bench, args.idle, exe)
                    result.update(run_armed(bench, args.idle, exe))
                    runs[name].append(result)
                steps.append((name, whole))
            # Alternate the order so drift in the shared machine's load hits all alike.
            if i % 2:
                steps.reverse()
            for label, step in steps:
                log(f"round {i + 1}/{args.runs}: {label}")
                step()
        log("stand-in with the program's own timers")
        timer_args = [a for ms in OWN_TIMERS_MS for a in ("--timer", str(ms))]
        model = run_minimal_hidden(bench, args.idle, timer_args)["hidden"]

        print(report(args, runs, model, wine_version, env["WINEPREFIX"], labels), flush=True)
        for name, results in runs.items():
            log(f"raw {name}: {strip_gaps(results)}")
    finally:
        # Launches first, by PID; then the prefix's server and whatever it still serves; Xvfb last.
        if keeper is not None and keeper.stdin:
            keeper.stdin.close()
        for proc in [p for p in bench.children if p is not wineserver and p.args[0] != "Xvfb"]:
            bench.end(proc)
        subprocess.run([WINESERVER, "-k"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if wineserver is not None:
            try:
                wineserver.wait(10)
            except subprocess.TimeoutExpired:
                pass
        bench.end_all()


if __name__ == "__main__":
    main()
