"""Every window in every state a user reaches, compared picture for picture
with its reference (pictures.py), in journeys of one launch each. A row is a
step (what the user does), then the window captured under its state's name
with the masks the state adds; a journey reports every state that differs.
The 144-DPI journey scales the 96-DPI coordinates."""
import datetime

import pytest

from harness import (CHECK_BUTTON, CLOSE_BUTTON, COMMAND, GREEN, HEADER, LOGOFF, LOOKUP_BUTTON,
                     LOOKUP_STATUS, MAIN_SIZE, NOTICE_SIZE, PAGE_SLOT, RED, RESTART, SCREEN,
                     STATUS_CAPTION, VERSION_CLOSE, Window, centre, count, exact, main_window,
                     open_exit_confirmation, open_version, scaled, teal, wait_tray, wait_until,
                     window_info)
from pictures import MAIN_PROGRESS, MAIN_TASK_GIF, VERSION_WAIT_GIF, check
from test_disk import report_drawn

COMMAND_FACE = (259, 464)  # inside 按钮1's border: (225, 225, 225) unless hot or pressed
PROGRESS = (128, 264, 368, 32)  # 进度条1: left, top, width, height
# The form's 18:30:00, so the pictures do not depend on the day's time.
TARGET = datetime.time(18, 30, 0)


class Session:
    def __init__(self, app, dpi=96):
        self.app, self.dpi, self.version = app, dpi, None
        self.main = main_window(app, dpi)
        # What must still hold after a passing state's capture: a slow run then
        # fails as such, not as a changed picture.
        self.holds = None

    def at(self, v):
        return scaled(v, self.dpi)

    def box(self, rect):
        """A (left, top, width, height) at this DPI, its edges converted."""
        left, top, right, bottom = self.at((rect[0], rect[1], rect[0] + rect[2], rect[1] + rect[3]))
        return (left, top, right - left, bottom - top)


# ------------------------------------------------------------------ steps ----

def at_start(s):
    return s.main


def check_option(rect):
    def step(s):
        x, y, w, h = s.box(rect)
        s.main.click(x + w // 2, y + h // 2, park=True)
        wait_until(lambda: count(s.main.shot((x, y, w, h)), (0, 0, w, h), exact(GREEN)) >= 20, 5,
                   "option caption drawn green")
        return s.main
    return step


def arm(s):
    now = datetime.datetime.now()
    target = datetime.datetime.combine(now.date(), TARGET)
    if target - datetime.timedelta(seconds=30) <= now < target + datetime.timedelta(seconds=1):
        wait_until(lambda: datetime.datetime.now() >= target + datetime.timedelta(seconds=1), 35,
                   "the target second passed")
    s.main.click(*s.at(centre(COMMAND)), park=True)
    wait_until(lambda: count(s.main.shot(), s.at(STATUS_CAPTION), exact(GREEN)) >= 20, 5,
               "status caption 任务成功执行")
    # Wine tells the window late that the pointer left: the hover look could outlast a capture.
    wait_until(lambda: s.main.pixel(*s.at(COMMAND_FACE)) == (225, 225, 225), 5, "按钮1 not hot")
    # At 144 DPI the rising notice soon reaches the window's bottom right corner.
    size, bottom = s.at(NOTICE_SIZE), s.main.info().y + s.at(MAIN_SIZE[1])
    s.holds = lambda: all(w.y >= bottom for w in s.app.windows() if w.size == size)
    return s.main


def notice_resting(s):
    """The task notice risen to its rest. Its own 15-second timer, which
    sinks it again, runs from start-up, and this journey arms well within
    the first period."""
    notice = [w for w in s.app.windows() if w.size == s.at(NOTICE_SIZE)]
    assert len(notice) == 1, s.app.windows()
    # Flush right, 30 above the bottom of the screen in 96-DPI units (1280x720 at 144 DPI).
    width, height = (v * 96 // s.dpi for v in SCREEN)
    rest = s.at((width - NOTICE_SIZE[0], height - NOTICE_SIZE[1] - 30))

    def rested():
        info = window_info(notice[0].id)
        return info.viewable and (info.x, info.y) == rest
    wait_until(rested, 10, f"notice resting at {rest} (sunk by its timer first?)")
    s.holds = rested
    return Window(notice[0].id)


def disk_checking(s):
    idle = s.main.shot(s.box(PROGRESS))
    s.main.click(*s.at(CHECK_BUTTON), park=True)
    wait_until(lambda: s.main.shot(s.box(PROGRESS)) != idle, 2, "progress bar moving")
    s.holds = lambda: not report_drawn(s.main, s.dpi)
    return s.main


def disk_checked(s):
    wait_until(lambda: report_drawn(s.main, s.dpi), 10, "report box revealed")
    return s.main


def disk_check_run(s):
    disk_checking(s)
    s.holds = None
    return disk_checked(s)


def hidden_and_shown(s):
    s.main.click(*s.at(CLOSE_BUTTON))
    s.main.wait_unmapped()
    wait_tray().choose(s.app, "显示主界面")
    wait_until(lambda: s.main.info().viewable and teal(s.main.pixel(*s.at(HEADER))), 5, "main window back")
    return s.main


def version_opened(s):
    s.version = open_version(s.app, s.main, s.dpi)
    return s.version


def lookup(colour):
    def step(s):
        s.version.click(*s.at(LOOKUP_BUTTON), park=True)
        wait_until(lambda: count(s.version.shot(), s.at(LOOKUP_STATUS), exact(colour)) >= 20, 3,
                   "lookup status line")
        s.slot = s.version.shot(s.box(PAGE_SLOT))
        s.holds = lambda: s.version.shot(s.box(PAGE_SLOT)) == s.slot
        return s.version
    return step


def version_hidden(s):
    # The lookup goes on meanwhile: its tick reaches the hidden window too.
    s.version.click(*s.at(VERSION_CLOSE))
    s.version.wait_unmapped()
    return s.version


def page_shown(s):
    wait_until(lambda: s.version.shot(s.box(PAGE_SLOT)) != s.slot, 9, "page slot shown by the tick")
    return s.version


def exit_asked(s):
    # The confirmation covers the version window whole.
    return open_exit_confirmation(s.app, wait_tray(), s.dpi)


def chain(*steps):
    """Steps taken as one row; the last one's window is captured."""
    def step(s):
        for each in steps:
            window = each(s)
        return window
    return step


# --------------------------------------------------------------- journeys ----

# (step, window, state, masks beyond the window's own)
SCHEDULING = [
    (at_start, "main", "start", ()),
    (check_option(RESTART), "main", "restart-checked", ()),
    # The second option clicked drew no indicator at all once.
    (check_option(LOGOFF), "main", "logoff-checked", ()),
    (arm, "main", "armed", (MAIN_TASK_GIF,)),
    (notice_resting, "notice", "resting", ()),
]
DISK_AND_WINDOWS = [
    # Captured within the two seconds of the progress run.
    (disk_checking, "main", "disk-checking", (MAIN_PROGRESS,)),
    (disk_checked, "main", "disk-report", ()),
    (version_opened, "version", "idle", ()),
    (lookup(GREEN), "version", "waiting", (VERSION_WAIT_GIF,)),
    # The image button that replaced the check button was once left blank by a hide and show.
    (chain(version_hidden, hidden_and_shown), "main", "hidden-and-shown", ()),
    (chain(version_opened, page_shown), "version", "shown", (VERSION_WAIT_GIF,)),
    (exit_asked, "confirm", "open", ()),
]
OFFLINE = [
    (at_start, "main", "offline", ()),
    (disk_check_run, "main", "offline-disk-unread", ()),
    (version_opened, "version", "idle", ()),
    # Captured before the lookup's 6-second tick shows the page controls.
    (lookup(RED), "version", "offline", (VERSION_WAIT_GIF,)),
]
AT_144_DPI = [
    (at_start, "main", "start", ()),
    # The lookup's six seconds pass while the disk is checked and the task armed.
    (chain(version_opened, lookup(GREEN), version_hidden, disk_check_run),
     "main", "disk-report", ()),
    (chain(check_option(LOGOFF), arm), "main", "armed", (MAIN_TASK_GIF,)),
    (chain(version_opened, page_shown), "version", "shown", (VERSION_WAIT_GIF,)),
    (notice_resting, "notice", "resting", ()),
    (exit_asked, "confirm", "open", ()),
]

# A disk that predicts its failure (the test provider's "failing" disks).
FAILING = [(disk_check_run, "main", "disk-failing", ())]


def walk(session, journey):
    misses = []
    for step, kind, state, masks in journey:
        session.holds = None
        window = step(session)
        miss = check(window, kind, state, masks, dpi=session.dpi)
        if session.holds and not session.holds():
            miss = f"{kind} window, state {state}: over before its capture held still"
        if miss:
            misses.append(miss)
    if misses:
        pytest.fail("\n".join(misses), pytrace=False)


def test_scheduling(launch):
    walk(Session(launch()), SCHEDULING)


def test_disk_and_windows(provider, launch):
    walk(Session(launch()), DISK_AND_WINDOWS)


def test_offline(launch):
    walk(Session(launch(offline=True)), OFFLINE)


@pytest.mark.dpi(144)
def test_at_144_dpi(provider, launch):
    walk(Session(launch(), 144), AT_144_DPI)


@pytest.mark.scenario("failing")
@pytest.mark.parametrize("dpi", [pytest.param(96), pytest.param(144, marks=pytest.mark.dpi(144))])
def test_failing_disk(provider, launch, dpi):
    walk(Session(launch(), dpi), FAILING)
