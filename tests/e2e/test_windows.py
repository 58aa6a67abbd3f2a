"""What the program shows without being touched: where its windows are, the
parts that move on their own (the status clock, the globe animation) and the
version window kept off the taskbar. Their pixels: test_pictures.py."""
from harness import count, dark, open_version, wait_until

CLOCK = (648, 504, 219, 20)
GLOBE = (720, 160, 104, 104)
STILL_GIF = (672, 328, 195, 176)  # the picture runs 5 px past the client edge


def test_windows_at_start(app, main):
    assert main.geometry() == (50, 50, 867, 524)
    visible = app.windows(visible_only=True)
    assert [w.id for w in visible] == [main.id], visible
    notices = [(w.x, w.y) for w in app.windows() if w.size == (384, 205)]
    assert notices == [(1536, 1080)], app.windows()  # parked below the screen

    clock, globe, still = main.shot(CLOCK), [main.shot(GLOBE)], main.shot(STILL_GIF)
    wait_until(lambda: main.shot(CLOCK) != clock, 3, "status clock text changed")
    assert count(clock, (0, 0, 219, 20), dark) > 219, "the clock, masked in the pictures, not in dark ink"

    def two_more_frames():
        frame = main.shot(GLOBE)
        if frame != globe[-1]:
            globe.append(frame)
        assert main.shot(STILL_GIF) == still, "the still picture changed"
        return len(globe) >= 3
    wait_until(two_more_frames, 5, "globe animation advanced twice")

    # A tool window: Wine tells X to keep it off the taskbar; the main window keeps its button.
    version = open_version(app, main)
    assert "_NET_WM_STATE_SKIP_TASKBAR" in version.prop("_NET_WM_STATE")
    assert "_NET_WM_STATE_SKIP_TASKBAR" not in main.prop("_NET_WM_STATE")
