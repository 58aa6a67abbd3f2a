"""What the bench does with each program: where the programs under test are
and what their windows are called, the client points it clicks, and the
runs themselves. A baseline is launched and measured shown; the minimal
window hides itself and is measured hidden; QuondaHalvix is driven by real
pointer and keyboard input through its states (shown and idle, VersionWindow
waiting for its lookup, the disk check, hidden by its "X") and, in a second
launch, with a task armed and the notice at rest. Each run returns a dict of
figures; bench_report.py turns them into the table."""

import time

from launch import REPO, Launch, visible_of_size, visible_windows, wait_until, xdotool
from procfs import measure_idle, read_mappings, read_rss_kb

MINIMAL_EXE = REPO / "build" / "bench" / "minimal_window.exe"
FLOOR_EXE = REPO / "build" / "bench" / "platform_floor.exe"
# Launched from a copy (same file name: the program looks for itself by it),
# so a rebuild during the run cannot mix two builds in one table.
PROGRAM_EXE = REPO / "build" / "bench" / "QuondaHalvix.exe"
BASELINE_EXE = REPO / "build" / "bench" / "baseline" / "QuondaHalvix.exe"

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

RSS_DELAY_S = 3.0
SETTLE_AFTER_HIDE_S = 2.0


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
