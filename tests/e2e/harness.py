"""Drives the shipped exe from outside: under Wine in a prefix of its own, its
X windows found by the Windows pid, clicked and typed at with xdotool, read
back into PIL. With no window manager under Xvfb, an X window's map state and
geometry are exactly what the program asked Wine for."""
import contextlib
import datetime
import os
import re
import select
import shutil
import signal
import subprocess
import tempfile
import threading
import time
from collections import namedtuple
from pathlib import Path

import pytest
from PIL import ImageGrab

# Debian installs the Wine tools in /usr/lib/wine only.
WINE64 = os.environ.get("WINE64", "/usr/lib/wine/wine64")
WINESERVER = os.environ.get("WINESERVER", "/usr/lib/wine/wineserver")
REPO = Path(__file__).resolve().parents[2]
SCREEN = (1920, 1080)

# Where things are, in 96-DPI client coordinates: points (x, y), boxes
# (left, top, width, height), rects (left, top, right, bottom).
GREEN, RED, ORANGE = (0, 128, 0), (255, 0, 0), (255, 128, 0)
MAIN_NAME, MAIN_SIZE = "QuondaHalvix", (867, 524)
HEADER = (300, 60)  # a point of the teal header picture
CLOSE_BUTTON, MINIMISE_BUTTON, UPDATE_TEXT = (858, 12), (824, 12), (760, 16)
HOUR, MINUTE, SECOND = (149, 405, 28, 16), (314, 405, 30, 16), (465, 405, 28, 16)  # boxes
RESTART, LOGOFF = (264, 436, 74, 24), (383, 436, 72, 24)  # boxes of "重启电脑", "注销电脑"
COMMAND = (256, 461, 136, 24)        # box of 按钮1, "QuondaHalvix执行命令" / "取消任务"
STATUS_CAPTION = (8, 383, 200, 400)  # rect of 分组框3's caption
CHECK_BUTTON = (584, 280)            # 超级按钮1, "开始检测"
NOTICE_SIZE = (384, 205)
VERSION_SIZE, VERSION_AT, VERSION_CLOSE = (378, 232), (50, 50), (369, 12)
LOOKUP_BUTTON = (332, 136)           # 按钮1 of the version window, "检测最新版本"
LOOKUP_STATUS = (112, 144, 256, 160)  # rect of 透明标签3
PAGE_SLOT = (112, 136, 144, 24)      # box of what shows of the page between its masks
CONFIRM_SIZE, CONFIRM_AT = (536, 278), (50, 50)
CONFIRM_EXIT, CANCEL_EXIT = (316, 232), (468, 232)
MENU = ["官方网站", "显示主界面", "关于本软件", "用户意见反馈", "退出本软件"]


def scaled(v, dpi):
    """96-DPI lengths (one or a tuple) in device pixels at dpi, rounded half up."""
    return tuple(scaled(n, dpi) for n in v) if isinstance(v, tuple) else (v * dpi + 48) // 96


def centre(box):
    return box[0] + box[2] // 2, box[1] + box[3] // 2


def build_file(name):
    """The exe under test (QH_EXE) or a test tool built beside it."""
    path = Path(os.environ.get("QH_EXE", REPO / "build/win64/QuondaHalvix.exe")).with_name(name)
    if not path.is_file():
        pytest.fail(f"{path} is missing: run scripts/build win64 first")
    return path


class Deadline(AssertionError):
    pass


def wait_until(probe, timeout, what, interval=0.05):
    """The first truthy result of probe(); fails with `what` (or what()) at the deadline."""
    end = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() >= end:
            raise Deadline(f"not within {timeout} s: {what() if callable(what) else what}")
        time.sleep(interval)


def holds(probe, seconds, what, interval=0.1):
    """Fails as soon as probe() is falsy within `seconds`: for what must not happen."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        assert probe(), what
        time.sleep(interval)


def same_day_target(ahead):
    """The host clock's (Wine's) next whole second, plus `ahead` seconds."""
    now = datetime.datetime.now()
    target = now.replace(microsecond=0) + datetime.timedelta(seconds=ahead + 1)
    if (target + datetime.timedelta(seconds=5)).date() != now.date():
        pytest.skip("too close to midnight for a same-day target")
    return target


def wait_gone(pid, until):
    """time.time() when the process ended, or None if it runs at `until`
    (a pidfd: polling would blur the figure)."""
    fd = os.pidfd_open(pid)
    try:
        poller = select.poll()
        poller.register(fd, select.POLLIN)
        while not poller.poll(max(0.0, until - time.time()) * 1000):
            if time.time() >= until:
                return None
        return time.time()
    finally:
        os.close(fd)


def x_tool(*args, check=True):
    # The X tools complain about a locale not generated here; C.UTF-8 is built in.
    env = dict(os.environ, LANG="C.UTF-8")
    env.pop("LC_ALL", None)
    done = subprocess.run([str(a) for a in args], env=env, capture_output=True, text=True, timeout=20)
    if check and done.returncode != 0:
        raise RuntimeError(f"{' '.join(map(str, args))} failed: {done.stderr.strip()}")
    return done.stdout


def xdotool(*args):
    x_tool("xdotool", *args)


# Where the pointer rests between actions: no window of ours ever lies there.
POINTER_REST = (1900, 20)


def park_pointer():
    xdotool("mousemove", *POINTER_REST)


# ---------------------------------------------------------------- screen ----

def grab(box=None):
    """Screenshot of the root window, or of a box in screen coordinates."""
    bbox = box and (box[0], box[1], box[0] + box[2], box[1] + box[3])
    return ImageGrab.grab(bbox=bbox, xdisplay=os.environ["DISPLAY"]).convert("RGB")


def count(image, rect, match):
    return sum(1 for p in image.crop(rect).getdata() if match(p))


def exact(rgb):
    return lambda p: p == rgb


def teal(p):
    r, g, b = p
    return r < 90 and g > 100 and b > 100 and abs(g - b) < 40


def dark(p):
    return max(p) <= 110


def columns(image, match=dark):
    """Columns of image holding a matching pixel: the width of text drawn there."""
    return sum(1 for x in range(image.width)
               if any(match(image.getpixel((x, y))) for y in range(image.height)))


# --------------------------------------------------------------- windows ----

class WinInfo(namedtuple("WinInfo", "id name x y width height viewable")):
    size = property(lambda self: (self.width, self.height))


def window_info(wid):
    """Map state and geometry of one X window, or None once it is destroyed."""
    out = x_tool("xwininfo", "-id", wid, check=False)
    if "Map State" not in out:
        return None
    field = lambda label: int(re.search(label + r":\s+(-?\d+)", out).group(1))
    title = re.search(r'Window id: \S+ (.*)', out).group(1)
    return WinInfo(wid, None if title == "(has no name)" else title.strip('"'),
                   field("Absolute upper-left X"), field("Absolute upper-left Y"),
                   field("Width"), field("Height"), "IsViewable" in out)


def found(*args):
    """The windows `xdotool search ARGS` finds that still exist."""
    infos = (window_info(int(w)) for w in x_tool("xdotool", "search", *args, check=False).split())
    return [i for i in infos if i is not None]


class Window:
    """A top-level window in client coordinates (frameless: the X window is the client area)."""

    def __init__(self, wid):
        self.id = wid

    def info(self):
        info = window_info(self.id)
        if info is None:
            raise AssertionError(f"window {self.id:#x} is gone")
        return info

    def geometry(self):
        return self.info()[2:6]

    def to_screen(self, cx, cy):
        info = self.info()
        return info.x + cx, info.y + cy

    def shot(self, box=None):
        x, y, w, h = self.geometry()
        bx, by, bw, bh = box or (0, 0, w, h)
        return grab((x + bx, y + by, bw, bh))

    def pixel(self, cx, cy):
        return self.shot((cx, cy, 1, 1)).getpixel((0, 0))

    def click(self, cx, cy, button=1, park=False):
        # park: so that a hover image cannot pass for the state under test.
        xdotool("mousemove", "--sync", *self.to_screen(cx, cy), "click", button,
                *(("mousemove", *POINTER_REST) if park else ()))

    def key(self, *names):
        # Keys go to the window under the pointer: nothing moves the X focus.
        xdotool("mousemove", "--sync", *self.to_screen(8, 8), "key", *names)

    def drag(self, cx, cy, dx, dy, steps=4):
        sx, sy = self.to_screen(cx, cy)
        args = ["mousemove", "--sync", sx, sy, "mousedown", 1]
        for i in range(1, steps + 1):
            args += ["mousemove", sx + dx * i // steps, sy + dy * i // steps]
        xdotool(*args, "mouseup", 1)

    def wait_unmapped(self, timeout=10):
        # Wine waits up to 2 s for a withdrawn state no window manager will set.
        def hidden():
            info = window_info(self.id)
            return info is None or not info.viewable
        wait_until(hidden, timeout, f"window {self.id:#x} unmapped")

    def wait_geometry(self, geometry, timeout=10):
        wait_until(lambda: self.geometry() == geometry, timeout,
                   lambda: f"window {self.id:#x} at {geometry}; it is at {self.geometry()}")

    def prop(self, name):
        return x_tool("xprop", "-id", self.id, name)

    def iconic(self):
        # Wine marks a minimised window in WM_HINTS; the X window stays mapped.
        return "Iconic State" in self.prop("WM_HINTS")


def main_window(app, dpi=96):
    """The main window once painted (it is mapped before its first WM_PAINT)."""
    window = app.wait_window(name=MAIN_NAME, size=scaled(MAIN_SIZE, dpi))
    wait_until(lambda: teal(window.pixel(*scaled(HEADER, dpi))), 10, "main window painted")
    return window


def open_version(app, main, dpi=96, where=UPDATE_TEXT):
    main.click(*scaled(where, dpi))
    version = app.wait_window(size=scaled(VERSION_SIZE, dpi), position=scaled(VERSION_AT, dpi),
                              timeout=5)
    wait_until(lambda: version.pixel(*scaled((10, 10), dpi)) == GREEN, 5, "version window painted")
    return version


# ------------------------------------------------------------------ tray ----

def shell_windows():
    """Mapped X windows of the prefix's shell (explorer.exe)."""
    return [i for i in found("--onlyvisible", "--class", "^explorer\\.exe$") if i.viewable]


def is_balloon(info):
    # Nameless, and taller than the one-line hover tips (about 19 px) of its class.
    return info.name is None and info.width >= 100 and info.height >= 40


class Tray:
    """Wine's stand-alone tray: one row of square slots, filled from the left."""

    def __init__(self, info):
        self.info = info

    @staticmethod
    def find():
        trays = [i for i in shell_windows() if i.name == "Wine System Tray"]
        if len(trays) > 1:
            raise AssertionError(f"more than one tray on the display: {trays}")
        return Tray(trays[0]) if trays else None

    def slot(self, index):
        side = self.info.height
        return (self.info.x + index * side, self.info.y, side, side)

    def teal_pixels(self, index):
        return sum(map(teal, grab(self.slot(index)).getdata()))

    def icon_point(self):
        # Above the middle, where a balloon's stem points and its window starts.
        x, y, w, h = self.slot(0)
        return x + w // 2, y + h // 5

    def click(self, button):
        xdotool("mousemove", "--sync", *self.icon_point(), "click", button)

    def open_menu(self, app):
        self.click(3)
        # TrackPopupMenu puts the menu's corner at the pointer: the pointer
        # rests on its border, so keys reach it and no item is hovered.
        return app.wait_window(position=self.icon_point(), timeout=5)

    def choose(self, app, item):
        menu = self.open_menu(app)
        xdotool("key", *["Down"] * (MENU.index(item) + 1), "Return")
        menu.wait_unmapped(5)
        park_pointer()


def tray_icon_shown():
    # The teal power symbol fills about 150 of the first slot's 400 pixels.
    tray = Tray.find()
    return tray is not None and tray.teal_pixels(0) >= 60


def wait_tray():
    wait_until(tray_icon_shown, 10, "our icon drawn in the tray's first slot")
    return Tray.find()


def open_exit_confirmation(app, tray, dpi=96):
    tray.choose(app, "退出本软件")
    confirm = app.wait_window(size=scaled(CONFIRM_SIZE, dpi), position=scaled(CONFIRM_AT, dpi),
                              timeout=5)
    wait_until(lambda: confirm.pixel(*scaled((500, 20), dpi)) == RED, 5, "confirmation painted")
    return confirm


@contextlib.contextmanager
def balloons_swept():
    """Takes balloon notices off the screen as they appear: the start-up one
    covers the top left of our windows for ten seconds. Unmapping leaves the
    shell's state alone, where a click would take the foreground from our
    menus. Driven by the root window's map events, so nothing polls."""
    # Line-buffered, or the events would sit in xev's stdio buffer.
    xev = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                           stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                           env=dict(os.environ, LANG="C.UTF-8"), text=True)

    def sweep():
        mapped = False
        for line in xev.stdout:
            match = mapped and re.search(r"window (0x[0-9a-f]+), override YES", line)
            mapped = line.startswith("MapNotify event")
            info = match and window_info(int(match.group(1), 16))
            if (info and is_balloon(info)
                    and '"explorer.exe"' in x_tool("xprop", "-id", info.id, "WM_CLASS", check=False)):
                x_tool("xdotool", "windowunmap", info.id, check=False)
    thread = threading.Thread(target=sweep, daemon=True)
    thread.start()
    try:
        yield
    finally:
        xev.terminate()
        xev.wait(10)
        thread.join(10)


# --------------------------------------------------------- screen reader ----

def client(prefix, *args):
    """Our accessibility client (tests/tools) run in the prefix: exit code, lines."""
    done = subprocess.run([WINE64, build_file("qh_a11y_client.exe"), *args], env=prefix.env,
                          capture_output=True, timeout=60)
    return done.returncode, done.stdout.decode("utf-8").splitlines()


def tree(prefix):
    code, lines = client(prefix, "tree")
    assert code == 0, f"the client found no accessible main window ({code})"
    return lines


def element(prefix, role, name):
    """The state of the element with this role and name, or None."""
    for line in tree(prefix):
        r, n, state = line.strip().split("|")
        if (r, n) == (role, name):
            return state
    return None


# --------------------------------------------------------------- process ----

class App:
    """A running copy of the program; the pid is the Windows process itself."""

    def __init__(self, proc, log_path):
        self.proc = proc
        self.pid = proc.pid
        self.log_path = log_path
        self.started = time.monotonic()

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout):
        try:
            code = self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Deadline(f"pid {self.pid} still running after {timeout} s") from None
        self.ended = time.monotonic()
        return code

    def kill(self):
        if self.running():
            os.kill(self.pid, signal.SIGKILL)
        with contextlib.suppress(subprocess.TimeoutExpired):
            self.proc.wait(10)

    def windows(self, visible_only=False):
        return found(*(["--onlyvisible"] if visible_only else []), "--pid", self.pid)

    def find_window(self, name=None, size=None, position=None, visible=True):
        for info in self.windows(visible_only=visible):
            if ((not visible or info.viewable) and name in (None, info.name)
                    and size in (None, info.size) and position in (None, (info.x, info.y))):
                return Window(info.id)
        return None

    def wait_window(self, name=None, size=None, position=None, visible=True, timeout=30):
        def probe():
            if not self.running():
                raise AssertionError(f"the program exited with {self.proc.returncode}; log:\n{self.log()}")
            return self.find_window(name, size, position, visible)
        return wait_until(probe, timeout, f"window name={name!r} size={size} position={position}")

    def log(self):  # the file is there from launch to Prefix.close
        return Path(self.log_path).read_text(errors="replace")[-4000:]


# The template has no Chinese face behind the system UI font, so menus,
# balloons and message boxes would draw every Chinese character as a box.
UI_FONT_REPLACEMENTS = """
[Software\\\\Wine\\\\Fonts\\\\Replacements] 1700000000
"MS Shell Dlg"="WenQuanYi Zen Hei"
"Tahoma"="WenQuanYi Zen Hei"
"""


class Prefix:
    """A private copy of the template prefix, its wineserver and services
    started first so that the program's start-up does not race their boot."""

    def __init__(self, template, dpi=96):
        self.root = Path(tempfile.mkdtemp(prefix="qh-e2e-"))
        self.path = self.root / "prefix"
        self.env = dict(os.environ, WINEPREFIX=str(self.path), WINEDEBUG="-all", LANG="zh_CN.UTF-8",
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        self.env.pop("LC_ALL", None)
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

    def launch(self, exe, *args, offline=False):
        """offline: in a network namespace with only loopback, served by a fresh
        wineserver inside it. The shell execs down: the pid is the program's."""
        cmd, env = [WINE64, str(exe), *args], self.env
        if offline:
            self.end_server()
            script = ('ip link set lo up && "$QH_WINESERVER" -p && '
                      '"$QH_WINE64" cmd.exe /c exit >/dev/null 2>&1; exec "$QH_WINE64" "$QH_EXE"')
            env = dict(self.env, QH_WINESERVER=WINESERVER, QH_WINE64=WINE64, QH_EXE=str(exe))
            cmd = ["unshare", "--net", "sh", "-c", script]
        log_path = self.root / f"app{len(self.apps)}.log"
        with open(log_path, "wb") as log:
            proc = subprocess.Popen(cmd, env=env, cwd=self.root, stdin=subprocess.DEVNULL,
                                    stdout=log, stderr=subprocess.STDOUT)
        self.apps.append(App(proc, log_path))
        return self.apps[-1]

    def end_server(self):
        # Ends the prefix's services and the server; -k returns once it has gone.
        subprocess.run([WINESERVER, "-k"], env=self.env, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close(self):
        for app in self.apps:
            app.kill()
        self.end_server()
        shutil.rmtree(self.root, ignore_errors=True)
