"""Starting and watching the programs under test: the bench's own process
list (every process it starts it ends by PID), a private Xvfb screen, the
Wine environment on the project's prefix, and the windows of a launch found
through xdotool by name, size and place. `Launch` is one program from its
start until its window is mapped, and its close with the settling time that
keeps the next launch from paying for this one."""

import os
import signal
import subprocess
import time
from pathlib import Path

from procfs import POLL_S

REPO = Path(__file__).resolve().parent.parent
# Debian installs the Wine tools in /usr/lib/wine only; scripts/wine-env
# hands their full paths on, and the same paths are the default when run alone.
WINE64 = os.environ.get("WINE64", "/usr/lib/wine/wine64")
WINESERVER = os.environ.get("WINESERVER", "/usr/lib/wine/wineserver")

MAP_TIMEOUT_S = 30.0
# A launch within about 2 s of killing QuondaHalvix waits out the rest of those
# 2 s (explorer.exe is busy with the dead program's tray icon and windows; 2 s
# is also how long Wine waits when unmapping a window with no window manager).
# Every close waits this long, whichever program it was, so no launch pays.
SETTLE_AFTER_CLOSE_S = 3.0


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
