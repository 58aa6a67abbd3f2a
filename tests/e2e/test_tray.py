"""The notification-area icon driven from outside: the icon and the start-up
balloon in Wine's stand-alone tray, the pop-up menu and what its items do,
left clicks that bring the main window back, the exit confirmation and the
end of the process, an installer's close, and more copies refused."""
import re
import shutil
import time

import pytest

from harness import (CANCEL_EXIT, CLOSE_BUTTON, CONFIRM_EXIT, MINIMISE_BUTTON, VERSION_CLOSE, client,
                     count, dark, element, grab, is_balloon, main_window, open_exit_confirmation,
                     open_version, park_pointer, shell_windows, tray_icon_shown, wait_tray, wait_until,
                     xdotool)


def ink_rows(image):
    """Runs of pixel rows holding dark ink: one per line of text."""
    runs, inside = 0, False
    for y in range(image.height):
        inked = any(dark(image.getpixel((x, y))) for x in range(image.width))
        runs += inked and not inside
        inside = inked
    return runs


def escape(menu):
    xdotool("key", "Escape")
    menu.wait_unmapped(5)
    park_pointer()


def hidden(app, main):
    main.wait_unmapped()
    assert app.windows(visible_only=True) == []


# (header button, how the window is put away, how it is brought back)
AWAY_AND_BACK = [
    (CLOSE_BUTTON, hidden, lambda app, tray: tray.click(1)),
    (MINIMISE_BUTTON, lambda app, main: wait_until(main.iconic, 10, "iconic"), lambda app, tray: tray.click(1)),
    (CLOSE_BUTTON, hidden, lambda app, tray: tray.choose(app, "显示主界面")),
]


def test_icon_menu_items_and_second_copies(app, main, tray, prefix, exe, screenshots, figures):
    figures(f"launch to tray icon drawn: {time.monotonic() - app.started:.2f} s")
    assert tray.teal_pixels(1) == 0, "a second icon next to ours"
    menu = tray.open_menu(app)
    info = menu.info()
    grab((0, 0, info.x + info.width + 8, info.y + info.height + 8)).save(screenshots / "tray_menu.png")
    assert ink_rows(menu.shot()) == 5
    escape(menu)
    assert app.running() and main.info().viewable

    tray.choose(app, "关于本软件")
    box = app.wait_window(name="关于QuondaHalvix", timeout=5)
    assert "window id #" not in box.prop("WM_TRANSIENT_FOR")  # Wine sets it for an owned window
    # A stock icon would sit left of the grey text, in colour.
    colourful = count(box.shot(), (0, 0, 60, box.info().height), lambda p: max(p) - min(p) > 60)
    assert colourful == 0, "an icon in the box"
    box.key("Return")
    box.wait_unmapped(5)
    park_pointer()
    assert app.running() and main.info().viewable

    for button, put_away, bring_back in AWAY_AND_BACK:
        main.click(*button)
        put_away(app, main)
        bring_back(app, tray)
        park_pointer()
        wait_until(lambda: main.info().viewable and not main.iconic(), 5, "main window back")

    for name in [None, "quondahalvix.EXE"]:  # named in other case, it used to run
        second = prefix.launch(shutil.copy(exe, prefix.root / name) if name else exe)
        code = second.wait_exit(10)
        figures(f"second copy {name or exe.name}: launch to exit {second.ended - second.started:.2f} s")
        assert code == 0
    assert app.running() and main.info().viewable and tray_icon_shown()


@pytest.mark.keep_balloon
def test_start_up_balloon_appears(app, tray, screenshots, figures):
    # The shell shows it 2 s after start-up hands it over, right after adding the icon.
    balloon = wait_until(lambda: [i for i in shell_windows() if is_balloon(i)], 6, "a balloon")[0]
    figures(f"launch to start-up balloon mapped: {time.monotonic() - app.started:.2f} s")
    right = max(balloon.x + balloon.width, tray.info.x + tray.info.width)
    image = grab((0, 0, right + 8, balloon.y + balloon.height + 8))
    image.save(screenshots / "tray_balloon.png")
    # The shell shows no balloon without text, and draws what it got in dark ink.
    inside = (balloon.x, balloon.y, balloon.x + balloon.width, balloon.y + balloon.height)
    assert count(image, inside, dark) > 200


@pytest.mark.parametrize("version_window", ["never opened", "opened and hidden"])
def test_exit_confirmation_cancelled_then_confirmed(app, main, tray, version_window, screenshots, figures):
    if version_window == "opened and hidden":
        version = open_version(app, main)
        version.click(*VERSION_CLOSE)
        version.wait_unmapped()
    confirm = open_exit_confirmation(app, tray)
    confirm.shot().save(screenshots / "exit_confirm_window.png")
    assert confirm.info().name is None and main.info().viewable
    # Chosen again: still one (the next menu opens once the last choice's handler returned).
    tray.choose(app, "退出本软件")
    escape(tray.open_menu(app))
    assert [w.size for w in app.windows()].count((536, 278)) == 1 and confirm.info().viewable
    confirm.click(*CANCEL_EXIT, park=True)
    confirm.wait_unmapped(5)
    assert app.running() and main.info().viewable and tray_icon_shown()

    confirm = open_exit_confirmation(app, tray)
    clicked = time.monotonic()
    confirm.click(*CONFIRM_EXIT)
    code = app.wait_exit(10)
    # Wine waits up to 2 s for each mapped window it hides on the way out.
    figures(f"确认退出 click to process end (VersionWindow {version_window}): "
            f"{app.ended - clicked:.3f} s, exit code {code}")
    park_pointer()
    assert code == 0
    # Under Wine the shell also drops the icons of a destroyed owner window.
    wait_until(lambda: not tray_icon_shown(), 5, "our icon gone from the tray")


def test_an_installers_close_ends_it_and_its_restart_comes_back_armed(launch, prefix, figures):
    """Restart Manager closes the program for an installer, which starts it
    again with the arguments it registered (Wine prints each call): only
    while that close asks, never at arming or at an ordinary shutdown's query,
    taken back on a cancel; never after a crash, a hang or a reboot (flags 1, 2, 8)."""
    prefix.env["WINEDEBUG"] = "-all,fixme+process"
    app = launch("/armed", "18:30:00", "3")

    def armed_at_start():
        main_window(app)
        wait_until(lambda: element(prefix, "push button", "取消任务") is not None, 10, "armed at start")
        assert "checked" in element(prefix, "radio button", "注销电脑")
    armed_at_start()
    wait_tray()

    def registrations():
        return re.findall(r"(Unregister|Register)ApplicationRestart(.*)", app.log())

    seen = {"armed": registrations()}
    for what, command, wanted in [
            ("ordinary shutdown query", ("query", "0"), 0),
            ("ordinary shutdown cancelled", ("end", "0", "0"), 0),
            ("Restart Manager query", ("query", "1"), 1),
            ("Restart Manager cancelled", ("end", "0", "1"), 2)]:
        client(prefix, *command)
        seen[what] = wait_until(lambda: len(registrations()) >= wanted and registrations(), 5, what) \
            if wanted else registrations()
        figures(f"registrations after {what}: {seen[what]}")
        assert len(seen[what]) == wanted, (what, seen[what])
    assert seen["armed"] == []
    assert "/armed 18:30:00 3" in seen["Restart Manager query"][0][1]
    assert seen["Restart Manager cancelled"][1][0] == "Unregister"
    asked = time.monotonic()
    assert client(prefix, "query", "1") == (0, ["1"])  # yes to the installer's query
    client(prefix, "end", "1", "1")
    code = app.wait_exit(10)
    figures(f"installer's close to process end: {app.ended - asked:.3f} s, exit code {code}")
    assert code == 0
    wait_until(lambda: not tray_icon_shown(), 5, "our icon gone from the tray")

    [registered] = re.findall(r'RegisterApplicationRestart \(L"([^"]*)",\s*(\d+)\)', app.log())[-1:]
    assert registered == ("/armed 18:30:00 3", "11")
    app = launch(*registered[0].split())
    armed_at_start()


@pytest.mark.parametrize("copies", [2, 5])
def test_copies_started_together_leave_exactly_one(prefix, exe, copies, figures):
    # Each copy used to count every other at its guard, so all ended. One showing its window is past it.
    started = [prefix.launch(exe) for _ in range(copies)]

    def settled():
        shown = [a for a in started if a.running() and a.find_window(name="QuondaHalvix")]
        ended = [a for a in started if not a.running()]
        return len(shown) + len(ended) == copies and (shown, ended)

    shown, ended = wait_until(settled, 120, f"each of {copies} copies ended or showing its window",
                              interval=0.2)
    figures(f"{copies} copies started together: {len(shown)} running, {len(ended)} ended "
            f"(exit codes {sorted(a.proc.returncode for a in ended)})")
    assert len(shown) == 1
    assert all(a.proc.returncode == 0 for a in ended)
