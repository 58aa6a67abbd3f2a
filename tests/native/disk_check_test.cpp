// The disk check through the real handlers: the click, the 101 ticks of
// 时钟3, the reveal in its order, and the notice that says what was read.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "tests/native/fakes.h"
#include "ui/main_window/main_window_names.h"

namespace {

using namespace ui::main_window;
using ui::EventKind;

struct DiskCheckTest : ::testing::Test, fakes::TestProgram {
  ui::Window& main = Main();
  bool Shown(ui::ControlName c) { return main.Get(c).visible; }
};

TEST_F(DiskCheckTest, TheClickStartsTheTimerAndTheHundredAndFirstTickRevealsTheReport) {
  size_t noticesBefore = tray.notices.size();
  Send(main, 超级按钮1, EventKind::kClick);
  EXPECT_EQ(main.Get(时钟3).interval, 20);
  EXPECT_TRUE(main.Get(超级按钮1).disabled);
  for (int tick = 1; tick <= 100; ++tick) {
    Send(main, 时钟3, EventKind::kTick);
    ASSERT_EQ(main.Get(进度条1).position, tick);
    ASSERT_FALSE(Shown(编辑框8)) << tick;  // nothing before the bar is full
  }
  EXPECT_EQ(tray.notices.size(), noticesBefore);
  Send(main, 时钟3, EventKind::kTick);  // the 101st
  EXPECT_TRUE(Shown(编辑框8));
  EXPECT_FALSE(Shown(超级按钮1));
  EXPECT_FALSE(main.Get(超级按钮1).disabled);  // enabled, then hidden
  EXPECT_TRUE(Shown(透明标签10));
  EXPECT_TRUE(Shown(超级按钮2));
  EXPECT_TRUE(Shown(图形按钮4));
  EXPECT_EQ(main.Get(图形按钮4).picture, assets::Asset::kResultIcon);  // the tick: values read
  EXPECT_EQ(main.Get(时钟3).interval, 0);
  EXPECT_EQ(main.Get(进度条1).position, 100);  // drawn full, never beyond
  ASSERT_EQ(tray.notices.size(), noticesBefore + 1);
  EXPECT_EQ(tray.Last(), "Quonda硬盘检测结果提示！|"
                        "您的计算机硬盘使用时间和温度已经成功提取请查看！注：30-50度硬盘正常！70度以上硬盘危险温度过高！");
  EXPECT_EQ(main.Get(编辑框8).caption, "硬盘已经使用了:5000个小时\r\n硬盘当前温度:35摄氏度\r\n");
  Send(main, 超级按钮2, EventKind::kClick);  // the button that replaced it does nothing
  EXPECT_EQ(main.Get(时钟3).interval, 0);
}

// Start-up read nothing: claiming the values were extracted would report a
// failure as success, and what the user can do depends on why.
TEST(DiskCheck, NothingReadIsSaidSoWithWhyAndNoTick) {
  const struct {
    disk::Unread why;
    const char* lines;
    const char* notice;
  } cases[] = {
      {disk::Unread::kDriveSilent,
       "未能读取硬盘信息：硬盘或驱动（RAID、USB硬盘盒等）\r\n不向系统提供使用时间和温度，定时关机不受影响。\r\n",
       "未能读取硬盘使用时间和温度！此硬盘或其驱动不向系统提供此信息，定时关机不受影响。"},
      {disk::Unread::kNeedsAdministrator,
       "未能读取硬盘信息：需要管理员权限。\r\n请右键本软件，选择“以管理员身份运行”后重试。\r\n",
       "未能读取硬盘使用时间和温度！请以管理员身份运行本软件后重试。注：部分硬盘不提供此信息。"},
  };
  for (const auto& c : cases) {
    fakes::TestProgram t;
    t.smart.lines.clear();
    t.smart.why = c.why;
    ui::Window& main = t.Main();
    ASSERT_EQ(main.Get(编辑框8).caption, "");
    t.Send(main, 超级按钮1, EventKind::kClick);
    for (int tick = 0; tick < 101; ++tick) t.Send(main, 时钟3, EventKind::kTick);
    EXPECT_TRUE(main.Get(编辑框8).visible);
    EXPECT_EQ(main.Get(编辑框8).caption, c.lines);
    EXPECT_EQ(t.tray.Last(), std::string("Quonda硬盘检测结果提示！|") + c.notice);
    EXPECT_TRUE(main.Get(图形按钮4).visible);
    EXPECT_EQ(main.Get(图形按钮4).picture, assets::Asset::kResultUnread);
  }
}

// A failing disk, read or not: a third line in a grown box, warning picture and notice.
TEST_F(DiskCheckTest, AFailingDiskIsToldWithItsValues) {
  program.records.disk = {disk::Unread::kDriveSilent, true};
  for (const char* lines : {"硬盘已经使用了:5000个小时\r\n", ""}) {
    main.SetCaption(编辑框8, lines);
    main.SetPosition(进度条1, 100);
    Send(main, 时钟3, EventKind::kTick);
    EXPECT_EQ(main.Get(编辑框8).caption,
              (*lines ? lines : "未能读取硬盘信息：硬盘或驱动（RAID、USB硬盘盒等）\r\n不向系统提供使用时间和温度，定时关机不受影响。\r\n") +
                  std::string("警告：硬盘自检报告即将发生故障，请立即备份重要数据！\r\n"));
    EXPECT_EQ(std::tie(main.Get(编辑框8).rect.top, main.Get(编辑框8).rect.height), std::tuple(176, 48));
    EXPECT_EQ(main.Get(图形按钮4).picture, assets::Asset::kResultFailing);
    EXPECT_EQ(tray.notices.back().text,
              "警告：您的计算机硬盘报告即将发生故障！请立即备份重要数据！硬盘使用时间和温度已经提取请查看！");
  }
}

}  // namespace
