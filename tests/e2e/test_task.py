"""The scheduled task driven from outside: a log-off armed a few seconds ahead
ends every process of the test's prefix copy at the target second, the notice
rising meanwhile; the two checks that refuse to arm, then a task armed and
cancelled in time. Targets come from the host clock, which Wine reads."""
import datetime

from harness import (COMMAND, GREEN, HOUR, LOGOFF, MINUTE, ORANGE, RED, SECOND, STATUS_CAPTION, Window,
                     centre, columns, count, exact, grab, park_pointer, same_day_target, wait_gone,
                     wait_until, window_info, xdotool)

TASK_ANIMATION = (672, 328, 195, 176)  # the picture runs 5 px past the client edge
NOTICE_SIZE = (384, 205)
NOTICE_REST_Y = 1080 - 205 - 30
NOTICE_ACTION = (240, 136, 360, 184)  # its green action caption


def type_into(main, field, text):
    # Keys go to the window under the pointer: one xdotool call clicks, selects, types.
    xdotool("mousemove", "--sync", *main.to_screen(*centre(field)), "click", 1,
            "key", "ctrl+a", *(["type", text] if text else ["key", "BackSpace"]))


def status(main, colour):
    return count(main.shot(), STATUS_CAPTION, exact(colour))


def caption_ink(main):
    """Ink columns inside the command button: the idle caption is over twice the armed one's."""
    x, y, w, h = COMMAND
    return columns(main.shot((x + 3, y + 3, w - 6, h - 6)))


def pick_logoff(main):
    main.click(*centre(LOGOFF), park=True)
    wait_until(lambda: count(main.shot(LOGOFF), (0, 0, *LOGOFF[2:]), exact(GREEN)) > 20, 3,
               "注销电脑 drawn green")
    return caption_ink(main)


def arm(main, ahead):
    """Types a target `ahead` seconds after the next whole second of the
    host clock, clicks the command button, returns the target."""
    target = same_day_target(ahead)
    for field, value in zip((HOUR, MINUTE, SECOND), (target.hour, target.minute, target.second)):
        type_into(main, field, f"{value:02d}")
    main.click(*centre(COMMAND), park=True)
    lead = target - datetime.datetime.now()
    assert lead > datetime.timedelta(seconds=2), f"armed only {lead} before the target"
    return target


def test_logoff_fires_at_the_target_second(app, main, screenshots, figures):
    idle_ink = pick_logoff(main)
    notice = [w for w in app.windows() if w.size == NOTICE_SIZE]
    assert len(notice) == 1, app.windows()
    target = arm(main, ahead=5)

    wait_until(lambda: status(main, GREEN) > 40, 3, "status caption 任务成功执行 in green")
    assert status(main, ORANGE) == 0
    wait_until(lambda: 0 < caption_ink(main) < idle_ink * 0.6, 3, "button caption 取消任务")
    main.shot().save(screenshots / "task_armed.png")

    tops = []

    def risen():
        info = window_info(notice[0].id)
        assert info is not None, "the notice is gone: the program ended early"
        tops.append(info.y if info.viewable else None)
        return info.y == NOTICE_REST_Y and info.viewable
    wait_until(risen, 4, f"notice risen to y={NOTICE_REST_Y}", interval=0.02)
    seen = [y for y in tops if y is not None]
    assert seen == sorted(seen, reverse=True), tops
    assert any(NOTICE_REST_Y < y < 1080 for y in seen), f"never seen on its way up: {tops}"
    shot = grab((notice[0].x, NOTICE_REST_Y, *NOTICE_SIZE))
    shot.save(screenshots / "task_done_window.png")
    # The four glyphs of 注销电脑 fill about 56 columns, the form's placeholder 等待... under 40.
    assert columns(shot.crop(NOTICE_ACTION), exact(GREEN)) > 48

    ended = wait_gone(app.pid, target.timestamp() + 2)
    line = (f"logoff: target {target:%H:%M:%S}, "
            + (f"ended +{ended - target.timestamp():.3f} s" if ended else "still running at +2 s"))
    figures(line)
    assert ended is not None and ended >= target.timestamp(), line


def test_incomplete_task_refused_then_one_armed_and_cancelled(app, main):
    # The status caption keeps the form's orange: a refusal changes nothing there.
    for hour, title in [("", "Quonda任务时间填写不完整"), ("18", "Quonda任务目标不完整")]:
        type_into(main, HOUR, hour)
        before = {w.id for w in app.windows(visible_only=True)}
        main.click(*centre(COMMAND), park=True)

        def new_windows():
            return [w for w in app.windows(visible_only=True) if w.id not in before]
        boxes = wait_until(new_windows, 5, "a message box")
        assert [b.name for b in boxes] == [title]
        # The information icon, in colour, left of the grey text.
        icon = grab((boxes[0].x, boxes[0].y, 60, boxes[0].height))
        assert count(icon, (0, 0, *icon.size), lambda p: max(p) - min(p) > 60) > 200
        Window(boxes[0].id).key("Return")
        park_pointer()
        wait_until(lambda: not new_windows(), 5, "message box dismissed")
        assert status(main, ORANGE) > 100 and status(main, GREEN) == 0

    idle_ink = pick_logoff(main)
    target = arm(main, ahead=7)
    wait_until(lambda: 0 < caption_ink(main) < idle_ink * 0.6, 3, "button caption 取消任务")
    first = main.shot(TASK_ANIMATION)
    wait_until(lambda: main.shot(TASK_ANIMATION) != first, 3, "task animation playing")
    main.click(*centre(COMMAND), park=True)
    wait_until(lambda: status(main, RED) > 40, 3, "status caption 任务取消成功 in red")
    assert status(main, GREEN) == 0
    wait_until(lambda: abs(caption_ink(main) - idle_ink) <= 2, 3, "button caption back to idle")
    assert wait_gone(app.pid, target.timestamp() + 3) is None, "the cancelled task still ran"
