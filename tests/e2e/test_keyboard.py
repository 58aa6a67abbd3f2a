"""The program driven by the keyboard alone (real X key events; xdotool
windowfocus gives the X focus, as no window manager does) and read by our
accessibility client (tests/tools) as a screen reader reads it. The keys and
the tree are written to build/screenshots."""
import datetime
import time

from harness import client, element, same_day_target, tree, wait_gone, wait_until, xdotool


class Keys:
    """Sends keys to the focused window and writes down what was pressed."""

    def __init__(self, screenshots, title):
        self.log, self.title, self.pressed = screenshots / "keyboard_keys.txt", title, []

    def focus(self, window):
        xdotool("windowfocus", "--sync", window.id)

    def key(self, *names):
        xdotool("key", "--delay", "60", *names)
        self.pressed += names

    def type(self, text):
        xdotool("type", "--delay", "60", text)
        self.pressed.append(f"'{text}'")

    def save(self):
        with open(self.log, "a", encoding="utf-8") as out:
            out.write(f"{self.title}: {' '.join(self.pressed)}\n")


def test_keyboard_schedules_a_logoff_that_fires(app, main, screenshots):
    keys = Keys(screenshots, "schedule a log-off")
    target = same_day_target(8)
    keys.focus(main)
    # Tab into each field selects its text, so typing replaces it.
    for value in (target.hour, target.minute, target.second):
        keys.key("Tab")
        keys.type(f"{value:02d}")
    keys.key("Tab", "Right", "Right")  # onto the options: 关闭电脑, 重启电脑, 注销电脑
    keys.key("Tab", "space")           # the command button
    keys.save()
    lead = target - datetime.datetime.now()
    assert lead > datetime.timedelta(seconds=1), f"armed only {lead} before the target"
    ended = wait_gone(app.pid, target.timestamp() + 3)
    assert ended is not None and ended >= target.timestamp() - 0.5, \
        f"log-off at {target:%H:%M:%S}: ended {ended}"


def test_screen_reader_and_keyboard_arm_cancel_and_leave_the_exit_confirmation(
        app, main, prefix, screenshots):
    lines = tree(prefix)
    (screenshots / "accessible_tree.txt").write_text("\n".join(lines) + "\n", encoding="utf-8")
    assert lines[:9] == [
        "text|QuondaHalvix2.1|normal",
        "text|时刻保护您的计算机安全|normal",
        "text|这是一款全新的软件，他可以按照用户设定的时间进行全自动关机等功能|normal",
        "grouping|QuondaHalvix定时系统|normal",
        "text|几时：|normal",
        "editable text|几时|focusable",
        "spin button|几时|normal",
        "  push button|增加|normal",
        "  push button|减少|normal",
    ]
    assert "radio button|注销电脑|focusable" in lines
    assert not any("硬盘信息" in line for line in lines)  # the report box is hidden

    keys = Keys(screenshots, "schedule and cancel")
    keys.focus(main)
    # An hour half a day away; Up steps the second field as its spin does.
    keys.key("Tab")
    keys.type(f"{(datetime.datetime.now().hour + 12) % 24:02d}")
    keys.key("Tab", "Tab", "Up", "Up")
    keys.key("Tab", "Down")  # 关闭电脑 to 重启电脑
    keys.key("Tab", "Return")
    wait_until(lambda: element(prefix, "push button", "取消任务"), 10, "armed: 取消任务")
    assert element(prefix, "grouping", "任务成功执行") is not None
    assert "checked" in element(prefix, "radio button", "重启电脑")
    keys.key("space")
    keys.save()
    wait_until(lambda: element(prefix, "push button", "QuondaHalvix执行命令"), 10, "idle again")
    assert element(prefix, "grouping", "任务取消成功") is not None
    assert "focused" in element(prefix, "push button", "QuondaHalvix执行命令")

    # The screen reader's default actions: an option checked, the task armed again.
    assert client(prefix, "do", "注销电脑")[0] == 0
    wait_until(lambda: "checked" in (element(prefix, "radio button", "注销电脑") or ""), 10,
               "注销电脑 checked")
    assert client(prefix, "do", "QuondaHalvix执行命令")[0] == 0
    wait_until(lambda: element(prefix, "push button", "取消任务"), 10, "the task armed")
    assert element(prefix, "grouping", "任务成功执行") is not None
    assert client(prefix, "do", "没有这个控件")[0] == 2

    keys = Keys(screenshots, "exit confirmation")
    keys.focus(main)
    before = {w.id for w in app.windows(visible_only=True)}
    keys.key("shift+F10")  # the window's menu: TrayMenu
    # The pop-up takes the keyboard once it is mapped.
    wait_until(lambda: [w for w in app.windows(visible_only=True) if w.id not in before], 5,
               "the pop-up menu")
    keys.key("Up", "Return")  # its last item, 退出本软件
    confirm = app.wait_window(size=(536, 278), timeout=10)
    keys.focus(confirm)
    keys.key("alt+F4")  # no way out but its two buttons
    assert wait_gone(app.pid, time.time() + 1) is None
    assert confirm.info().viewable
    keys.key("Tab", "Tab", "space")  # 确认退出, 取消返回: pressed
    confirm.wait_unmapped()
    assert app.running()
    # Alt+F4 on MainWindow hides it as its X does; the program lives on.
    keys.focus(main)
    keys.key("alt+F4")
    keys.save()
    main.wait_unmapped()
    assert wait_gone(app.pid, time.time() + 1) is None
