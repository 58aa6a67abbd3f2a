#!/usr/bin/python3
"""Wake-ups of QuondaHalvix.exe around an armed task: idle before arming, while
the task notice rises, and after it has come to rest, for the shipped build and
a bench build that leaves the notice's 10 ms slide timer running after arrival
(`cmake --build --preset win64 --target qh_bench_keep_slide_timer`: the same
program started with the slide timer kept, from bench/keep_slide_timer_win.cpp).

Wake-ups are voluntary+nonvoluntary context switches summed over every thread
(/proc/PID/task/*/status) per second; CPU is utime+stime per second. The notice
is found as the 384x205 window of the process; it rests at y = 1080-205-30.
Runs on its own Xvfb and on WINEPREFIX (a copy of the project prefix), ends
what it started by PID and calls `wineserver -k` on that prefix at the end."""
import argparse
import datetime
import os
import subprocess
import sys
import time
from pathlib import Path

import procfs  # the /proc readers shared with the start-up bench

read_cpu_ticks = procfs.read_cpu_ticks

REPO = Path(__file__).resolve().parent.parent
# Debian installs the Wine tools in /usr/lib/wine only; scripts/wine-env
# hands their full paths on, and the same paths are the default when run alone.
WINE = os.environ.get("WINE64", "/usr/lib/wine/wine64")
WINESERVER = os.environ.get("WINESERVER", "/usr/lib/wine/wineserver")
NOTICE_SIZE = (384, 205)
NOTICE_REST_Y = 1080 - 205 - 30
HOUR_FIELD = (149 + 14, 405 + 8)
HIBERNATE_OPTION = (503 + 20, 436 + 12)
COMMAND_BUTTON = (256 + 60, 461 + 12)


def log(msg):
    print(f"[{time.strftime('%H:%M:%S')}] {msg}", file=sys.stderr, flush=True)


def wine_env(display):
    env = dict(os.environ)
    env["WINEPREFIX"] = os.environ.get("WINEPREFIX") or "/tmp/tw_prefix"
    env.update({"WINEDEBUG": "-all", "LANG": "zh_CN.UTF-8", "DISPLAY": display,
                "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d"})
    return env


def read_switches(pid):
    """Context switches summed over every thread of the process."""
    return sum(procfs.read_switches(pid).values())


def xdo(env, *args):
    return subprocess.run(["xdotool", *args], env=env, capture_output=True, text=True).stdout


def geometry(env, wid):
    out = xdo(env, "getwindowgeometry", "--shell", wid)
    g = dict(line.split("=", 1) for line in out.split() if "=" in line)
    if "X" not in g:
        return None
    return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])


def find_notice(env, pid):
    for wid in xdo(env, "search", "--pid", str(pid)).split():
        g = geometry(env, wid)
        if g and (g[2], g[3]) == NOTICE_SIZE:
            return wid
    return None


def wait_for(pred, timeout, what, poll=0.01):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = pred()
        if value:
            return value
        time.sleep(poll)
    raise RuntimeError(f"timed out waiting for {what}")


def measure(pid, seconds, env=None, notice=None):
    """Switches/s and CPU ms/s over `seconds`. With a notice window the span
    ends at the last 100 ms sample before its y changes (the sink starting), so
    the figure is for the notice at rest only; `moved_at` tells when that was."""
    tick_ms = 1000.0 / os.sysconf("SC_CLK_TCK")
    start = (time.monotonic(), read_switches(pid), read_cpu_ticks(pid))
    end = start
    moved_at = None
    y0 = geometry(env, notice)[1] if notice else None
    while time.monotonic() - start[0] < seconds:
        time.sleep(0.1)
        sample = (time.monotonic(), read_switches(pid), read_cpu_ticks(pid))
        if notice:
            g = geometry(env, notice)
            if g and g[1] != y0:
                moved_at = sample[0] - start[0]
                break
        end = sample
    dt = end[0] - start[0]
    return {"wakeups": (end[1] - start[1]) / dt, "cpu": (end[2] - start[2]) * tick_ms / dt,
            "seconds": dt, "moved_at": moved_at}


def click(env, win_xy, client_xy):
    x, y = win_xy[0] + client_xy[0], win_xy[1] + client_xy[1]
    xdo(env, "mousemove", str(x), str(y), "click", "1")


def run_build(label, exe, env, idle, rest):
    log(f"{label}: launching {exe}")
    proc = subprocess.Popen([WINE, str(exe)], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wid = wait_for(lambda: xdo(env, "search", "--onlyvisible", "--name", "^QuondaHalvix$").split(),
                       30, "main window")[0]
        time.sleep(3)  # start-up work (image decode, tray) out of the idle figure
        x, y, w, h = geometry(env, wid)
        log(f"{label}: main window {w}x{h} at {x},{y}")
        results = {"a": measure(proc.pid, idle)}
        log(f"{label}: (a) {results['a']}")

        now = datetime.datetime.now()
        if abs((now.hour * 60 + now.minute) - (18 * 60 + 30)) < 60:
            click(env, (x, y), HOUR_FIELD)
            xdo(env, "key", "ctrl+a")
            xdo(env, "type", "03")
            log(f"{label}: host time {now:%H:%M} near 18:30, hour set to 03")
        click(env, (x, y), HIBERNATE_OPTION)
        time.sleep(0.3)
        click(env, (x, y), COMMAND_BUTTON)
        armed = time.monotonic()
        results["b"] = measure(proc.pid, 2.0)
        log(f"{label}: (b) {results['b']}")

        notice = wait_for(lambda: find_notice(env, proc.pid), 10, "notice window", poll=0.05)
        wait_for(lambda: geometry(env, notice)[1] == NOTICE_REST_Y, 15, "notice at rest", poll=0.01)
        arrived = time.monotonic() - armed
        log(f"{label}: notice at rest {arrived:.2f} s after arming")
        results["c"] = measure(proc.pid, rest, env, notice)
        results["c"]["arrived"] = arrived
        log(f"{label}: (c) {results['c']}")
        return results
    finally:
        proc.kill()
        proc.wait()
        time.sleep(3)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("-W", "--window", type=float, default=15.0, help="idle window (a), seconds")
    ap.add_argument("--rest", type=float, default=10.0, help="window (c) after arrival, seconds")
    ap.add_argument("--display", default=":73")
    ap.add_argument("--shipped", default=str(REPO / "build/win64/QuondaHalvix.exe"))
    ap.add_argument("--keep", default=str(REPO / "build/win64/qh_bench_keep_slide_timer.exe"))
    ap.add_argument("--only", choices=("shipped", "keep-timer"), help="measure one build")
    args = ap.parse_args()

    env = wine_env(args.display)
    xvfb = subprocess.Popen(["Xvfb", args.display, "-screen", "0", "1920x1080x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    table = {}
    try:
        time.sleep(1)
        subprocess.run([WINE, "cmd.exe", "/c", "exit"], env=env, check=True)
        for label, exe in (("shipped", args.shipped), ("keep-timer", args.keep)):
            if args.only and label != args.only:
                continue
            table[label] = run_build(label, exe, env, args.window, args.rest)
    finally:
        subprocess.run([WINESERVER, "-k"], env=env)
        xvfb.kill()
        xvfb.wait()

    names = {"a": f"(a) idle before task, {args.window:g} s",
             "b": "(b) notice rising, first 2 s",
             "c": f"(c) notice at rest, {args.rest:g} s"}
    labels = list(table)
    print("| state | " + " | ".join(f"{l} wakeups/s | {l} CPU ms/s" for l in labels) + " |")
    print("|---|" + "---:|---:|" * len(labels))
    for key, name in names.items():
        cells = " | ".join(f"{table[l][key]['wakeups']:.1f} | {table[l][key]['cpu']:.1f}" for l in labels)
        print(f"| {name} | {cells} |")
    for l in labels:
        c = table[l]["c"]
        sink = ("none within it" if c["moved_at"] is None
                else f"sink began {c['moved_at']:.1f} s in, (c) cut there")
        print(f"{l}: notice at rest {c['arrived']:.2f} s after arming; (c) spans {c['seconds']:.1f} s, {sink}")
    print("command: WINEPREFIX=" + env["WINEPREFIX"] + " /usr/bin/python3 bench/task_wakeups.py "
          + " ".join(sys.argv[1:]))


if __name__ == "__main__":
    main()
