"""Fixtures of the end-to-end tier: an X display (the caller's DISPLAY, or an
Xvfb of our own when none is set), a private Wine prefix per test copied from
the template, and the program started in it. Every process started here is
ended by its pid at teardown, and the copied prefix's wineserver with -k.
Balloon notices are swept off the screen unless a test is marked
keep_balloon; measured figures are written to build/screenshots/figures.txt
(figures-<worker>.txt under pytest-xdist)."""
import os
import shutil
import subprocess
from pathlib import Path

import pytest

from harness import (REPO, SCREEN, WINE64, WINESERVER, BalloonSweeper, Prefix, Tray, build_file,
                     park_pointer, teal, tray_icon_shown, wait_until)

MAIN_NAME = "QuondaHalvix"
MAIN_SIZE = (867, 524)


# Every outside tool the tier drives, with the Debian package that provides it.
TOOLS = [(WINE64, "wine64"), (WINESERVER, "wine64"), ("Xvfb", "xvfb"), ("xdotool", "xdotool"),
         ("xprop", "x11-utils"), ("xwininfo", "x11-utils"), ("ip", "iproute2"),
         ("unshare", "util-linux"), ("wixl", "wixl"), ("osslsigncode", "osslsigncode"),
         ("zip", "zip"), ("openssl", "openssl")]


def missing_tools():
    return [(tool, package) for tool, package in TOOLS if shutil.which(tool) is None]


def pytest_configure(config):
    config.addinivalue_line("markers", "keep_balloon: leave the shell's balloon notices on screen")
    config.addinivalue_line("markers", "scenario(name): the data the test WMI provider serves")
    config.addinivalue_line("markers", "dpi(value): the display scale of the test's prefix")


def pytest_sessionstart(session):
    # One clear line before the first test instead of the same fixture error
    # repeated for every test.
    missing = missing_tools()
    if missing:
        names = ", ".join(f"{tool} (package {package})" for tool, package in missing)
        pytest.exit(f"end-to-end tier cannot run, missing: {names}; scripts/deps installs them",
                    returncode=1)


# The pytest-xdist worker this process is ("gw0", ...), or None in a run of one process.
WORKER = os.environ.get("PYTEST_XDIST_WORKER")


@pytest.fixture(scope="session", autouse=True)
def display():
    # Each worker on an Xvfb of its own: the pointer, focus and tray are per display.
    if os.environ.get("DISPLAY") and WORKER is None:
        yield os.environ["DISPLAY"]
        return
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
         "-nolisten", "tcp"],
        pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    try:
        # Xvfb writes the display number it picked once it accepts clients.
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            pytest.exit("Xvfb did not start", returncode=1)
        os.environ["DISPLAY"] = f":{number}"
        yield os.environ["DISPLAY"]
    finally:
        os.environ.pop("DISPLAY", None)
        xvfb.terminate()
        try:
            xvfb.wait(10)
        except subprocess.TimeoutExpired:
            xvfb.kill()
            xvfb.wait()


@pytest.fixture(scope="session")
def exe():
    return build_file("QuondaHalvix.exe")


@pytest.fixture(scope="session")
def template_prefix():
    path = Path(os.environ.get("QH_TEMPLATE_PREFIX", REPO / "build/wineprefix"))
    if not (path / "system.reg").is_file():
        pytest.fail(f"{path} is not a Wine prefix: run scripts/test, or source "
                    "scripts/wine-env and call qh_ensure_prefix")
    return path


@pytest.fixture(scope="session")
def screenshots():
    folder = REPO / "build/screenshots"
    folder.mkdir(parents=True, exist_ok=True)
    return folder


@pytest.fixture(scope="session")
def figures(screenshots):
    """Collects (what, value) lines and writes them once the session ends."""
    lines = []
    yield lambda line: (print(line), lines.append(line))
    if lines:
        (screenshots / f"figures{'-' + WORKER if WORKER else ''}.txt").write_text("\n".join(lines) + "\n", encoding="utf-8")


@pytest.fixture(autouse=True)
def balloons_swept(request, display):
    if request.node.get_closest_marker("keep_balloon"):
        yield
        return
    with BalloonSweeper():
        yield


@pytest.fixture
def prefix(template_prefix, request):
    mark = request.node.get_closest_marker("dpi")
    p = Prefix(template_prefix, mark.args[0] if mark else 96)
    try:
        yield p
    finally:
        p.close()


@pytest.fixture
def launch(prefix, exe):
    def start(*args):
        park_pointer()
        return prefix.launch(exe, *args)
    return start


@pytest.fixture
def app(launch):
    return launch()


@pytest.fixture
def main(app):
    """The main window of a freshly started program, once it has painted its
    header (a window is mapped before its first WM_PAINT is served)."""
    window = app.wait_window(name=MAIN_NAME, size=MAIN_SIZE)
    wait_until(lambda: teal(window.pixel(300, 60)), 10, "main window painted")
    return window


@pytest.fixture
def tray(main):
    """The tray once our icon is drawn in it."""
    wait_until(tray_icon_shown, 10, "our icon drawn in the tray's first slot")
    return Tray.find()
