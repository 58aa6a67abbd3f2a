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
FLOOR_EXE = REPO / "build" / "bench" / "platform_floor.exe"
FLOOR_RC = REPO / "bench" / "platform_floor.rc"
WINDRES = "x86_64-w64-mingw32-windres"
BUILT_EXE = REPO / "build" / "win64" / "QuondaHalvix.exe"
# Launched from a copy (same file name: the program looks for itself by it),
# so a rebuild during the run cannot mix two builds in one table.
PROGRAM_EXE = REPO / "build" / "bench" / "QuondaHalvix.exe"
BASELINE_EXE = REPO / "build" / "bench" / "baseline" / "QuondaHalvix.exe"
CXX = "x86_64-w64-mingw32-g++-posix"

MINIMAL_NAME = "MinimalWindow"
FLOOR_NAME = "PlatformFloor"
PROGRAM_NAME = "QuondaHalvix"
# Client points of the main window (frameless: client and X-window
# coordinates coincide).
CLOSE_XY = (858, 12)          # the white "X"
CHECK_XY = (584, 280)         # "开始检测"
UPDATE_XY = (760, 16)         # the update link, opens VersionWindow
HIBERNATE_XY = (537, 448)     # "休眠模式": harmless should the task ever fire
FIELDS_XY = ((163, 413), (329, 413), (479, 413))  # hour, minute, second
COMMAND_XY = (324, 473)
# VersionWindow (no title; known by its size) and its controls.
VERSION_SIZE = (378, 232)
LOOKUP_XY = (332, 136)        # "检测最新版本"
VERSION_CLOSE_XY = (376, 12)  # its "X"
# The task notice at rest: 384x205, 30 px above the bottom of the screen.
NOTICE_SIZE = (384, 205)
SCREEN_HEIGHT = 1080
NOTICE_REST_Y = SCREEN_HEIGHT - 205 - 30
NOTICE_REST_SAMPLE_S = 2.0  # it rests until its 15 s timer, at a phase of its own

DISK_CHECK_S = 2.0       # 101 ticks of 20 ms
LOOKUP_WAIT_S = 6.0      # the lookup's timer period

OWN_TIMERS_MS = (1000, 1000, 15000)
OWN_TICKS_PER_S = sum(1000.0 / ms for ms in OWN_TIMERS_MS)

GOAL_STARTUP_RATIO = 1.2      # of the floor
GOAL_MEMORY_MB = 6.0          # over the floor
GOAL_MEMORY_VERSION_MB = 10.0  # over the floor, after VersionWindow
GOAL_SHOWN_CPU_MS = 4.0
GOAL_SHOWN_SWITCHES = 100.0
GOAL_EXE_MB = 1.5
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


def xdotool(env, *args):
    subprocess.run(["xdotool", *map(str, args)], env=env, check=True)


def window_geometry(env, wid):
    """(x, y, width, height) of an X window, or None once it is gone."""
    r = subprocess.run(["xdotool", "getwindowgeometry", "--shell", str(wid)], env=env,
                       capture_output=True, text=True)
    if r.returncode != 0:
        return None
    v = dict(line.split("=", 1) for line in r.stdout.split())
    return int(v["X"]), int(v["Y"]), int(v["WIDTH"]), int(v["HEIGHT"])


def visible_of_size(env, pid, size, y=None, only_visible=True):
    """Visible windows of one program with that size (and top); with
    only_visible false also those Wine keeps unmapped, as it does a window
    wholly off the screen."""
    r = subprocess.run(["xdotool", "search", *(["--onlyvisible"] if only_visible else []),
                        "--pid", str(pid)], env=env, capture_output=True, text=True)
    found = []
    for wid in r.stdout.split():
        g = window_geometry(env, wid)
        if g and g[2:] == tuple(size) and (y is None or g[1] == y):
            found.append((wid, g))
    return found


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


def read_mappings(pid):
    """Resident kB per mapped file (by name) and per kind of anonymous memory."""
    rss = collections.Counter()
    name = None
    for line in Path(f"/proc/{pid}/smaps").read_text().splitlines():
        fields = line.split()
        if "-" in fields[0] and len(fields) >= 5 and not fields[0].endswith(":"):
            name = fields[5].rsplit("/", 1)[-1] if len(fields) > 5 else "[anon]"
        elif fields[0] == "Rss:" and name is not None:
            rss[name] += int(fields[1])
    return rss


FONT_SUFFIXES = (".ttc", ".ttf", ".otf")
OWN_MEMORY = ("[anon]", "[heap]", "[stack]")


def memory_breakdown(program, floor):
    """Where the program's resident memory beyond the floor's goes, in kB."""
    extra = {k: program[k] - floor.get(k, 0) for k in program}
    fonts = sum(v for k, v in extra.items() if k.endswith(FONT_SUFFIXES))
    own = sum(extra.get(k, 0) for k in OWN_MEMORY)
    only = {k: v for k, v in extra.items() if k not in floor and not k.endswith(FONT_SUFFIXES)
            and k not in OWN_MEMORY}
    shared = sum(v for k, v in extra.items() if k in floor and not k.endswith(FONT_SUFFIXES)
                 and k not in OWN_MEMORY)
    return {"total": sum(extra.values()), "fonts": fonts, "own": own, "shared": shared,
            "only": sorted(only.items(), key=lambda kv: -kv[1])}


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
        "per_event": switches / len(events) if events else 0.0,
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


def run_baseline(bench, idle, exe, name):
    launch = Launch(bench, exe, name)
    try:
        rss = rss_after_map(launch)
        mappings = read_mappings(launch.proc.pid)
        shown = measure_idle(launch.proc, idle)
    finally:
        launch.close()
    return {"startup_s": launch.startup_s, "rss_kb": rss, "mappings": mappings, "shown": shown}


def run_minimal_hidden(bench, idle, extra_args=()):
    launch = Launch(bench, MINIMAL_EXE, MINIMAL_NAME, ("--hidden-after", "1", *extra_args))
    try:
        unmapped_s = launch.wait_unmapped() - launch.t_map
        time.sleep(SETTLE_AFTER_HIDE_S)
        hidden = measure_idle(launch.proc, idle)
    finally:
        launch.close()
    return {"hidden": hidden, "unmapped_after_map_s": unmapped_s}


class Program:
    """One launch of QuondaHalvix, driven by real pointer and keyboard input."""

    def __init__(self, bench, exe):
        self.bench, self.env = bench, bench.env
        self.launch = Launch(bench, exe, PROGRAM_NAME)
        self.proc = self.launch.proc
        self.main = visible_windows(self.env, PROGRAM_NAME)[0]

    def click(self, wid, xy):
        # Wine takes the pointer position from motion events: move first, then press.
        xdotool(self.env, "mousemove", "--window", wid, *xy)
        time.sleep(0.2)
        xdotool(self.env, "click", "1")

    def type_into(self, xy, text):
        # Keys go to the window under the pointer (no window manager moves
        # the X focus), so one call clicks, selects and types.
        xdotool(self.env, "mousemove", "--window", self.main, *xy, "click", "1", "key", "ctrl+a",
                "type", text)

    def alive(self):
        if self.proc.poll() is not None:
            raise RuntimeError(f"QuondaHalvix ended (exit {self.proc.returncode})")

    def close(self):
        self.launch.close()


def run_program(bench, idle, exe):
    p = Program(bench, exe)
    r = {"startup_s": p.launch.startup_s}
    try:
        r["rss_kb"] = rss_after_map(p.launch)
        r["mappings"] = read_mappings(p.proc.pid)
        r["shown"] = measure_idle(p.proc, idle)

        p.click(p.main, UPDATE_XY)
        wait_until(lambda: visible_of_size(p.env, p.proc.pid, VERSION_SIZE), 10, "VersionWindow")
        version = visible_of_size(p.env, p.proc.pid, VERSION_SIZE)[0][0]
        time.sleep(0.5)
        p.click(version, LOOKUP_XY)
        t_lookup = time.monotonic()
        time.sleep(0.5)
        r["version"] = measure_idle(p.proc, min(idle, LOOKUP_WAIT_S - 1.5))
        time.sleep(max(0.0, t_lookup + LOOKUP_WAIT_S + 0.5 - time.monotonic()))
        p.click(version, VERSION_CLOSE_XY)
        wait_until(lambda: not visible_of_size(p.env, p.proc.pid, VERSION_SIZE), 10,
                   "VersionWindow to close")
        time.sleep(RSS_DELAY_S)
        p.alive()
        r["rss_version_kb"] = read_rss_kb(p.proc.pid)

        # Last before hiding: its result balloon would cover VersionWindow's "X".
        p.click(p.main, CHECK_XY)
        r["disk"] = measure_idle(p.proc, DISK_CHECK_S)
        time.sleep(1.0)

        t_click = time.monotonic()
        p.click(p.main, CLOSE_XY)
        r["hide_s"] = p.launch.wait_unmapped() - t_click
        p.alive()
        time.sleep(SETTLE_AFTER_HIDE_S)
        r["hidden"] = measure_idle(p.proc, idle)
    finally:
        p.close()
    return r


def run_armed(bench, idle, exe):
    """A task armed two hours ahead: measured while the risen notice rests on
    the screen, and once its own 15 s timer has sent it back below the screen
    and it rests there, the task still armed."""
    p = Program(bench, exe)
    try:
        time.sleep(1.0)
        p.click(p.main, HIBERNATE_XY)
        target = time.localtime(time.time() + 2 * 3600)
        for xy, value in zip(FIELDS_XY, (target.tm_hour, target.tm_min, target.tm_sec)):
            p.type_into(xy, f"{value:02d}")
        p.click(p.main, COMMAND_XY)
        resting = lambda: visible_of_size(p.env, p.proc.pid, NOTICE_SIZE, NOTICE_REST_Y)
        wait_until(resting, 15, "the notice at rest")
        time.sleep(0.5)
        on_screen = measure_idle(p.proc, NOTICE_REST_SAMPLE_S)
        # It may have started down during the sample: then that sample is not of a rest.
        r = {"armed": on_screen if resting() else None}
        wait_until(lambda: visible_of_size(p.env, p.proc.pid, NOTICE_SIZE, SCREEN_HEIGHT,
                                           only_visible=False), 20,
                   "the notice parked below the screen again")
        time.sleep(0.5)
        p.alive()
        r["armed_parked"] = measure_idle(p.proc, idle)
        return r
    finally:
        p.close()


def median_of(runs, *path):
    """Median over the launches that have the figure (a sample may be left out)."""
    values = []
    for r in runs:
        v = r
        for key in path:
            v = v[key] if v is not None else None
        if v is not None:
            values.append(v)
    return statistics.median(values)


def verdict(ok):
    return "PASS" if ok else "FAIL"


def report(args, runs, model, wine_version, prefix, labels):
    """runs: name -> list of per-launch results; labels: builds compared."""
    lines = []
    out = lines.append
    names = [n for n in ("minimal", "floor", "QuondaHalvix", "baseline") if runs.get(n)]
    med = lambda name, *path: median_of(runs[name], *path)
    out(f"QuondaHalvix against the minimal window and the platform floor -- {wine_version}, "
        f"N={args.runs} launches each, median; idle periods {args.idle:g} s")
    for label in labels:
        out(f"  {label}")
    out(f"  prefix {prefix}")
    out("")
    header = f"{'measure':<58}" + "".join(f"{n:>14}" for n in names) + f"{'QH vs floor':>14}"
    out(header)
    out("-" * len(header))

    def row(label, path, fmt, scale=1.0, vs=None):
        cells = []
        for n in names:
            try:
                cells.append(f"{med(n, *path) * scale:{fmt}}")
            except (KeyError, statistics.StatisticsError):
                cells.append("")
        rel = vs(med("floor", *path) * scale, med("QuondaHalvix", *path) * scale) if vs else ""
        out(f"{label:<58}" + "".join(f"{c:>14}" for c in cells) + f"{rel:>14}")

    ratio = lambda a, b: f"{b / a:.2f}x" if a > 0 else "n/a"
    excess = lambda a, b: f"{b - a:+.1f}"
    row("start-up to window mapped (s)", ("startup_s",), ".3f", vs=ratio)
    row("VmRSS 3 s after mapping (MB)", ("rss_kb",), ".1f", 1 / 1024, vs=excess)
    for key, label in (("cpu_ms_per_s", "CPU (ms per s)"), ("wakeups_per_s", "context switches/s"),
                       ("events_per_s", "wake events/s"), ("per_event", "switches per wake event")):
        row(f"shown, idle: {label}", ("shown", key), ".2f", vs=excess)
    for state, label in (("disk", "disk check"), ("version", "VersionWindow waiting"),
                         ("armed", "armed, notice resting on screen"),
                         ("armed_parked", "armed, notice parked again"),
                         ("hidden", "hidden, idle")):
        for key, what in (("cpu_ms_per_s", "CPU (ms per s)"), ("wakeups_per_s", "context switches/s"),
                          ("per_event", "switches per wake event")):
            row(f"{label}: {what}", (state, key), ".2f")
    row("VmRSS after VersionWindow (MB)", ("rss_version_kb",), ".1f", 1 / 1024)
    out("")
    timers = " + ".join(f"{ms} ms" for ms in OWN_TIMERS_MS)
    mw = model["wakeups_per_s"]
    out(f"Stand-in with only the program's own timers ({timers}), minimal window hidden, 1 launch: "
        f"{mw:.2f} context switches/s, {model['events_per_s']:.2f} wake events/s")
    out("")

    b = memory_breakdown(runs["QuondaHalvix"][0]["mappings"], runs["floor"][0]["mappings"])
    mb = lambda kb: f"{kb / 1024:.1f} MB"
    out(f"Where QuondaHalvix's memory beyond the floor's goes (first launch of each, 3 s after "
        f"mapping): {mb(b['total'])}")
    out(f"  its own heap and anonymous memory (pixels, buffers, objects): {mb(b['own'])}")
    out(f"  pages of font files (CJK glyphs drawn):                     {mb(b['fonts'])}")
    out(f"  more pages of libraries the floor loads too:                {mb(b['shared'])}")
    only = b["only"]
    out(f"  libraries only the program loads ({len(only)}):                    "
        f"{mb(sum(v for _, v in only))}, most: "
        + ", ".join(f"{k} {v / 1024:.1f}" for k, v in only[:8]))
    out("")

    q = lambda *p: med("QuondaHalvix", *p)
    f = lambda *p: med("floor", *p)
    startup = q("startup_s") / f("startup_s")
    rss = (q("rss_kb") - f("rss_kb")) / 1024
    rss_version = (q("rss_version_kb") - f("rss_kb")) / 1024
    hidden = q("hidden", "wakeups_per_s")
    exe_mb = PROGRAM_EXE.stat().st_size / 1e6
    out("Goals (QuondaHalvix)")
    out(f"  start-up within {GOAL_STARTUP_RATIO}x the floor:             {startup:.2f}x  "
        f"{verdict(startup <= GOAL_STARTUP_RATIO)}")
    out(f"  memory within the floor + {GOAL_MEMORY_MB:g} MB:             {rss:+.1f} MB  "
        f"{verdict(rss <= GOAL_MEMORY_MB)}")
    out(f"  after VersionWindow, within the floor + {GOAL_MEMORY_VERSION_MB:g} MB: {rss_version:+.1f} MB  "
        f"{verdict(rss_version <= GOAL_MEMORY_VERSION_MB)}")
    out(f"  shown, idle: CPU <= {GOAL_SHOWN_CPU_MS:g} ms/s:                {q('shown', 'cpu_ms_per_s'):.2f}  "
        f"{verdict(q('shown', 'cpu_ms_per_s') <= GOAL_SHOWN_CPU_MS)}")
    out(f"  shown, idle: <= {GOAL_SHOWN_SWITCHES:g} context switches/s:     {q('shown', 'wakeups_per_s'):.1f}  "
        f"{verdict(q('shown', 'wakeups_per_s') <= GOAL_SHOWN_SWITCHES)}")
    out(f"  hidden: only its own timers (<= {GOAL_HIDDEN_FACTOR}x the stand-in): {hidden:.2f} vs {mw:.2f}  "
        f"{verdict(mw > 0 and hidden <= mw * GOAL_HIDDEN_FACTOR)}")
    out(f"  one exe <= {GOAL_EXE_MB:g} MB:                          {exe_mb:.2f} MB  "
        f"{verdict(exe_mb <= GOAL_EXE_MB)}")
    return "\n".join(lines)


def strip_gaps(value):
    if isinstance(value, dict):
        return {k: strip_gaps(v) for k, v in value.items() if k not in ("gaps_10ms", "mappings")}
    if isinstance(value, list):
        return [strip_gaps(v) for v in value]
    return value


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
