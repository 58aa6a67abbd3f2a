#!/usr/bin/python3
"""Start-up, memory and idle-cost benchmark of QuondaHalvix.exe against a
minimal Win32 window, both under the project's Wine prefix and one warm
wineserver, measured from outside through xdotool and /proc.

Each of N rounds launches, in alternating order, the minimal window (shown),
the minimal window hidden by itself after 1 s (--hidden-after 1), and
QuondaHalvix (shown, then hidden by a click on its "X"). One more launch of
the minimal window carrying only the program's own timers (1000, 1000 and
15000 ms) shows what those timers alone cost in wakeups, which is what the
program's hidden figure is judged against.
"""

import argparse
import collections
import hashlib
import os
import shutil
import signal
import statistics
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
# Debian installs the Wine tools in /usr/lib/wine only; scripts/wine-env
# hands their full paths on, and the same paths are the default when run alone.
WINE64 = os.environ.get("WINE64", "/usr/lib/wine/wine64")
WINESERVER = os.environ.get("WINESERVER", "/usr/lib/wine/wineserver")
MINIMAL_SRC = REPO / "bench" / "minimal_window.cpp"
MINIMAL_EXE = REPO / "build" / "bench" / "minimal_window.exe"
BUILT_EXE = REPO / "build" / "win64" / "QuondaHalvix.exe"
# Launched from a copy (same file name: the program looks for itself by it),
# so a rebuild during the run cannot mix two builds in one table.
PROGRAM_EXE = REPO / "build" / "bench" / "QuondaHalvix.exe"
CXX = "x86_64-w64-mingw32-g++-posix"

MINIMAL_NAME = "MinimalWindow"
PROGRAM_NAME = "QuondaHalvix"
# Client point inside the white "X" (850..866, 2..22); the window has no
# frame, so client and X-window coordinates coincide.
CLOSE_X, CLOSE_Y = 858, 12

OWN_TIMERS_MS = (1000, 1000, 15000)
OWN_TICKS_PER_S = sum(1000.0 / ms for ms in OWN_TIMERS_MS)

GOAL_STARTUP_RATIO = 1.3
GOAL_MEMORY_MB = 8.0
# Hidden wakeups may exceed the stand-in with the same timers by this factor
# before they count as periodic work of the program's own.
GOAL_HIDDEN_FACTOR = 1.5

POLL_S = 0.010
MAP_TIMEOUT_S = 30.0
RSS_DELAY_S = 3.0
SETTLE_AFTER_HIDE_S = 2.0
# A launch within about 2 s of killing QuondaHalvix waits out the rest of those
# 2 s (explorer.exe is busy with the dead program's tray icon and windows; 2 s
# is also how long Wine waits when unmapping a window with no window manager).
# Every close waits this long, whichever program it was, so no launch pays.
SETTLE_AFTER_CLOSE_S = 3.0
CLK_TCK = os.sysconf("SC_CLK_TCK")


class Bench:
    """Owns every process it starts and ends each by its PID."""

    def __init__(self, env):
        self.env = env
        self.children = []  # Popen objects still to be ended

    def start(self, argv, stdin=subprocess.DEVNULL, **kw):
        proc = subprocess.Popen(argv, env=self.env, stdin=stdin,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kw)
        self.children.append(proc)
        return proc

    def end(self, proc, grace=3.0):
        if proc.poll() is None:
            proc.send_signal(signal.SIGTERM)
            try:
                proc.wait(grace)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        if proc in self.children:
            self.children.remove(proc)

    def end_all(self):
        for proc in list(reversed(self.children)):
            self.end(proc)


def log(msg):
    print(msg, file=sys.stderr, flush=True)


def build_minimal():
    if MINIMAL_EXE.exists() and MINIMAL_EXE.stat().st_mtime >= MINIMAL_SRC.stat().st_mtime:
        return
    MINIMAL_EXE.parent.mkdir(parents=True, exist_ok=True)
    log(f"building {MINIMAL_EXE.relative_to(REPO)}")
    subprocess.run([CXX, "-std=c++20", "-O2", "-static", "-mwindows", "-o", str(MINIMAL_EXE),
                    str(MINIMAL_SRC)], check=True)


def snapshot_program():
    """Copies the built program once it has stood unchanged for 2 s; returns a label for it."""
    PROGRAM_EXE.parent.mkdir(parents=True, exist_ok=True)
    while True:
        before = BUILT_EXE.stat()
        if time.time() - before.st_mtime >= 2.0:
            shutil.copy2(BUILT_EXE, PROGRAM_EXE)
            after = BUILT_EXE.stat()
            if (after.st_mtime_ns, after.st_size) == (before.st_mtime_ns, before.st_size):
                break
        time.sleep(1.0)
    digest = hashlib.sha256(PROGRAM_EXE.read_bytes()).hexdigest()[:12]
    built = time.strftime("%Y-%m-%d %H:%M:%S", time.localtime(before.st_mtime))
    return f"QuondaHalvix.exe built {built}, sha256 {digest}"


def wine_env():
    env = dict(os.environ)
    # As scripts/wine-env: the project's prefix unless the caller names another
    # (a copy of it keeps other work on the shared prefix out of the figures).
    env["WINEPREFIX"] = os.environ.get("WINEPREFIX") or str(REPO / "build" / "wineprefix")
    env.update({
        "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
        "LANG": "zh_CN.UTF-8",
    })
    return env


def ensure_prefix(env):
    # The project's own routine, so the prefix is made the way every script makes it.
    subprocess.run(["bash", "-c", 'source scripts/wine-env && qh_ensure_prefix'],
                   cwd=REPO, env=env, check=True)


def start_xvfb(bench):
    read_end, write_end = os.pipe()
    proc = bench.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1080x24",
                        "-nolisten", "tcp"], pass_fds=(write_end,))
    os.close(write_end)
    number = b""
    with os.fdopen(read_end, "rb") as f:
        while not number.endswith(b"\n"):
            chunk = f.read(1)
            if not chunk:
                raise RuntimeError("Xvfb did not report a display")
            number += chunk
    return proc, ":" + number.decode().strip()


def visible_windows(env, name):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                       env=env, capture_output=True, text=True)
    return r.stdout.split()


def any_windows(env, name):
    r = subprocess.run(["xdotool", "search", "--name", f"^{name}$"],
                       env=env, capture_output=True, text=True)
    return r.stdout.split()


def wait_until(pred, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if pred():
            return time.monotonic()
        time.sleep(POLL_S)
    raise RuntimeError(f"timed out waiting for {what}")


def read_rss_kb(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    raise RuntimeError("no VmRSS")


def read_cpu_ticks(pid):
    # Fields after the parenthesised name; utime and stime are fields 14 and 15.
    stat = Path(f"/proc/{pid}/stat").read_text()
    fields = stat[stat.rindex(")") + 2:].split()
    return int(fields[11]) + int(fields[12])


def read_switches(pid):
    per_thread = {}
    for task in Path(f"/proc/{pid}/task").iterdir():
        total = 0
        try:
            for line in (task / "status").read_text().splitlines():
                if line.startswith(("voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:")):
                    total += int(line.split()[1])
        except (FileNotFoundError, ProcessLookupError):
            continue  # the thread ended between listing and reading
        per_thread[task.name] = total
    return per_thread


def measure_idle(proc, seconds):
    """CPU, context switches and wake events over `seconds`, sampling every 10 ms.

    A wake event is a run of samples in which the switch count rose after a
    quiet sample: however many switches one WM_TIMER costs, it counts once."""
    pid = proc.pid
    cpu0 = read_cpu_ticks(pid)
    last = read_switches(pid)
    switches = 0
    events = []
    quiet = True
    t0 = time.monotonic()
    deadline = t0 + seconds
    while True:
        now = time.monotonic()
        if now >= deadline:
            break
        time.sleep(min(POLL_S, deadline - now))
        if proc.poll() is not None:
            raise RuntimeError(f"the program ended during the idle period (exit {proc.returncode}); "
                               "was the prefix's wineserver ended from elsewhere?")
        current = read_switches(pid)
        # Per thread, so a thread that ends does not make the sum go backwards.
        delta = sum(max(0, n - last.get(tid, 0)) for tid, n in current.items())
        last = current
        if delta:
            switches += delta
            if quiet:
                events.append(time.monotonic() - t0)
            quiet = False
        else:
            quiet = True
    elapsed = time.monotonic() - t0
    cpu = read_cpu_ticks(pid) - cpu0
    gaps = [b - a for a, b in zip(events, events[1:])]
    return {
        "cpu_ms_per_s": cpu * 1000.0 / CLK_TCK / elapsed,
        "wakeups_per_s": switches / elapsed,
        "events_per_s": len(events) / elapsed,
        "median_gap_ms": statistics.median(gaps) * 1000.0 if gaps else float("nan"),
        "threads": len(last),
        "gaps_10ms": [round(g * 100) * 10 for g in gaps],
    }


class Launch:
    def __init__(self, bench, exe, name, args=()):
        self.bench, self.name = bench, name
        env = bench.env
        wait_until(lambda: not any_windows(env, name), 10.0, f"no window named {name} before launch")
        self.t0 = time.monotonic()
        self.proc = bench.start([WINE64, str(exe), *args], cwd=REPO)
        self.t_map = wait_until(lambda: bool(visible_windows(env, name)) or self.proc.poll() is not None,
                                MAP_TIMEOUT_S, f"{name} to be mapped")
        if self.proc.poll() is not None:
            raise RuntimeError(f"{name} ended before mapping its window (exit {self.proc.returncode})")
        self.startup_s = self.t_map - self.t0

    def wait_unmapped(self, timeout=10.0):
        return wait_until(lambda: not visible_windows(self.bench.env, self.name), timeout,
                          f"{self.name} to be hidden")

    def close(self):
        self.bench.end(self.proc)
        wait_until(lambda: not any_windows(self.bench.env, self.name), 10.0, f"{self.name} windows to go")
        time.sleep(SETTLE_AFTER_CLOSE_S)


def rss_after_map(launch):
    time.sleep(max(0.0, launch.t_map + RSS_DELAY_S - time.monotonic()))
    return read_rss_kb(launch.proc.pid)


def run_minimal_shown(bench, idle):
    launch = Launch(bench, MINIMAL_EXE, MINIMAL_NAME)
    try:
        rss = rss_after_map(launch)
        shown = measure_idle(launch.proc, idle)
    finally:
        launch.close()
    return {"startup_s": launch.startup_s, "rss_kb": rss, "shown": shown}


def run_minimal_hidden(bench, idle, extra_args=()):
    launch = Launch(bench, MINIMAL_EXE, MINIMAL_NAME, ("--hidden-after", "1", *extra_args))
    try:
        unmapped_s = launch.wait_unmapped() - launch.t_map
        time.sleep(SETTLE_AFTER_HIDE_S)
        hidden = measure_idle(launch.proc, idle)
    finally:
        launch.close()
    return {"hidden": hidden, "unmapped_after_map_s": unmapped_s}


def run_program(bench, idle):
    launch = Launch(bench, PROGRAM_EXE, PROGRAM_NAME)
    try:
        rss = rss_after_map(launch)
        shown = measure_idle(launch.proc, idle)
        wid = visible_windows(bench.env, PROGRAM_NAME)[0]
        # Wine takes the pointer position from motion events: move first, then press.
        subprocess.run(["xdotool", "mousemove", "--window", wid, str(CLOSE_X), str(CLOSE_Y)],
                       env=bench.env, check=True)
        time.sleep(0.2)
        t_click = time.monotonic()
        subprocess.run(["xdotool", "click", "1"], env=bench.env, check=True)
        hide_s = launch.wait_unmapped() - t_click
        if launch.proc.poll() is not None:
            raise RuntimeError("the program ended instead of hiding")
        time.sleep(SETTLE_AFTER_HIDE_S)
        hidden = measure_idle(launch.proc, idle)
    finally:
        launch.close()
    return {"startup_s": launch.startup_s, "rss_kb": rss, "shown": shown, "hidden": hidden,
            "hide_s": hide_s}


def median_of(runs, *path):
    values = []
    for r in runs:
        v = r
        for key in path:
            v = v[key]
        values.append(v)
    return statistics.median(values)


def common_gaps(idles, top=4):
    counts = collections.Counter(g for idle in idles for g in idle["gaps_10ms"])
    total = sum(counts.values())
    if not total:
        return "no repeated wake events"
    shown = ", ".join(f"{ms} ms x{n}" for ms, n in counts.most_common(top))
    return f"{shown} (of {total} gaps)"


def verdict(ok):
    return "PASS" if ok else "FAIL"


def report(args, minimal, minimal_hidden, program, model, wine_version, prefix, program_label):
    m = lambda *p: median_of(minimal, *p)
    mh = lambda *p: median_of(minimal_hidden, *p)
    q = lambda *p: median_of(program, *p)
    lines = []
    out = lines.append
    out(f"QuondaHalvix vs minimal Win32 window -- {wine_version}, N={args.runs} launches each, "
        f"median; idle period {args.idle:g} s")
    out(f"{program_label}; prefix {prefix}")
    out("")
    header = f"{'measure':<34}{'minimal':>12}{'QuondaHalvix':>14}{'QH vs min':>14}"
    out(header)
    out("-" * len(header))

    def row(label, a, b, rel):
        out(f"{label:<34}{a:>12}{b:>14}{rel:>14}")

    def ratio(a, b):
        return f"{b / a:.2f}x" if a > 0 else "n/a"

    def diff(a, b):
        return f"{b - a:+.2f}"

    row("start-up to window mapped (s)", f"{m('startup_s'):.3f}", f"{q('startup_s'):.3f}",
        ratio(m("startup_s"), q("startup_s")))
    rss_min, rss_qh = m("rss_kb") / 1024.0, q("rss_kb") / 1024.0
    row("VmRSS 3 s after mapping (MB)", f"{rss_min:.1f}", f"{rss_qh:.1f}", f"{rss_qh - rss_min:+.1f} MB")
    for state, mget in (("shown", m), ("hidden", mh)):
        # The minimal window idles at zero, so a ratio says nothing: give the excess per second.
        for key, label in (("cpu_ms_per_s", "CPU (ms per s)"), ("wakeups_per_s", "wakeups (ctx switches/s)"),
                           ("events_per_s", "wake events/s")):
            row(f"{state}: {label}", f"{mget(state, key):.2f}", f"{q(state, key):.2f}",
                diff(mget(state, key), q(state, key)))
    row("threads at end of hidden period", f"{mh('hidden', 'threads'):.0f}", f"{q('hidden', 'threads'):.0f}", "")
    out("")
    out(f"Hiding: QuondaHalvix, click on \"X\" to window unmapped: median {q('hide_s'):.3f} s; "
        f"minimal, mapped to unmapped with a 1 s hide timer: median {mh('unmapped_after_map_s'):.3f} s")
    out("  (the part beyond 1 s is Wine's own delay in unmapping a hidden window without a window manager)")
    out("")

    timers = " + ".join(f"{ms} ms" for ms in OWN_TIMERS_MS)
    mw, me, mc = model["wakeups_per_s"], model["events_per_s"], model["cpu_ms_per_s"]
    out(f"Stand-in with only the program's own timers ({timers} = {OWN_TICKS_PER_S:.2f} ticks/s), "
        f"minimal window hidden, 1 launch:")
    out(f"  {mw:.2f} wakeups/s, {me:.2f} wake events/s, {mc:.2f} ms CPU per s "
        f"-> {mw / OWN_TICKS_PER_S:.2f} context switches per timer tick")
    per_tick = mw / OWN_TICKS_PER_S if mw > 0 else float("nan")
    qw, qe = q("hidden", "wakeups_per_s"), q("hidden", "events_per_s")
    ticks_equiv = qw / per_tick if per_tick > 0 else float("nan")
    out(f"  QuondaHalvix hidden: {qw:.2f} wakeups/s = {qw / mw if mw else float('nan'):.2f}x the stand-in, "
        f"i.e. about {ticks_equiv:.1f} timer ticks/s at the stand-in's cost per tick (own timers: "
        f"{OWN_TICKS_PER_S:.2f}/s); {qe:.2f} wake events/s against {me:.2f}/s for the stand-in, "
        f"median gap {q('hidden', 'median_gap_ms'):.0f} ms")
    sw = q("shown", "wakeups_per_s")
    out(f"  QuondaHalvix shown: {sw:.2f} wakeups/s = about {sw / per_tick:.1f} timer ticks/s at that cost "
        f"(own timers + 100 ms GIF frames: {OWN_TICKS_PER_S + 10:.2f}/s, each frame also paints)")
    out("  Gaps between wake events, 10 ms bins, most frequent, all launches:")
    out(f"    stand-in with own timers: {common_gaps([model])}")
    out(f"    QuondaHalvix hidden:      {common_gaps([r['hidden'] for r in program])}")
    out(f"    QuondaHalvix shown:       {common_gaps([r['shown'] for r in program])}")
    out("")
    startup_ratio = q("startup_s") / m("startup_s")
    hidden_ok = mw > 0 and qw <= mw * GOAL_HIDDEN_FACTOR
    out("Goals")
    out(f"  start-up within {GOAL_STARTUP_RATIO}x minimal:        {startup_ratio:.2f}x   "
        f"{verdict(startup_ratio <= GOAL_STARTUP_RATIO)}")
    out(f"  memory within +{GOAL_MEMORY_MB:g} MB of minimal:      {rss_qh - rss_min:+.1f} MB  "
        f"{verdict(rss_qh - rss_min <= GOAL_MEMORY_MB)}")
    out(f"  hidden: no periodic work beyond own timers:  {qw:.2f} wakeups/s vs {mw:.2f} for the timers alone "
        f"(limit {GOAL_HIDDEN_FACTOR}x)  {verdict(hidden_ok)}")
    return "\n".join(lines)


def strip_gaps(value):
    if isinstance(value, dict):
        return {k: strip_gaps(v) for k, v in value.items() if k != "gaps_10ms"}
    if isinstance(value, list):
        return [strip_gaps(v) for v in value]
    return value


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--idle", type=float, default=60.0, help="idle period per state, seconds (default 60)")
    parser.add_argument("--runs", "-n", type=int, default=5, help="launches of each program (default 5)")
    args = parser.parse_args()
    if args.idle <= 0 or args.runs <= 0:
        parser.error("--idle and --runs must be positive")
    if not BUILT_EXE.exists():
        sys.exit(f"{BUILT_EXE} is missing: run scripts/build win64 first")

    build_minimal()
    program_label = snapshot_program()
    log(program_label)
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
        # One persistent wineserver, so neither program pays for starting it.
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
        Launch(bench, MINIMAL_EXE, MINIMAL_NAME).close()
        warm = Launch(bench, PROGRAM_EXE, PROGRAM_NAME)
        time.sleep(RSS_DELAY_S)
        warm.close()

        minimal, minimal_hidden, program = [], [], []
        for i in range(args.runs):
            # Alternate the order so drift in the shared machine's load hits both alike.
            steps = [("minimal shown", lambda: minimal.append(run_minimal_shown(bench, args.idle))),
                     ("minimal hidden", lambda: minimal_hidden.append(run_minimal_hidden(bench, args.idle))),
                     ("QuondaHalvix", lambda: program.append(run_program(bench, args.idle)))]
            if i % 2:
                steps.reverse()
            for label, step in steps:
                log(f"round {i + 1}/{args.runs}: {label}")
                step()
        log("stand-in with the program's own timers")
        timer_args = [a for ms in OWN_TIMERS_MS for a in ("--timer", str(ms))]
        model = run_minimal_hidden(bench, args.idle, timer_args)["hidden"]

        print(report(args, minimal, minimal_hidden, program, model, wine_version, env["WINEPREFIX"],
                     program_label), flush=True)
        for label, runs in (("minimal", minimal), ("minimal hidden", minimal_hidden), ("QuondaHalvix", program)):
            log(f"raw {label}: {strip_gaps(runs)}")
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
