"""What the program shows without being touched: where its windows are, the
skin of the main window and the version window, and the parts that move on
their own (the status clock and the globe animation)."""
from harness import SCREEN, assert_skin, dark, exact, light, teal, wait_until, white

ORANGE = (255, 128, 0)
GREEN = (0, 128, 0)
FRAME_GREY = (204, 204, 204)

# (what, client rect (left, top, right, bottom), pixel test, least share of
# the rect that must pass)
MAIN_SKIN = [
    ("header picture, left", (0, 0, 40, 40), teal, 0.9),
    ("header picture, middle", (260, 40, 340, 80), teal, 0.9),
    ("header picture, bottom edge", (0, 126, 400, 136), teal, 0.9),
    ("white X on the header", (848, 0, 867, 24), white, 0.03),
    ("white - on the header", (816, 0, 832, 24), white, 0.005),
    ("light pill behind the update text", (728, 0, 792, 32), light, 0.4),
    ("grey update text", (728, 0, 792, 32), exact((96, 96, 96)), 0.02),
    ("white content under the header", (0, 137, 664, 155), white, 0.98),
    ("white content mid left", (0, 300, 664, 380), white, 0.97),
    ("white right column top", (666, 137, 867, 150), white, 0.98),
    ("orange slogan", (120, 176, 520, 240), exact(ORANGE), 0.1),
    ("teal start button", (512, 256, 656, 304), teal, 0.6),
    ("right column frame line", (664, 140, 665, 500), exact(FRAME_GREY), 0.95),
    ("hour edit text", (149, 405, 177, 421), dark, 0.03),
    ("minute edit text", (314, 405, 344, 421), dark, 0.03),
    ("second edit text", (465, 405, 493, 421), dark, 0.03),
    ("green status text", (40, 504, 300, 524), exact(GREEN), 0.05),
    ("dark clock text", (648, 504, 867, 524), dark, 0.05),
]

VERSION_SIZE = (378, 232)
VERSION_SKIN = [
    ("green title band", (0, 0, 378, 72), exact(GREEN), 0.9),
    ("white title text", (0, 0, 300, 72), white, 0.003),
    ("white X", (360, 0, 378, 24), white, 0.03),
    ("white body", (0, 72, 378, 200), white, 0.6),
    ("white body, left margin", (0, 80, 10, 190), white, 0.98),
    ("green link bar", (0, 200, 378, 232), exact(GREEN), 0.75),
]

CLOCK = (648, 504, 219, 20)
GLOBE = (720, 160, 104, 104)
STILL_GIF = (672, 328, 195, 176)  # the picture runs 5 px past the client edge


def test_windows_at_start(app, main):
    assert main.geometry() == (50, 50, 867, 524)
    visible = app.windows(visible_only=True)
    assert [w.id for w in visible] == [main.id], visible
    parked = [w for w in app.windows() if w.size == (384, 205)]
    assert len(parked) == 1, app.windows()
    done = parked[0]
    assert (done.x, done.y) == (1536, 1080)
    assert not done.viewable or done.y >= SCREEN[1]


def test_main_window_skin(main, screenshots):
    try:
        assert_skin(main, MAIN_SKIN)
    finally:
        main.shot().save(screenshots / "main_window.png")


def test_status_clock_ticks(main):
    first = main.shot(CLOCK)
    wait_until(lambda: main.shot(CLOCK) != first, 3, "status clock text changed")


def test_globe_plays_while_the_still_picture_stays(main):
    globe = [main.shot(GLOBE)]
    still = main.shot(STILL_GIF)

    def two_more_frames():
        frame = main.shot(GLOBE)
        if frame != globe[-1]:
            globe.append(frame)
        assert main.shot(STILL_GIF) == still, "the still picture changed"
        return len(globe) >= 3
    wait_until(two_more_frames, 5, "globe animation advanced twice")


def test_version_window_skin(app, main, screenshots):
    main.click(760, 16)
    version = app.wait_window(size=VERSION_SIZE, position=(50, 50), timeout=5)
    try:
        assert_skin(version, VERSION_SKIN)
    finally:
        version.shot().save(screenshots / "version_window.png")
    # A tool window: Wine tells X to keep it off the taskbar; the main window
    # keeps its button.
    assert "_NET_WM_STATE_SKIP_TASKBAR" in version.net_wm_state()
    assert "_NET_WM_STATE_SKIP_TASKBAR" not in main.net_wm_state()
