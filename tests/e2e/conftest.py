"""Fixtures of the end-to-end tier: an X display (the caller's DISPLAY, or an
Xvfb of our own), a private Wine prefix per test copied from the template,
the program started in it (every process ended by its pid at teardown).
Balloon notices are swept off the screen unless a test is marked
keep_balloon; measured figures go to build/screenshots/figures[-worker].txt."""
import contextlib
import os
import shutil
import subprocess
from pathlib import Path

import pytest

from harness import (REPO, SCREEN, WINE64, WINESERVER, Prefix, build_file,
                     balloons_swept, main_window, park_pointer, wait_tray)


# Every outside tool the tier drives, with the Debian package that provides it.
TOOLS = [(WINE64, "wine64"), (WINESERVER, "wine64"), ("Xvfb", "xvfb"), ("xdotool", "xdotool"),
         ("xprop", "x11-utils"), ("xwininfo", "x11-utils"), ("ip", "iproute2"),
         ("unshare", "util-linux"), ("wixl", "wixl"), ("osslsigncode", "osslsigncode"),
         ("zip", "zip"), ("openssl", "openssl")]


def pytest_configure(config):
    config.addinivalue_line("markers", "keep_balloon: leave the shell's balloon notices on screen")
    config.addinivalue_line("markers", "scenario(name): the data the test WMI provider serves")
    config.addinivalue_line("markers", "dpi(value): the display scale of the test's prefix")


def pytest_sessionstart(session):
    # One clear line instead of the same fixture error for every test.
    missing = [(tool, package) for tool, package in TOOLS if shutil.which(tool) is None]
    if missing:
        names = ", ".join(f"{tool} (package {package})" for tool, package in missing)
        pytest.exit(f"end-to-end tier cannot run, missing: {names}; scripts/deps installs them",
                    returncode=1)


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
    lines = []
    yield lambda line: (print(line), lines.append(line))
    if lines:
        (screenshots / f"figures{'-' + WORKER if WORKER else ''}.txt").write_text("\n".join(lines) + "\n", encoding="utf-8")


@pytest.fixture(autouse=True)
def sweeper(request, display):
    with contextlib.nullcontext() if request.node.get_closest_marker("keep_balloon") else balloons_swept():
        yield


@pytest.fixture
def prefix(template_prefix, request):
    mark = request.node.get_closest_marker("dpi")
    p = Prefix(template_prefix, mark.args[0] if mark else 96)
    yield p  # pytest runs the rest whatever the test did
    p.close()


@pytest.fixture
def launch(prefix, exe):
    def start(*args, offline=False):
        park_pointer()
        return prefix.launch(exe, *args, offline=offline)
    return start


@pytest.fixture
def app(launch):
    return launch()


@pytest.fixture
def main(app):
    return main_window(app)


@pytest.fixture
def tray(main):
    return wait_tray()


@pytest.fixture
def provider(prefix, request):
    """Registers our test WMI provider in the prefix copy under the locator's
    ProgID, serving the scenario of the test's `scenario` mark, before the
    program starts. Returns the file it writes its live-object count to."""
    mark = request.node.get_closest_marker("scenario")
    (prefix.path / "drive_c/qh_wmi_provider.dll").write_bytes(build_file("qh_wmi_provider.dll").read_bytes())
    clsid = "{BA2609D2-25B2-4EF9-A980-99CA03975ECD}"
    server = f"HKLM\\Software\\Classes\\CLSID\\{clsid}\\InprocServer32"
    for args in (["HKLM\\Software\\Classes\\WbemScripting.SWbemLocator\\CLSID", "/ve", "/d", clsid],
                 [server, "/ve", "/d", "C:\\qh_wmi_provider.dll"],
                 [server, "/v", "ThreadingModel", "/d", "Both"]):
        subprocess.run([WINE64, "reg", "add", *args, "/f"], env=prefix.env, check=True,
                       timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    prefix.env["QH_WMI_SCENARIO"] = mark.args[0] if mark else "two-disks"
    prefix.env["QH_WMI_COUNT_FILE"] = "C:\\qh_wmi_count.txt"
    return prefix.path / "drive_c/qh_wmi_count.txt"
