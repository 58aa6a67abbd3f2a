"""The program's windows under the mouse and keyboard, driven through X the
way a person would, in one launch: the update hot spots and the version
window's X, typing into a time field, dragging the frameless window by a bare
area. Option buttons: test_pictures.py; the header's X and -: test_tray.py."""
from harness import HOUR, VERSION_CLOSE, centre, columns, open_version, wait_until, xdotool

HOT_SPOTS = [(760, 16), (730, 2),  # the update text, the pill's corner
             (792, 16)]  # the icon: guards the capture released before the click is decided
# (grip, where the window is after a drag by (100, 80))
DRAGS = [((300, 60), (150, 130)), ((300, 350), (250, 210))]  # header picture, blank content


def test_mouse_and_keys(app, main):
    for where in HOT_SPOTS:  # each one opens the window the one before closed
        version = open_version(app, main, where=where)
        assert main.info().viewable
        version.click(*VERSION_CLOSE)
        version.wait_unmapped()

    before = columns(main.shot(HOUR))
    # Keys go to the window under the pointer, so it stays on the field.
    main.click(*centre(HOUR))
    xdotool("key", "ctrl+a", "type", "7")
    # "18" replaced by "7": narrower ink; a lost select-all leaves three digits.
    wait_until(lambda: 0 < columns(main.shot(HOUR)) < before, 5, "hour field shows one digit")

    for grip, at in DRAGS:
        main.drag(*grip, 100, 80)
        main.wait_geometry((*at, 867, 524))
