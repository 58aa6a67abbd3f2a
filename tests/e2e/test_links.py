"""The web links and the latest-version lookup, as a user meets them: each of
the five link triggers clicked or chosen from the tray menu hands exactly its
address to the browser once (Wine's browser launcher runs xdg-open; a fake one
early on PATH writes down what it receives), and the lookup with a network
and, started in a network namespace of its own, without one."""
import os
import stat
import time

import pytest

from harness import count, exact, park_pointer, wait_until
from test_tray import UPDATE_TEXT, VERSION_AT, VERSION_SIZE, choose

SITE = "https://www.quondahalvix.com/html/yijianfankui-qrx/index.htm"
FEEDBACK = "https://www.quondahalvix.com/feedback/"
DOWNLOAD = "https://downloads.example.net/soft/detail/40350.html"

MAIN_SITE_LINK = (780, 272)      # 透明标签17, "QuondaHalvix官网"
VERSION_SITE_LINK = (312, 220)   # 透明标签8
VERSION_DOWNLOAD_LINK = (196, 220)  # 透明标签7
LOOKUP_BUTTON = (332, 136)       # 按钮1, "检测最新版本"
STATUS = (112, 144, 256, 160)    # 透明标签3, the status line
SLOT = (112, 136, 256, 160)      # what shows of the page between its masks
GREEN = (0, 128, 0)
RED = (255, 0, 0)


@pytest.fixture
def opened(prefix, tmp_path):
    """A fake xdg-open first on the program's PATH; returns a reader of the
    addresses it has received so far. Name it before the program's fixtures:
    the program takes its PATH when it starts."""
    folder = tmp_path / "bin"
    folder.mkdir()
    record = tmp_path / "opened.txt"
    script = folder / "xdg-open"
    script.write_text(f'#!/bin/sh\nprintf "%s\\n" "$1" >> "{record}"\n')
    script.chmod(script.stat().st_mode | stat.S_IEXEC)
    prefix.env["PATH"] = f"{folder}{os.pathsep}{prefix.env.get('PATH', '')}"
    return lambda: record.read_text().splitlines() if record.exists() else []


def open_version_window(app, main):
    main.click(*UPDATE_TEXT)
    version = app.wait_window(size=VERSION_SIZE, position=VERSION_AT, timeout=5)
    wait_until(lambda: version.pixel(10, 10) == GREEN, 5, "version window painted")
    park_pointer()
    return version


def received_once(opened, address, figures, what, pressed):
    got = wait_until(lambda: opened() or None, 10, f"{what}: an address reached xdg-open")
    figures(f"{what}: press to xdg-open {time.monotonic() - pressed:.2f} s")
    time.sleep(2)  # a second, duplicate launch would arrive within this
    assert opened() == [address], what


def test_main_window_site_link(opened, app, main, figures):
    pressed = time.monotonic()
    main.click(*MAIN_SITE_LINK)
    received_once(opened, SITE, figures, "main window site link", pressed)


@pytest.mark.parametrize("item, address", [("官方网站", SITE), ("用户意见反馈", FEEDBACK)])
def test_tray_menu_links(opened, app, main, tray, figures, item, address):
    pressed = time.monotonic()
    choose(app, tray, item)
    received_once(opened, address, figures, f"tray item {item}", pressed)


@pytest.mark.parametrize("where, address", [(VERSION_SITE_LINK, SITE),
                                            (VERSION_DOWNLOAD_LINK, DOWNLOAD)])
def test_version_window_links(opened, app, main, figures, where, address):
    version = open_version_window(app, main)
    before = version.shot()
    pressed = time.monotonic()
    version.click(*where)
    received_once(opened, address, figures, f"version window link {address}", pressed)
    park_pointer()
    assert version.shot() == before  # a link changes nothing in the window


def test_lookup_with_a_network(app, main, screenshots, figures):
    version = open_version_window(app, main)
    version.click(*LOOKUP_BUTTON)
    clicked = time.monotonic()
    park_pointer()
    # The status line is disabled in its form, yet shows its green.
    wait_until(lambda: count(version.shot(), STATUS, exact(GREEN)) > 20, 3, "green status text")
    version.shot().save(screenshots / "version_waiting.png")
    slot_before = version.shot((SLOT[0], SLOT[1], SLOT[2] - SLOT[0], SLOT[3] - SLOT[1]))

    def slot_changed():
        return version.shot((SLOT[0], SLOT[1], SLOT[2] - SLOT[0], SLOT[3] - SLOT[1])) != slot_before
    wait_until(slot_changed, 9, "the page slot shown by the lookup's tick")
    figures(f"lookup: click to page slot shown {time.monotonic() - clicked:.2f} s")
    assert time.monotonic() - clicked > 5  # one 6-second period, not at once
    version.shot().save(screenshots / "version_shown.png")


def test_lookup_without_a_network(prefix, exe, screenshots):
    park_pointer()
    app = prefix.launch_offline(exe)
    main = app.wait_window(name="QuondaHalvix", size=(867, 524))
    version = open_version_window(app, main)
    version.click(*LOOKUP_BUTTON)
    park_pointer()
    wait_until(lambda: count(version.shot(), STATUS, exact(RED)) > 20, 3, "red status text")
    # The disabled button draws its caption in the disabled look: no black ink.
    button = version.shot((288, 112, 88, 48))
    assert count(button, (0, 0, 88, 48), exact((0, 0, 0))) == 0
    version.shot().save(screenshots / "version_no_network.png")
    # Clicking the disabled button changes nothing.
    before = version.shot(STATUS[:2] + (STATUS[2] - STATUS[0], STATUS[3] - STATUS[1]))
    version.click(*LOOKUP_BUTTON)
    park_pointer()
    time.sleep(0.5)
    assert version.shot(STATUS[:2] + (STATUS[2] - STATUS[0], STATUS[3] - STATUS[1])) == before
