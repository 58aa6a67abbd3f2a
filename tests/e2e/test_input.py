"""The program's windows under the mouse and keyboard, driven through X the
way a person would: header buttons, the version window, dragging a frameless
window by its picture, a radio button, and typing into a time field."""
import pytest

from harness import Deadline, ink_width, park_pointer, wait_until, xdotool

GREEN = (0, 128, 0)
VERSION_SIZE = (378, 232)
VERSION_AT = (50, 50)
UPDATE_TEXT = (760, 16)
HOUR_EDIT = (149, 405, 28, 16)
RESTART_RADIO = (264, 436, 74, 24)

def open_version_window(app, main, where=UPDATE_TEXT):
    main.click(*where)
    return app.wait_window(size=VERSION_SIZE, position=VERSION_AT, timeout=5)


@pytest.mark.parametrize("where", [
    pytest.param((760, 16), id="update text"),
    pytest.param((730, 2), id="update pill corner"),
    # A click needs the release too: guards the capture being released
    # before the click is decided.
    pytest.param((792, 16), id="update icon"),
])
def test_update_hotspots_open_version_window(app, main, where):
    open_version_window(app, main, where)
    assert main.info().viewable


def test_version_window_closes_and_reopens(app, main):
    version = open_version_window(app, main)
    version.click(369, 12)
    version.wait_unmapped()
    assert main.info().viewable
    again = open_version_window(app, main)
    wait_until(lambda: again.pixel(5, 5) == GREEN, 5, "reopened version window painted")


def test_close_button_hides_main_window(app, main):
    main.click(858, 12)
    main.wait_unmapped()
    assert app.running()
    assert app.windows(visible_only=True) == []


def test_minimise_button_minimises(app, main):
    # With no window manager the X window stays mapped; Wine records the
    # minimised state in WM_HINTS.
    assert not main.iconic()
    main.click(824, 12)
    wait_until(main.iconic, 10, "main window iconic")
    assert app.running()


@pytest.mark.parametrize("grip", [(300, 60), (300, 350)], ids=["header picture", "blank content"])
def test_dragging_a_bare_area_moves_the_window(main, grip):
    main.drag(*grip, 100, 80)
    main.wait_geometry((150, 130, 867, 524))


def test_radio_button_checks_when_clicked(main):
    before = main.shot(RESTART_RADIO)
    main.click(RESTART_RADIO[0] + 6, RESTART_RADIO[1] + 11)
    park_pointer()  # so that a hover image cannot pass for the check mark
    wait_until(lambda: main.shot(RESTART_RADIO) != before, 3, "radio button redrawn checked")


def test_hour_field_takes_typing(main):
    before = main.shot(HOUR_EDIT)
    # Keys go to the window under the pointer (nothing moves the X focus
    # without a window manager), so the pointer stays on the field.
    main.click(HOUR_EDIT[0] + 14, HOUR_EDIT[1] + 8)
    xdotool("key", "ctrl+a")
    xdotool("type", "7")
    # "18" replaced by "7": the ink gets narrower but does not vanish; a lost
    # select-all would leave three digits, wider than before.
    wide = ink_width(before)
    wait_until(lambda: 0 < ink_width(main.shot(HOUR_EDIT)) < wide, 5, "hour field shows one digit")
