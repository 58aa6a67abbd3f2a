"""The web links and the lookup as a user meets them: each link trigger hands
exactly its address to the browser once (Wine runs xdg-open; a fake one early
on PATH writes down what it receives), then the lookup, in one launch; and
the lookup without a network, in a network namespace of its own."""
import os
import stat
import time

import pytest

from harness import (GREEN, LOOKUP_BUTTON, LOOKUP_STATUS, PAGE_SLOT, RED, count, exact, holds,
                     main_window, open_version, wait_until)

SITE = "https://www.quondahalvix.com/html/yijianfankui-qrx/index.htm"
FEEDBACK = "https://www.quondahalvix.com/feedback/"
DOWNLOAD = "https://downloads.example.net/soft/detail/40350.html"
STATUS_BOX = (112, 144, 144, 16)  # LOOKUP_STATUS as left, top, width, height


@pytest.fixture
def opened(prefix, tmp_path):
    """A fake xdg-open first on the program's PATH; returns a reader of the
    addresses it has received so far. Name it before the program's fixtures:
    the program takes its PATH when it starts."""
    (tmp_path / "bin").mkdir()
    script = tmp_path / "bin/xdg-open"
    script.write_text(f'#!/bin/sh\nprintf "%s\\n" "$1" >> "{tmp_path}/opened.txt"\n')
    script.chmod(script.stat().st_mode | stat.S_IEXEC)
    prefix.env["PATH"] = f"{tmp_path / 'bin'}{os.pathsep}{prefix.env.get('PATH', '')}"
    record = tmp_path / "opened.txt"
    return lambda: record.read_text().splitlines() if record.exists() else []


def test_links_then_the_lookup(opened, app, main, tray, screenshots, figures):
    addresses = []

    def each_opened_once(what, address, press):
        pressed = time.monotonic()
        press()
        addresses.append(address)
        wait_until(lambda: len(opened()) >= len(addresses), 10, f"{what}: an address reached xdg-open")
        figures(f"{what}: press to xdg-open {time.monotonic() - pressed:.2f} s")
        holds(lambda: opened() == addresses, 2, what)  # a duplicate launch would arrive within this

    each_opened_once("main window site link", SITE, lambda: main.click(780, 272))  # 透明标签17
    for item, address in [("官方网站", SITE), ("用户意见反馈", FEEDBACK)]:
        each_opened_once(f"tray item {item}", address, lambda: tray.choose(app, item))
    version = open_version(app, main)
    before = version.shot()
    for where, address in [((312, 220), SITE), ((196, 220), DOWNLOAD)]:  # 透明标签8, 透明标签7
        each_opened_once(f"version window link {address}", address,
                         lambda: version.click(*where, park=True))
        # A link changes nothing in the window (once Wine, up to 400 ms late, ends its hover).
        wait_until(lambda: version.shot() == before, 2, "the window as before the link's click")

    version.click(*LOOKUP_BUTTON, park=True)
    clicked = time.monotonic()
    # The status line is disabled in its form, yet shows its green.
    wait_until(lambda: count(version.shot(), LOOKUP_STATUS, exact(GREEN)) > 20, 3, "green status text")
    version.shot().save(screenshots / "version_waiting.png")
    slot = version.shot(PAGE_SLOT)
    wait_until(lambda: version.shot(PAGE_SLOT) != slot, 9, "the page slot shown by the lookup's tick")
    figures(f"lookup: click to page slot shown {time.monotonic() - clicked:.2f} s")
    assert time.monotonic() - clicked > 5  # one 6-second period, not at once
    version.shot().save(screenshots / "version_shown.png")


def test_lookup_without_a_network(launch, screenshots):
    app = launch(offline=True)
    version = open_version(app, main_window(app))
    version.click(*LOOKUP_BUTTON, park=True)
    wait_until(lambda: count(version.shot(), LOOKUP_STATUS, exact(RED)) > 20, 3, "red status text")
    # The disabled button draws its caption in the disabled look: no black ink.
    assert count(version.shot((288, 112, 88, 48)), (0, 0, 88, 48), exact((0, 0, 0))) == 0
    version.shot().save(screenshots / "version_no_network.png")
    status = version.shot(STATUS_BOX)
    version.click(*LOOKUP_BUTTON, park=True)
    holds(lambda: version.shot(STATUS_BOX) == status, 0.5, "the disabled button started a lookup")
