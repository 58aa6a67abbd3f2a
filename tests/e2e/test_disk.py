"""The disk check as a user meets it, with the disk's SMART data served by a
WMI provider of our own registered in the test's prefix under the locator's
ProgID and class id: the report box stays out of sight until the check
reveals it, and a screen-reader client in another process reads exactly the
two lines from it. Also the case where nothing can be read, and the
provider's DLL let go, everything released, once the report is read."""
import subprocess
import time

import pytest

from harness import WINE64, build_file, count, park_pointer, scaled, wait_until
from test_keyboard import client

PROVIDER_CLSID = "{BA2609D2-25B2-4EF9-A980-99CA03975ECD}"
CHECK_BUTTON = (584, 280)  # 超级按钮1, "开始检测"
REPORT = "硬盘已经使用了:5000个小时\\r\\n硬盘当前温度:35摄氏度\\r\\n"
# Under Wine the storage driver answers none of the queries: the drive's, not
# the user's rights, is what the box gives as the reason.
NOTHING = ("未能读取硬盘信息：硬盘或驱动（RAID、USB硬盘盒等）\\r\\n"
           "不向系统提供使用时间和温度，定时关机不受影响。\\r\\n")
REPORT_TEXT = (184, 328, 504, 360)  # 编辑框8's text, right of 图形按钮4: left, top, right, bottom


def report_drawn(window, dpi=96):
    # Blank until revealed, then text right of the result icon over its left edge.
    return count(window.shot(), scaled(REPORT_TEXT, dpi), lambda p: p != (255, 255, 255)) > 20


@pytest.fixture
def provider(prefix, request):
    """Registers the test provider in the prefix copy before the program
    starts; the scenario comes from the test's `scenario` mark. Returns the
    path of the file the provider writes its live-object count to."""
    mark = request.node.get_closest_marker("scenario")
    dll = build_file("qh_wmi_provider.dll")
    target = prefix.path / "drive_c" / "qh_wmi_provider.dll"
    target.write_bytes(dll.read_bytes())
    classes = "HKLM\\Software\\Classes"
    server = f"{classes}\\CLSID\\{PROVIDER_CLSID}\\InprocServer32"
    for args in ([f"{classes}\\WbemScripting.SWbemLocator\\CLSID", "/ve", "/d", PROVIDER_CLSID],
                 [server, "/ve", "/d", "C:\\qh_wmi_provider.dll"],
                 [server, "/v", "ThreadingModel", "/d", "Both"]):
        subprocess.run([WINE64, "reg", "add", *args, "/f"], env=prefix.env, check=True,
                       timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    prefix.env["QH_WMI_SCENARIO"] = mark.args[0] if mark else "two-disks"
    prefix.env["QH_WMI_COUNT_FILE"] = "C:\\qh_wmi_count.txt"
    return prefix.path / "drive_c" / "qh_wmi_count.txt"


def report_box(prefix):
    """The report box's text as a screen reader reads it from another
    process, or None while the box is out of sight (hidden elements are not
    presented)."""
    code, lines = client(prefix, "value", "硬盘信息")
    assert code in (0, 2), "main window not found by the client"
    return lines[0] if code == 0 else None


def check_disk(main):
    main.click(*CHECK_BUTTON)
    park_pointer()


def test_check_reveals_the_report_read_at_start(provider, app, main, prefix, screenshots, figures):
    assert report_box(prefix) is None  # not yet shown
    clicked = time.monotonic()
    check_disk(main)
    wait_until(lambda: report_box(prefix) is not None, 10, "report box revealed")
    figures(f"disk check: click to report shown {time.monotonic() - clicked:.2f} s")
    assert report_box(prefix) == REPORT
    wait_until(lambda: report_drawn(main), 5, "report drawn")
    main.shot().save(screenshots / "disk_report.png")
    # The report read, every reference the provider handed out is released
    # and its DLL let go while the program runs on.
    wait_until(lambda: provider.exists() and "unloaded" in provider.read_text(), 10,
               "the provider's DLL unloaded")
    figures(f"disk provider: live objects when unloaded {provider.read_text().strip()}")
    assert provider.read_text() == "0 unloaded\n"
    assert app.running()


@pytest.mark.scenario("empty")
def test_nothing_read_is_said_so(provider, app, main, prefix, screenshots):
    assert report_box(prefix) is None
    check_disk(main)
    wait_until(lambda: report_box(prefix) is not None, 10, "report box revealed")
    assert report_box(prefix) == NOTHING
    main.shot().save(screenshots / "disk_nothing_read.png")

