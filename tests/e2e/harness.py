"""Drives the shipped exe from outside: starts it under Wine in a prefix of its
own, finds its X windows by the Windows process id, clicks and types at client
coordinates with xdotool, and reads the screen back into PIL. There is no
window manager under Xvfb, so an X window's map state and geometry are exactly
what the program asked Wine for. Everything here polls against a deadline;
nothing sleeps a fixed time and hopes."""
import os
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import time
from dataclasses import dataclass
from pathlib import Path

import pytest
from PIL import ImageGrab

# Debian installs the Wine tools in /usr/lib/wine only; scripts/wine-env
# hands their full paths on, and the same paths are the default when run alone.
WINE64 = os.environ.get("WINE64", "/usr/lib/wine/wine64")
WINESERVER = os.environ.get("WINESERVER", "/usr/lib/wine/wineserver")
REPO = Path(__file__).resolve().parents[2]
SCREEN = (1920, 1080)


def scaled(v, dpi):
    """A 96-DPI length or coordinate, or a tuple of them, in device pixels at
    dpi, rounded half up; a (left, top, right, bottom) rect's edges one by one."""
    if isinstance(v, tuple):
        return tuple(scaled(n, dpi) for n in v)
    return (v * dpi + 48) // 96


def build_file(name):
    """A file of the build under test: the exe (QH_EXE, by default the win64
    build's) or a test tool built with it, which sits beside it."""
    path = Path(os.environ.get("QH_EXE", REPO / "build/win64/QuondaHalvix.exe")).with_name(name)
    if not path.is_file():
        pytest.fail(f"{path} is missing: run scripts/build win64 first")
    return path


class Deadline(AssertionError):
    pass


def wait_until(probe, timeout, what, interval=0.05):
    """Returns the first truthy result of probe(); fails with `what` once the
    deadline passes."""
    end = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() >= end:
            raise Deadline(f"not within {timeout} s: {what}")
        time.sleep(interval)


def x_env():
    # X tools complain on stderr about a locale that is not generated here;
    # C.UTF-8 is built in and still lets Chinese window titles through.
    env = dict(os.environ)
    env["LANG"] = "C.UTF-8"
    env.pop("LC_ALL", None)
    return env


def x_tool(*args, check=True):
    done = subprocess.run(args, env=x_env(), capture_output=True, text=True, timeout=20)
    if check and done.returncode != 0:
        raise RuntimeError(f"{' '.join(args)} failed: {done.stderr.strip()}")
    return done.stdout


def xdotool(*args):
    x_tool("xdotool", *[str(a) for a in args])


# Where the pointer rests between actions: hover images must not change the
# pixels a test reads, and no window of the program is ever placed here.
POINTER_REST = (1900, 20)


def park_pointer():
    xdotool("mousemove", *POINTER_REST)


def wine_env(prefix):
    env = dict(os.environ)
    env.update(
        WINEPREFIX=str(prefix),
        WINEDEBUG="-all",
        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d",
        LANG="zh_CN.UTF-8",
    )
    env.pop("LC_ALL", None)
    return env


# ---------------------------------------------------------------- screen ----

def grab(rect=None):
    """Screenshot of the root window, or of rect = (x, y, width, height) in
    screen coordinates, as an RGB image."""
    bbox = None if rect is None else (rect[0], rect[1], rect[0] + rect[2], rect[1] + rect[3])
    return ImageGrab.grab(bbox=bbox, xdisplay=os.environ["DISPLAY"]).convert("RGB")


def count(image, rect, match):
    """How many pixels of image inside rect = (left, top, right, bottom) match."""
    return sum(1 for p in image.crop(rect).getdata() if match(p))


def exact(rgb):
    return lambda p: p == rgb


def teal(p):
    r, g, b = p
    return r < 90 and g > 100 and b > 100 and abs(g - b) < 40


def white(p):
    return min(p) >= 245


def light(p):
    return min(p) >= 200


def dark(p):
    return max(p) <= 110


def ink_width(image):
    """Columns of image that hold at least one dark pixel: a rough width of
    the text drawn there."""
    return sum(
        1 for x in range(image.width)
        if any(dark(image.getpixel((x, y))) for y in range(image.height))
    )


def skin_misses(window, table):
    image = window.shot()
    misses = []
    for what, rect, match, share in table:
        area = (rect[2] - rect[0]) * (rect[3] - rect[1])
        got = count(image, rect, match) / area
        if got < share:
            misses.append(f"{what}: {got:.3f} of {rect} < {share}")
    return misses


def assert_skin(window, table):
    # Polls because a freshly mapped window may not have served every paint.
    try:
        wait_until(lambda: not skin_misses(window, table), 5, "skin drawn", interval=0.2)
    except Deadline:
        raise AssertionError("\n".join(skin_misses(window, table))) from None


# --------------------------------------------------------------- windows ----

@dataclass(frozen=True)
class WinInfo:
    id: int
    name: str | None
    x: int
    y: int
    width: int
    height: int
    viewable: bool

    @property
    def geometry(self):
        return (self.x, self.y, self.width, self.height)

    @property
    def size(self):
        return (self.width, self.height)


def window_info(wid):
    """Map state and geometry of one X window, or None once it is destroyed."""
    done = subprocess.run(["xwininfo", "-id", str(wid)], env=x_env(),
                          capture_output=True, text=True, timeout=20)
    if done.returncode != 0:
        return None
    out = done.stdout
    field = lambda label: int(re.search(label + r":\s+(-?\d+)", out).group(1))
    title = re.search(r'Window id: \S+ (.*)', out).group(1)
    name = None if title == "(has no name)" else title.strip('"')
    return WinInfo(
        id=wid, name=name,
        x=field("Absolute upper-left X"), y=field("Absolute upper-left Y"),
        width=field("Width"), height=field("Height"),
        viewable="IsViewable" in out,
    )


class Window:
    """One top-level window of the program, addressed in client coordinates
    (the windows are frameless, so the X window is the client area)."""

    def __init__(self, wid):
        self.id = wid

    def info(self):
        info = window_info(self.id)
        if info is None:
            raise AssertionError(f"window {self.id:#x} is gone")
        return info

    def geometry(self):
        return self.info().geometry

    def to_screen(self, cx, cy):
        info = self.info()
        return info.x + cx, info.y + cy

    def shot(self, rect=None):
        """Screenshot of the window, or of rect = (x, y, w, h) in client
        coordinates."""
        info = self.info()
        if rect is None:
            rect = (0, 0, info.width, info.height)
        x, y, w, h = rect
        return grab((info.x + x, info.y + y, w, h))

    def click(self, cx, cy, button=1):
        sx, sy = self.to_screen(cx, cy)
        xdotool("mousemove", "--sync", sx, sy, "click", button)

    def pixel(self, cx, cy):
        return self.shot((cx, cy, 1, 1)).getpixel((0, 0))

    def drag(self, cx, cy, dx, dy, steps=4):
        """Presses at a client point, moves the pointer by (dx, dy) in a few
        steps and releases."""
        sx, sy = self.to_screen(cx, cy)
        args = ["mousemove", "--sync", sx, sy, "mousedown", 1]
        for i in range(1, steps + 1):
            args += ["mousemove", sx + dx * i // steps, sy + dy * i // steps]
        args += ["mouseup", 1]
        xdotool(*args)

    def wait_unmapped(self, timeout=10):
        # Without a window manager Wine waits up to 2 s for a withdrawn state
        # that never comes before it reports the window hidden.
        def hidden():
            info = window_info(self.id)
            return info is None or not info.viewable
        wait_until(hidden, timeout, f"window {self.id:#x} unmapped")

    def wait_viewable(self, timeout=10):
        wait_until(lambda: self.info().viewable, timeout, f"window {self.id:#x} mapped")

    def wait_geometry(self, geometry, timeout=10):
        try:
            wait_until(lambda: self.geometry() == tuple(geometry), timeout,
                       f"window {self.id:#x} at {geometry}")
        except Deadline as e:
            raise Deadline(f"{e}; it is at {self.geometry()}") from None

    def net_wm_state(self):
        return x_tool("xprop", "-id", str(self.id), "_NET_WM_STATE")

    def iconic(self):
        """Wine marks a minimised window in its WM_HINTS; with no window
        manager to act on it the X window itself stays mapped."""
        return "Iconic State" in x_tool("xprop", "-id", str(self.id), "WM_HINTS")

    def owner(self):
        """The X window this one is transient for: Wine sets the hint for
        every window that has a Win32 owner."""
        match = re.search(r"window id # (0x[0-9a-f]+)",
                          x_tool("xprop", "-id", str(self.id), "WM_TRANSIENT_FOR"))
        return int(match.group(1), 16) if match else None


# ------------------------------------------------------------------ tray ----

TRAY_NAME = "Wine System Tray"


def shell_windows():
    """Mapped X windows of the prefix's shell (explorer.exe)."""
    out = x_tool("xdotool", "search", "--onlyvisible", "--class", "^explorer\\.exe$", check=False)
    infos = (window_info(int(w)) for w in out.split())
    return [i for i in infos if i is not None and i.viewable]


def balloons():
    """The shell's balloon notices: nameless, and taller than the one-line
    hover tips (about 19 px) that share their class."""
    return [i for i in shell_windows() if i.name is None and i.width >= 100 and i.height >= 40]


class Tray:
    """The stand-alone tray Wine shows without a desktop shell: one row of
    square slots, filled from the left in the order icons were added."""

    def __init__(self, info):
        self.info = info

    @staticmethod
    def find():
        trays = [i for i in shell_windows() if i.name == TRAY_NAME]
        if len(trays) > 1:
            raise AssertionError(f"more than one tray on the display: {trays}")
        return Tray(trays[0]) if trays else None

    def slot(self, index):
        """Screen rect (x, y, w, h) of one icon slot."""
        side = self.info.height
        return (self.info.x + index * side, self.info.y, side, side)

    def teal_pixels(self, index):
        x, y, w, h = self.slot(index)
        return count(grab((x, y, w, h)), (0, 0, w, h), teal)

    def icon_point(self, index=0):
        # Inside the slot but above its middle: a balloon's stem points at the
        # icon's centre and the balloon window starts there.
        x, y, w, h = self.slot(index)
        return x + w // 2, y + h // 5

    def click(self, button, index=0):
        xdotool("mousemove", "--sync", *self.icon_point(index), "click", button)


def tray_icon_shown(least=60):
    """True while our icon is drawn in the first slot (the teal power symbol
    fills about 150 of its 400 pixels)."""
    tray = Tray.find()
    return tray is not None and tray.teal_pixels(0) >= least


class BalloonSweeper:
    """Takes balloon notices off the screen as they appear. The start-up
    notice is drawn over the top left of our windows for ten seconds, where
    the window tests read pixels and click. Unmapping the X window leaves the
    shell's own state alone (it destroys the balloon on its timer as usual),
    where a click on the balloon would take the foreground from our menus.
    Driven by the root window's map events (xev), so nothing polls."""

    def __enter__(self):
        # Line-buffered, or the events would sit in xev's stdio buffer.
        self._xev = subprocess.Popen(
            ["stdbuf", "-oL", "xev", "-root", "-event", "substructure"], env=x_env(),
            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self._thread = threading.Thread(target=self._run, daemon=True)
        self._thread.start()
        return self

    def _run(self):
        mapped = False
        for line in self._xev.stdout:
            if line.startswith("MapNotify event"):
                mapped = True
                continue
            match = re.search(r"window (0x[0-9a-f]+), override YES", line) if mapped else None
            mapped = False
            if match and self._is_balloon(int(match.group(1), 16)):
                x_tool("xdotool", "windowunmap", str(int(match.group(1), 16)), check=False)

    @staticmethod
    def _is_balloon(wid):
        info = window_info(wid)
        if info is None or info.name is not None or info.width < 100 or info.height < 40:
            return False
        return '"explorer.exe"' in x_tool("xprop", "-id", str(wid), "WM_CLASS", check=False)

    def __exit__(self, *exc):
        self._xev.terminate()
        self._xev.wait(10)
        self._thread.join(10)


# --------------------------------------------------------------- process ----

class App:
    """One running copy of the program. The pid is the Windows process
    itself, so its exit status is the program's exit code."""

    def __init__(self, proc, log_path):
        self.proc = proc
        self.pid = proc.pid
        self.log_path = log_path
        self.started = time.monotonic()

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout):
        """The program's exit code; fails if it is still running at the
        deadline."""
        try:
            code = self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Deadline(f"pid {self.pid} still running after {timeout} s") from None
        self.ended = time.monotonic()
        return code

    def kill(self):
        if self.running():
            os.kill(self.pid, signal.SIGKILL)
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            pass

    def windows(self, visible_only=False):
        """Every X window Wine created for this process (hidden ones
        included unless visible_only)."""
        args = ["xdotool", "search"] + (["--onlyvisible"] if visible_only else []) + ["--pid", str(self.pid)]
        done = subprocess.run(args, env=x_env(), capture_output=True, text=True, timeout=20)
        infos = (window_info(int(w)) for w in done.stdout.split())
        return [i for i in infos if i is not None]

    def find_window(self, name=None, size=None, position=None, visible=True):
        for info in self.windows(visible_only=visible):
            if visible and not info.viewable:
                continue
            if name is not None and info.name != name:
                continue
            if size is not None and info.size != tuple(size):
                continue
            if position is not None and (info.x, info.y) != tuple(position):
                continue
            return Window(info.id)
        return None

    def wait_window(self, name=None, size=None, position=None, visible=True, timeout=30):
        def probe():
            if not self.running():
                raise AssertionError(f"the program exited with {self.proc.returncode}; log:\n{self.log()}")
            return self.find_window(name, size, position, visible)
        return wait_until(probe, timeout, f"window name={name!r} size={size} position={position}")

    def log(self):
        try:
            return Path(self.log_path).read_text(errors="replace")[-4000:]
        except OSError:
            return ""


# The template has no Chinese face behind the system UI font, so menus,
# balloons and message boxes would draw every Chinese character as a box.
UI_FONT_REPLACEMENTS = """
[Software\\\\Wine\\\\Fonts\\\\Replacements] 1700000000
"MS Shell Dlg"="WenQuanYi Zen Hei"
"Tahoma"="WenQuanYi Zen Hei"
"""


class Prefix:
    """A private copy of the template Wine prefix with its own wineserver and
    services, started before the program so that start-up does not race the
    server's own boot. With the services up first, the prefix's process list
    starts with services.exe as on a booted system, not with our program."""

    def __init__(self, template, dpi=96):
        self.root = Path(tempfile.mkdtemp(prefix="qh-e2e-"))
        self.path = self.root / "prefix"
        self.env = wine_env(self.path)
        self.apps = []
        try:
            subprocess.run(["cp", "-a", str(template), str(self.path)], check=True)
            with open(self.path / "user.reg", "a", encoding="utf-8") as reg:
                reg.write(UI_FONT_REPLACEMENTS)
                if dpi != 96:  # the server reads it once, when it starts
                    reg.write(f'\n[Control Panel\\\\Desktop] 1700000000\n"LogPixels"=dword:{dpi:08x}\n')
            subprocess.run([WINESERVER, "-p"], env=self.env, check=True, timeout=30)
            subprocess.run([WINE64, "cmd.exe", "/c", "exit"], env=self.env, cwd=self.root,
                           check=True, timeout=60, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except BaseException:
            self.close()
            raise

    def launch(self, exe, *args):
        log_path = self.root / f"app{len(self.apps)}.log"
        with open(log_path, "wb") as log:
            proc = subprocess.Popen([WINE64, str(exe), *args], env=self.env, cwd=self.root,
                                    stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
        app = App(proc, log_path)
        self.apps.append(app)
        return app

    def launch_offline(self, exe):
        """Starts the program with no network: in a network namespace of its
        own with only the loopback interface up, served by a fresh wineserver
        started inside it (the prefix's server is ended first). The shell
        execs down to the program, so the pid is the program's."""
        subprocess.run([WINESERVER, "-k"], env=self.env, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        script = ('ip link set lo up && "$QH_WINESERVER" -p && '
                  '"$QH_WINE64" cmd.exe /c exit >/dev/null 2>&1; exec "$QH_WINE64" "$QH_EXE"')
        env = dict(self.env, QH_WINESERVER=WINESERVER, QH_WINE64=WINE64, QH_EXE=str(exe))
        log_path = self.root / f"app{len(self.apps)}.log"
        with open(log_path, "wb") as log:
            proc = subprocess.Popen(["unshare", "--net", "sh", "-c", script], env=env,
                                    cwd=self.root, stdin=subprocess.DEVNULL, stdout=log,
                                    stderr=subprocess.STDOUT)
        app = App(proc, log_path)
        self.apps.append(app)
        return app

    def close(self):
        for app in self.apps:
            app.kill()
        # Ends this prefix's services and the server itself; -k returns once
        # the server has gone, so the copy can be removed safely afterwards.
        subprocess.run([WINESERVER, "-k"], env=self.env, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.rmtree(self.root, ignore_errors=True)
