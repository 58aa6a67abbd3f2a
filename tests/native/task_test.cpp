// The task on MainWindow through the real handlers with a fake platform: the
// command button, the spin steps, the selection rule, the notice slide, firing.
#include <gtest/gtest.h>

#include "task/scheduling.h"
#include "tests/native/fakes.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/task_done_names.h"

namespace {

using namespace ui::main_window;
using ui::EventKind;

struct TaskTest : ::testing::Test, fakes::TestProgram {
  ui::Window& main = Main();
  ui::Window& notice = *program.desktop.Find(ui::task_done::TaskDoneWindow);

  void ClickButton() { Send(main, "按钮1", EventKind::kClick); }
  void Pick(const char* option) {
    main.SetChecked(ui::ControlName{option}, true);  // as the platform's radio does on the click
    Send(main, option, EventKind::kClick);
  }
  std::string Caption(const char* n) { return main.Get(ui::ControlName{n}).caption; }
  int Interval(const char* n) { return main.Get(ui::ControlName{n}).interval; }
  void SlideTicks(int n) {
    for (int i = 0; i < n && Interval("时钟4") > 0; ++i) Send(main, "时钟4", EventKind::kTick);
  }
};

TEST_F(TaskTest, ScheduleThenCancel) {
  Pick("单选框2");
  ClickButton();
  EXPECT_EQ(fakes::TaskFace(main), "取消任务|任务成功执行 008000|1000 10|plays");
  EXPECT_EQ(notice.Get(透明标签3).caption, "重启电脑");
  EXPECT_TRUE(backend.boxes.empty());
  // Idle sleep would skip the target: the request follows a changed option, once.
  EXPECT_EQ(power.dues, std::vector<std::int64_t>{5000});  // the clock shows 18:29:55
  Pick("单选框3");
  for (int tick = 0; tick < 2; ++tick) Send(main, "任务时钟", EventKind::kTick);
  const std::string restart = "QuondaHalvix：定时任务将于 18:30:00 重启电脑";
  const std::string logoff = "QuondaHalvix：定时任务将于 18:30:00 注销电脑";
  EXPECT_EQ(power.awakeCalls, (std::vector<std::string>{restart, logoff}));

  main.SetCaption(编辑框2, "");  // an emptied field does not stop a cancel
  ClickButton();
  EXPECT_EQ(fakes::TaskFace(main), "QuondaHalvix执行命令|任务取消成功 ff0000|0 0|still");
  EXPECT_TRUE(backend.boxes.empty());
  EXPECT_EQ(power.awakeCalls, (std::vector<std::string>{restart, logoff, ""}));
  EXPECT_EQ(tray.Last(), "QuondaHalvix任务提示！|QuondaHalvix任务已经成功取消，感谢您的使用！");
  EXPECT_TRUE(main.Get(单选框3).checked);  // the choice is left as it was
  // A request remembered past its cancel left the re-armed task without one.
  main.SetCaption(编辑框2, "30");
  ClickButton();
  EXPECT_EQ(power.awakeCalls, (std::vector<std::string>{restart, logoff, "", logoff}));
}

// Fired, the task stays armed: its resume timer moves to tomorrow, once.
TEST_F(TaskTest, AFiringMovesTheResumeTimerToTheNextOccurrence) {
  Pick("单选框2");
  ClickButton();  // at 18:29:55.000, due in 5 s
  for (int second : {57, 59, 0, 1}) {
    clock.now = {2026, 12, 8, 18, second > 30 ? 29 : 30, second, 250};
    Send(main, "任务时钟", EventKind::kTick);
  }
  EXPECT_EQ(power.fired.size(), 1u);
  EXPECT_EQ(power.dues, (std::vector<std::int64_t>{5000, 86399750}));  // each request, once
}

TEST(TaskChecks, FailedChecksShowTheirBoxAndChangeNothing) {
  const char* const time = "Quonda任务时间填写不完整|Quonda任务执行的时间请填写完整，否则不能执行计划。";
  struct Case {
    ui::ControlName field;
    const char* value;
    const char* option;  // nullptr: none checked
    const char* box;     // title|text; nullptr: schedules
  } cases[] = {
      {编辑框1, "", nullptr, time},  // the time check comes first
      {编辑框3, "", "单选框1", time},
      {编辑框1, "18", nullptr, "Quonda任务目标不完整|任务目标没选择，请选择个任务的目标！"},
      {编辑框1, " ", "单选框3", nullptr},  // a blank is not empty
  };
  for (const Case& c : cases) {
    fakes::TestProgram t;
    ui::Window& m = t.Main();
    m.SetCaption(c.field, c.value);
    if (c.option) m.SetChecked(ui::ControlName{c.option}, true);
    t.Send(m, "按钮1", EventKind::kClick);
    if (!c.box) {
      EXPECT_TRUE(t.backend.boxes.empty());
      EXPECT_EQ(m.Get(按钮1).caption, "取消任务");
      continue;
    }
    ASSERT_EQ(t.backend.boxes.size(), 1u) << c.box;
    const fakes::FakeBackend::Box& box = t.backend.boxes[0];
    EXPECT_EQ(box.title + "|" + box.text, c.box);
    EXPECT_EQ(box.flags, 0x40);
    EXPECT_TRUE(box.owned);  // unowned, MainWindow stayed clickable and boxes stacked
    EXPECT_TRUE(t.power.awakeCalls.empty());
    EXPECT_EQ(fakes::TaskFace(m), "QuondaHalvix执行命令|QuondaHalvix定时系统 ff8000|0 0|still");
  }
}

TEST_F(TaskTest, SpinStepsWithinBoundsAndWritesPlainDecimals) {
  struct Case {
    const char* spin;
    const char* field;
    const char* before;
    int arrow;
    const char* after;
  } cases[] = {
      {"调节器1", "编辑框1", "22", 1, "23"},  {"调节器1", "编辑框1", "23", 1, "23"},
      {"调节器1", "编辑框1", "1", -1, "0"},   {"调节器1", "编辑框1", "0", -1, "0"},
      {"调节器3", "编辑框3", "00", 1, "1"},   {"调节器2", "编辑框2", "09", -1, "8"},
      {"调节器2", "编辑框2", "75", 1, "75"},  {"调节器2", "编辑框2", "75", -1, "74"},
      {"调节器2", "编辑框2", "58", 1, "59"},  {"调节器2", "编辑框2", "59", 1, "59"},
      {"调节器3", "编辑框3", "abc", 1, "1"},  {"调节器3", "编辑框3", "30", 7, "30"},
  };
  for (const Case& c : cases) {
    main.SetCaption(ui::ControlName{c.field}, c.before);
    Send(main, c.spin, EventKind::kArrow, c.arrow);
    EXPECT_EQ(Caption(c.field), c.after) << c.spin << " " << c.before << " " << c.arrow;
  }
}

// 单选框1 sits apart from the other three: only the rule unchecks across.
TEST_F(TaskTest, SelectionRuleMakesTheFourOneGroup) {
  const auto checked = [&] {
    std::string marks;
    for (const auto& o : task::kActionOptions) marks += main.Get(o.name).checked ? "x" : "-";
    return marks;
  };
  Pick("单选框1");
  Pick("单选框4");
  EXPECT_EQ(checked(), "---x");
  EXPECT_EQ(main.Get(单选框4).textColor, ui::kGreen);
  EXPECT_EQ(main.Get(单选框1).textColor, ui::kBlack);
  Pick("单选框1");
  EXPECT_EQ(checked(), "x---");
}

TEST_F(TaskTest, NoticeRisesRestsAndSinks) {
  // 1920x1080 with a 384x205 notice: parked at (1536, 1080), rests at top 845.
  EXPECT_EQ(notice.ScreenRect().left, 1536);
  EXPECT_EQ(notice.ScreenRect().top, 1080);
  Pick("单选框3");
  ClickButton();
  SlideTicks(1000);
  EXPECT_EQ(notice.ScreenRect().top, 845);
  EXPECT_EQ(notice.ScreenRect().left, 1536);
  EXPECT_EQ(Interval("时钟4"), 0);  // stopped on arrival
  Send(notice, "时钟1", EventKind::kTick);  // the 15-second tick
  EXPECT_EQ(Interval("时钟4"), 10);
  SlideTicks(100);
  EXPECT_EQ(notice.ScreenRect().top, 945);
  // A cancel while sinking halts it partly on screen.
  ClickButton();
  EXPECT_EQ(Interval("时钟4"), 0);
  SlideTicks(10);
  EXPECT_EQ(notice.ScreenRect().top, 945);
  Send(notice, "时钟1", EventKind::kTick);  // sinks on at the next 15-second tick
  SlideTicks(1000);
  EXPECT_EQ(notice.ScreenRect().top, 1080);
  EXPECT_EQ(Interval("时钟4"), 0);
}

TEST_F(TaskTest, CloseMarkHidesForGoodButSlidesStillMoveIt) {
  Send(notice, "透明标签4", EventKind::kPress);
  EXPECT_FALSE(notice.IsVisible());
  Pick("单选框1");
  ClickButton();
  EXPECT_EQ(notice.Get(透明标签3).caption, "关闭电脑");
  SlideTicks(5);
  EXPECT_EQ(notice.ScreenRect().top, 1075);
  EXPECT_FALSE(notice.IsVisible());
}

TEST_F(TaskTest, FiresTheOptionCheckedAtTheMoment) {
  Pick("单选框1");
  main.SetCaption(编辑框1, "18");
  main.SetCaption(编辑框2, "30");
  main.SetCaption(编辑框3, "0");
  clock.now = {2026, 12, 8, 18, 29, 58, 500};
  ClickButton();
  Pick("单选框4");  // changed after scheduling
  for (int s : {59, 0, 1}) {
    clock.now = {2026, 12, 8, 18, s == 59 ? 29 : 30, s, 500};
    Send(main, "任务时钟", EventKind::kTick);
  }
  EXPECT_EQ(power.fired, std::vector<task::PowerMode>{task::PowerMode::kHibernate});
  EXPECT_EQ(fakes::TaskFace(main), "取消任务|任务成功执行 008000|1000 10|plays");  // still armed
}

// Typed with a Chinese input method in full-width mode, the fields used to
// read as 0: "１８" fired at midnight, and so did a lone blank.
TEST(TaskFields, FireAtTheTimeAsTyped) {
  struct Case {
    const char* hour;
    int clockHour;
    bool fires;
  } cases[] = {{"\xef\xbc\x91\xef\xbc\x98", 18, true}, {"\xef\xbc\x91\xef\xbc\x98", 0, false},
               {" ", 0, false}, {"ab", 0, false}};
  for (const Case& c : cases) {
    fakes::TestProgram t;
    ui::Window& m = t.Main();
    m.SetCaption(编辑框1, c.hour);  // 30 minutes, 00 seconds as the form has them
    m.SetChecked(单选框1, true);
    t.clock.now = {2026, 12, 8, c.clockHour, 29, 59, 0};
    t.Send(m, "按钮1", EventKind::kClick);
    t.clock.now = {2026, 12, 8, c.clockHour, 30, 0, 0};
    t.Send(m, "任务时钟", EventKind::kTick);
    EXPECT_EQ(t.power.fired.size(), c.fires ? 1u : 0u) << c.hour << " at " << c.clockHour;
  }
}

// A failed action is told once and the task stays armed; hibernation that is off, at once.
TEST_F(TaskTest, PowerFailuresAreToldByOneBalloon) {
  Pick("单选框4");
  power.canHibernate = false;
  ClickButton();
  ASSERT_EQ(tray.notices.size(), 2u);  // after the start-up notice
  EXPECT_EQ(tray.notices[1].text,
            "已选择“休眠模式”，但本机的休眠功能已关闭或不可用，到时电脑将无法休眠。"
            "可用管理员命令 powercfg /h on 开启休眠。");
  task::OnPowerActionFailed(program.Task(), task::PowerMode::kRestart,
                            task::PowerFailure::kNoRight);
  ASSERT_EQ(tray.notices.size(), 3u);
  EXPECT_EQ(tray.notices[2].iconKind, 1);
  EXPECT_EQ(tray.Last(),
            "QuondaHalvix任务提示！|QuondaHalvix未能重启电脑：当前帐户没有这项权限，或被管理员、组策略禁止。"
            "任务仍然有效，下次到达设定时间时会再试。");
  EXPECT_EQ(fakes::TaskFace(main), "取消任务|任务成功执行 008000|1000 10|plays");
}

}  // namespace
