"""The disk check as a user meets it, with the SMART data served by our test
WMI provider (conftest.provider): the report box stays out of sight until the
check reveals it, a screen-reader client in another process reads exactly its
text, and the provider's DLL is let go, everything released, once it is read."""
import time

import pytest

from harness import CHECK_BUTTON, client, count, scaled, wait_until

REPORT_TEXT = (184, 328, 504, 360)  # 编辑框8's text right of 图形按钮4: left, top, right, bottom


def report_drawn(window, dpi=96):
    # Blank until revealed, then text right of the result icon over its left edge.
    return count(window.shot(), scaled(REPORT_TEXT, dpi), lambda p: p != (255, 255, 255)) > 20


def report_box(prefix):
    """The report box's text read from another process; None while it is hidden."""
    code, lines = client(prefix, "value", "硬盘信息")
    assert code in (0, 2), "main window not found by the client"
    return lines[0] if code == 0 else None


@pytest.mark.parametrize("text", [
    pytest.param("硬盘已经使用了:5000个小时\\r\\n硬盘当前温度:35摄氏度\\r\\n", id="two-disks"),
    # Wine's storage driver answers no query: the reason given is the drive's, not the user's rights.
    pytest.param("未能读取硬盘信息：硬盘或驱动（RAID、USB硬盘盒等）\\r\\n"
                 "不向系统提供使用时间和温度，定时关机不受影响。\\r\\n",
                 id="empty", marks=pytest.mark.scenario("empty")),
])
def test_check_reveals_the_report_read_at_start(provider, app, main, prefix, screenshots, figures,
                                                 request, text):
    assert report_box(prefix) is None
    clicked = time.monotonic()
    main.click(*CHECK_BUTTON, park=True)
    wait_until(lambda: report_box(prefix) is not None, 10, "report box revealed")
    figures(f"disk check: click to report shown {time.monotonic() - clicked:.2f} s")
    assert report_box(prefix) == text
    wait_until(lambda: report_drawn(main), 5, "report drawn")
    main.shot().save(screenshots / f"disk_{request.node.callspec.id}.png")
    # Once the report is read every reference is released and the DLL let go.
    wait_until(lambda: provider.exists() and "unloaded" in provider.read_text(), 10,
               "the provider's DLL unloaded")
    assert provider.read_text() == "0 unloaded\n"
    assert app.running()
