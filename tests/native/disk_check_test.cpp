// The disk check through the real handlers: the click, the 101 ticks of
// 时钟3, the reveal in its order, and the notice that says what was read.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "disk/disk_check.h"
#include "tests/native/fakes.h"
#include "ui/main_window/main_window_form.h"
#include "ui/main_window/main_window_names.h"

namespace {

using namespace ui::main_window;
using ui::EventKind;

struct DiskCheckTest : ::testing::Test, fakes::TestProgram {
  ui::Window* main = nullptr;
  void SetUp() override { main = &program.desktop.Load(ui::MainWindowForm(), nullptr); }
  void Send(ui::ControlName control, EventKind kind) {
    program.desktop.Deliver(ui::Event{main, main->Find(control), kind, 0});
  }
  bool Shown(ui::ControlName c) { return main->Get(c).visible; }
};

TEST_F(DiskCheckTest, ClickStartsTheTimerAndDisablesTheButton) {
  Send(超级按钮1, EventKind::kClick);
  EXPECT_EQ(main->Get(时钟3).interval, 20);
  EXPECT_TRUE(main->Get(超级按钮1).disabled);
  EXPECT_FALSE(Shown(编辑框8));
}

TEST_F(DiskCheckTest, TheHundredAndFirstTickRevealsTheReport) {
  // The lines start-up collected wait in the hidden box.
  ASSERT_EQ(main->Get(编辑框8).caption, "硬盘已经使用了:5000个小时\r\n硬盘当前温度:35摄氏度\r\n");
  size_t noticesBefore = tray.notices.size();
  Send(超级按钮1, EventKind::kClick);
  for (int tick = 1; tick <= 100; ++tick) {
    Send(时钟3, EventKind::kTick);
    ASSERT_EQ(main->Get(进度条1).position, tick);
    ASSERT_FALSE(Shown(编辑框8)) << tick;  // nothing before the bar is full
  }
  EXPECT_EQ(tray.notices.size(), noticesBefore);
  Send(时钟3, EventKind::kTick);  // the 101st
  EXPECT_TRUE(Shown(编辑框8));
  EXPECT_FALSE(Shown(超级按钮1));
  EXPECT_FALSE(main->Get(超级按钮1).disabled);  // enabled, then hidden
  EXPECT_TRUE(Shown(透明标签10));
  EXPECT_TRUE(Shown(超级按钮2));
  EXPECT_TRUE(Shown(图形按钮4));
  EXPECT_EQ(main->Get(图形按钮4).picture, assets::Asset::kResultIcon);  // the tick: values read
  EXPECT_EQ(main->Get(时钟3).interval, 0);
  EXPECT_EQ(main->Get(进度条1).position, 100);  // drawn full, never beyond
  ASSERT_EQ(tray.notices.size(), noticesBefore + 1);
  EXPECT_EQ(tray.notices.back().title, disk::kCheckTitle);
  EXPECT_EQ(tray.notices.back().text, disk::kCheckText);
  EXPECT_EQ(main->Get(编辑框8).caption, "硬盘已经使用了:5000个小时\r\n硬盘当前温度:35摄氏度\r\n");
  // A click on the button that replaced it does nothing.
  Send(超级按钮2, EventKind::kClick);
  EXPECT_EQ(main->Get(时钟3).interval, 0);
}

// Start-up read nothing from the disk, for either reason.
struct NothingReadTest : DiskCheckTest, ::testing::WithParamInterface<disk::Unread> {
  void SetUp() override {
    smart.lines.clear();
    smart.why = GetParam();
    DiskCheckTest::SetUp();
  }
};

TEST_P(NothingReadTest, NothingReadIsSaidSoWithWhyAndNoTick) {
  // Claiming the values were extracted would report a failure as success;
  // what the user can do depends on why.
  const bool rights = GetParam() == disk::Unread::kNeedsAdministrator;
  ASSERT_EQ(main->Get(编辑框8).caption, "");
  Send(超级按钮1, EventKind::kClick);
  for (int tick = 0; tick < 101; ++tick) Send(时钟3, EventKind::kTick);
  EXPECT_TRUE(Shown(编辑框8));
  EXPECT_EQ(main->Get(编辑框8).caption,
            rights ? disk::kNeedsAdministratorLines : disk::kDriveSilentLines);
  EXPECT_EQ(tray.notices.back().title, disk::kCheckTitle);
  EXPECT_EQ(tray.notices.back().text, rights ? disk::kCheckFailedText : disk::kCheckSilentText);
  EXPECT_TRUE(Shown(图形按钮4));
  EXPECT_EQ(main->Get(图形按钮4).picture, assets::Asset::kResultUnread);
}

// A disk that predicts its failure, read or not: the values stay, a third
// line in a box grown to show it, the warning picture and notice.
TEST_F(DiskCheckTest, AFailingDiskIsToldWithItsValues) {
  program.records.disk = {disk::Unread::kDriveSilent, true};
  for (const char* lines : {"硬盘已经使用了:5000个小时\r\n", ""}) {
    main->SetCaption(编辑框8, lines);
    main->SetPosition(进度条1, 100);
    Send(时钟3, EventKind::kTick);
    EXPECT_EQ(main->Get(编辑框8).caption,
              (*lines ? lines : "未能读取硬盘信息：硬盘或驱动（RAID、USB硬盘盒等）\r\n不向系统提供使用时间和温度，定时关机不受影响。\r\n") +
                  std::string("警告：硬盘自检报告即将发生故障，请立即备份重要数据！\r\n"));
    EXPECT_EQ(std::tie(main->Get(编辑框8).rect.top, main->Get(编辑框8).rect.height), std::tuple(176, 48));
    EXPECT_EQ(main->Get(图形按钮4).picture, assets::Asset::kResultFailing);
    EXPECT_EQ(tray.notices.back().text,
              "警告：您的计算机硬盘报告即将发生故障！请立即备份重要数据！硬盘使用时间和温度已经提取请查看！");
  }
}

INSTANTIATE_TEST_SUITE_P(Why, NothingReadTest,
                         ::testing::Values(disk::Unread::kDriveSilent, disk::Unread::kNeedsAdministrator));

}  // namespace
