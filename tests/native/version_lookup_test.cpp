// The latest-version lookup and the web links, with a fake network and browser.
#include <gtest/gtest.h>

#include "tests/native/fakes.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/secondary_forms.h"
#include "ui/secondary_windows/version_names.h"

namespace {

namespace ver = ui::version;
using ui::EventKind;

struct LookupTest : ::testing::Test, fakes::TestProgram {
  ui::Window& version = program.desktop.Load(ui::VersionWindowForm(), nullptr);
  void Send(ui::ControlName control, EventKind kind) { TestProgram::Send(version, control, kind); }
  // The status line (caption, colour, shown), how many of the page view and
  // its four masks show, the busy animation, the timer, the button.
  std::string Face() {
    const ui::Control& status = version.Get(ver::透明标签3);
    int page = 0;
    for (ui::ControlName c : {ver::超文本浏览框1, ver::图片框6, ver::图片框7, ver::图片框8, ver::图片框9}) {
      page += version.Get(c).visible;
    }
    return status.caption + " " + fakes::Hex(status.textColor) + (status.visible ? "" : " hidden") +
           "|page " + std::to_string(page) + (version.Get(ver::图片框4).animating ? "|plays|" : "|still|") +
           std::to_string(version.Get(ver::时钟1).interval) +
           (version.Get(ver::按钮1).disabled ? "|disabled" : "|enabled");
  }
};

TEST_F(LookupTest, ClickWaitsInGreenAndTheTickShowsThePage) {
  EXPECT_EQ(Face(), "等待检测最新版本信息 000000|page 0|still|0|enabled");
  Send(ver::按钮1, EventKind::kClick);
  EXPECT_EQ(Face(), "正在获取版本信息... 008000|page 0|plays|6000|enabled");
  EXPECT_EQ(network.probes, 1);  // the click asks for itself
  Send(ver::时钟1, EventKind::kTick);  // neither stops the timer nor touches the status line
  EXPECT_EQ(Face(), "正在获取版本信息... 008000|page 5|still|6000|enabled");
}

TEST_F(LookupTest, ASecondClickRestartsThePeriod) {
  auto timerSets = [&] {
    int n = 0;
    for (const auto& c : backend.Calls("changed")) {
      n += c.window == "VersionWindow.时钟1" && c.arg == static_cast<int>(ui::Change::kTimer);
    }
    return n;
  };
  Send(ver::按钮1, EventKind::kClick);
  int first = timerSets();
  Send(ver::按钮1, EventKind::kClick);
  // The same interval again restarts the period: it must still reach the platform.
  EXPECT_EQ(timerSets(), first + 1);
  EXPECT_EQ(version.Get(ver::时钟1).interval, 6000);
}

TEST_F(LookupTest, WithoutANetworkTheClickSaysSoAndDisablesTheButton) {
  Send(ver::按钮1, EventKind::kClick);
  Send(ver::时钟1, EventKind::kTick);
  network.connected = false;  // lost between two clicks
  Send(ver::按钮1, EventKind::kClick);  // the timer left running
  EXPECT_EQ(Face(), "网络异常！无法获取版本信息 ff0000|page 0|plays|6000|disabled");
  Send(ver::时钟1, EventKind::kTick);  // nothing enables the button again
  EXPECT_EQ(Face(), "网络异常！无法获取版本信息 ff0000|page 5|still|6000|disabled");
}

TEST_F(LookupTest, HiddenAndShownAgainTheWindowKeepsItsState) {
  network.connected = false;
  Send(ver::按钮1, EventKind::kClick);
  program.desktop.SetVisible(version, false);
  Send(ver::时钟1, EventKind::kTick);  // the timer ticks on while hidden
  program.desktop.SetVisible(version, true);
  EXPECT_EQ(&program.desktop.Load(ui::VersionWindowForm(), nullptr), &version);
  EXPECT_EQ(Face(), "网络异常！无法获取版本信息 ff0000|page 5|still|6000|disabled");
}

// A page handed on to nobody (elevated, no desktop shell) is told in a notice.
TEST(WebLinks, EachTriggerOpensItsPageOnceAndChangesNoWindow) {
  const std::string site = "https://www.quondahalvix.com/html/yijianfankui-qrx/index.htm";
  const std::string feedback = "https://www.quondahalvix.com/feedback/";
  const std::string download = "https://downloads.example.net/soft/detail/40350.html";
  struct Trigger {
    bool version;  // on VersionWindow, else MainWindow
    ui::ControlName control;
    int menuItem;  // TrayMenu position, or -1
    std::string address;
  } triggers[] = {
      {false, ui::main_window::透明标签17, -1, site},
      {false, {}, 0, site},      // "官方网站"
      {false, {}, 3, feedback},  // "用户意见反馈"
      {true, ver::透明标签8, -1, site},
      {true, ver::透明标签7, -1, download},
  };
  for (const Trigger& t : triggers) for (bool opens : {true, false}) {
    fakes::TestProgram p;
    p.web.opens = opens;
    ui::Window& main = p.Main();
    ui::Window& version = p.program.desktop.Load(ui::VersionWindowForm(), nullptr);
    const size_t calls = p.backend.calls.size(), repaints = p.backend.invalidated.size();
    const size_t notices = p.tray.notices.size();
    if (t.menuItem >= 0) p.Send(main, "", EventKind::kItemChosen, t.menuItem);
    else p.Send(t.version ? version : main, t.control, EventKind::kPress);
    EXPECT_EQ(p.web.opened, std::vector<std::string>{t.address});
    EXPECT_EQ(p.backend.calls.size(), calls) << t.address;  // no window operation
    EXPECT_EQ(p.backend.invalidated.size(), repaints) << t.address;
    ASSERT_EQ(p.tray.notices.size(), notices + (opens ? 0 : 1)) << t.address;
    if (opens) continue;
    EXPECT_EQ(p.tray.Last(), "Quonda网页打开提示！|网页未能打开！QuondaHalvix正以管理员身份运行，为了您的电脑安全，"
              "网页只能通过桌面打开，而桌面还没有准备好。请稍后再试，或直接在浏览器中访问，感谢您的使用！");
  }
}

}  // namespace
