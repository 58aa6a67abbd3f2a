#!/usr/bin/python3
"""Launch-to-window of two builds of QuondaHalvix.exe in one run: BASELINE
(an earlier build) and CANDIDATE (default build/win64/QuondaHalvix.exe),
launched alternately N times each on the same warm wineserver and Xvfb, each
left 3 s after its main window maps and then ended. Prints the medians and
the candidate's ratio to the baseline.

  WINEPREFIX=/tmp/copy-of-prefix bench/launch_compare.py BASELINE [CANDIDATE] [-n N]
"""
import argparse
import statistics
import subprocess
import time
from pathlib import Path

import run_bench
from run_bench import REPO, WINE64, WINESERVER


def launch_once(bench, env, exe):
    start = time.monotonic()
    proc = bench.start([WINE64, str(exe)])
    run_bench.wait_until(lambda: run_bench.visible_windows(env, "QuondaHalvix"), 30,
                         f"{exe.name} main window mapped")
    mapped = time.monotonic() - start
    time.sleep(3)
    bench.end(proc)
    run_bench.wait_until(lambda: not run_bench.any_windows(env, "QuondaHalvix"), 30,
                         "windows gone")
    return mapped


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("baseline", type=Path)
    parser.add_argument("candidate", type=Path, nargs="?", default=REPO / "build/win64/QuondaHalvix.exe")
    parser.add_argument("-n", type=int, default=5)
    args = parser.parse_args()
    env = run_bench.wine_env()
    run_bench.ensure_prefix(env)
    bench = run_bench.Bench(env)
    try:
        _, display = run_bench.start_xvfb(bench)
        env["DISPLAY"] = display
        bench.start([WINESERVER, "-f", "-p"])
        subprocess.run([WINE64, "cmd.exe", "/c", "exit"], env=env, check=True)
        times = {"baseline": [], "candidate": []}
        for _ in range(args.n):
            for label, exe in (("baseline", args.baseline), ("candidate", args.candidate)):
                times[label].append(launch_once(bench, env, exe))
        base, cand = (statistics.median(times[k]) for k in ("baseline", "candidate"))
        for label in times:
            print(f"{label}: " + " ".join(f"{t:.3f}" for t in times[label]) + " s")
        print(f"launch -> main window mapped, median: baseline {base:.3f} s, "
              f"candidate {cand:.3f} s, ratio {cand / base:.2f}x")
    finally:
        subprocess.run([WINESERVER, "-k"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        bench.end_all()


if __name__ == "__main__":
    main()
