// Start-up: the creation steps in their order, the first clock caption, the
// parked notice window, and the program-wide records.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/program.h"
#include "task/clock.h"
#include "tests/native/fakes.h"
#include "ui/main_window/main_window_form.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/secondary_forms.h"
#include "ui/secondary_windows/task_done_names.h"
#include "ui/secondary_windows/version_names.h"

namespace {

using namespace ui::main_window;
namespace td = ui::task_done;
namespace ver = ui::version;

struct StartupTest : ::testing::Test, fakes::TestProgram {
};

TEST_F(StartupTest, CreationStepsRunBeforeTheWindowShows) {
  ui::Window& main = program.desktop.Load(ui::MainWindowForm(), nullptr);
  std::vector<std::string> ops = backend.Ops();
  std::vector<std::string> expected = {
      "create MainWindow", "style", "create TaskDoneWindow", "show TaskDoneWindow",
      "focus MainWindow", "show MainWindow"};
  EXPECT_EQ(ops, expected);
  EXPECT_EQ(backend.ownerOf[1], "TaskDoneWindow<-MainWindow");
  EXPECT_EQ(backend.Calls("style")[0].arg, 1);
  // The clock caption is there from the first moment the window shows.
  EXPECT_EQ(main.Get(标签1).caption, "本地时间：2026年12月8日 18:29:55");
}

TEST_F(StartupTest, NoticeIsParkedBelowTheBottomRightCorner) {
  struct Case {
    ui::Size screen;
    ui::Rect parked;
  } cases[] = {
      {{1920, 1080}, {1536, 1080, 384, 205}},
      {{1024, 768}, {640, 768, 384, 205}},
      {{300, 200}, {-84, 200, 384, 205}},  // narrower than the notice
  };
  for (const Case& c : cases) {
    fakes::TestProgram t;
    t.backend.screen = c.screen;
    t.program.desktop.Load(ui::MainWindowForm(), nullptr);
    EXPECT_EQ(t.program.desktop.Find(td::TaskDoneWindow)->ScreenRect(), c.parked);
    // Created there: placed after it shows, the top-most notice flashed at
    // its form's place first.
    EXPECT_EQ(t.backend.Calls("create").at(1).rect, c.parked);
  }
}

// At (50, 50) the 867x524 window ran under the taskbar of a small or scaled
// screen, its command button out of reach.
TEST_F(StartupTest, MainWindowOpensInsideTheWorkArea) {
  struct Case {
    ui::Rect workArea;
    ui::Point at;
  } cases[] = {
      {{0, 40, 1920, 1040}, {50, 50}},  // taskbar at the top, clear of it
      {{0, 0, 910, 512}, {43, 0}},      // 1366x768 at 150 %: smaller than the window
      {{80, 0, 1840, 1080}, {80, 50}},  // taskbar at the left
  };
  for (const Case& c : cases) {
    fakes::TestProgram t;
    t.backend.workArea = c.workArea;
    ui::Window& main = t.program.desktop.Load(ui::MainWindowForm(), nullptr);
    EXPECT_EQ(main.ScreenRect(), (ui::Rect{c.at.x, c.at.y, 867, 524})) << c.workArea.width;
    EXPECT_TRUE(main.IsVisible());
  }
}

TEST_F(StartupTest, ClockTicksRewriteTheCaption) {
  ui::Window& main = program.desktop.Load(ui::MainWindowForm(), nullptr);
  clock.now = {2027, 1, 1, 0, 0, 7, 0};
  program.desktop.Deliver(ui::Event{&main, main.Find("时钟1"), ui::EventKind::kTick, 0});
  EXPECT_EQ(main.Get(标签1).caption, "本地时间：2027年1月1日 00:00:07");
}

TEST(Clock, CaptionFormsAndFitsItsLabel) {
  struct Case {
    task::LocalTime t;
    const char* text;
  } cases[] = {
      {{2026, 12, 8, 9, 5, 3, 0}, "本地时间：2026年12月8日 09:05:03"},
      {{2026, 1, 31, 23, 59, 59, 999}, "本地时间：2026年1月31日 23:59:59"},
      {{1, 1, 1, 0, 0, 0, 0}, "本地时间：1年1月1日 00:00:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(task::ClockCaption(c.t), c.text);
  // Absurd readings still give a bounded caption.
  task::LocalTime wild{-2147483647 - 1, 2147483647, -1, 99999, -5, 1000000, 0};
  EXPECT_LT(task::ClockCaption(wild).size(), 96u);
}

TEST_F(StartupTest, TheDiskReportIsCollectedFirstAndItsObjectsReleasedLast) {
  ui::Window& main = program.desktop.Load(ui::MainWindowForm(), nullptr);
  EXPECT_EQ(smart.collected, 1);
  EXPECT_EQ(main.Get(编辑框8).caption, "硬盘已经使用了:5000个小时\r\n硬盘当前温度:35摄氏度\r\n");
  EXPECT_FALSE(main.Get(编辑框8).visible);  // until the disk check reveals it
  EXPECT_EQ(smart.objectsReleased, 1);
  EXPECT_EQ(smart.enumeratorsReleased, 0);  // they go with the records, at the end
  program.ReleaseGlobals();
  EXPECT_EQ(smart.enumeratorsReleased, 1);
}

TEST(StartupOrder, TheReportComesBeforeEveryOtherStep) {
  // A report that notes how far start-up had got when it was asked.
  struct Probe : fakes::FakeSmartReport {
    disk::DiskReading CollectSmartReport() override {
      seenCalls = backend->calls.size();
      seenNotices = tray->notices.size() + tray->icons.size();
      return {{"a\r\n"}};
    }
    fakes::FakeBackend* backend = nullptr;
    fakes::FakeTray* tray = nullptr;
    size_t seenCalls = 99, seenNotices = 99;
  };
  fakes::FakeBackend backend;
  fakes::FakeClock clock;
  fakes::FakeTray tray;
  fakes::FakeProcesses processes;
  fakes::FakeNetwork network;
  fakes::FakeWebPages web;
  fakes::FakePower power;
  Probe smart;
  smart.backend = &backend;
  smart.tray = &tray;
  app::Program program(backend, app::Services{clock, tray, processes, network, web, power, smart});
  ui::Window& main = program.desktop.Load(ui::MainWindowForm(), nullptr);
  EXPECT_EQ(smart.seenCalls, 1u);  // only the window's creation, no style yet
  EXPECT_EQ(smart.seenNotices, 0u);
  EXPECT_EQ(network.probes, 1);
  EXPECT_EQ(main.Get(编辑框8).caption, "a\r\n");
}

TEST_F(StartupTest, VersionWindowLoadsItsPageOnceAtCreation) {
  ui::Window& version = program.desktop.Load(ui::VersionWindowForm(), nullptr);
  EXPECT_EQ(version.Get(ver::超文本浏览框1).caption,
            "https://ver.quondahalvix.com/html/ruanjianbanben-123456789/index.htm");
  EXPECT_EQ(backend.Calls("style").back().arg, 2);
}

}  // namespace

// The restart an installer asks for: registered only while its close asks,
// with the task armed then (without a task, no arguments), and a copy
// started with the arguments is armed as a click arms it; others start idle.
TEST(StartupRestart, TheArmedTaskSurvivesAnInstallersRestart) {
  for (const char* bad : {"", "/armed", "/armed 18:30:00", "/armed 24:00:00 1", "/armed 18:30 1",
                          "/armed 18:30:00 5", "/armed 18:30:00 2 x", "/ARMED 18:30:00 2",
                          "/armed 18:30:00x 2", "/armed 18:30:00 0", "/armed 18:30:00 -1"}) {
    EXPECT_FALSE(app::ParseRestartArguments(bad)) << bad;
  }
  // Every action comes back, the last (hibernate) too.
  for (int mode = 1; mode <= 4; ++mode) {
    const auto task = app::ParseRestartArguments("/armed 23:59:58 " + std::to_string(mode));
    ASSERT_TRUE(task) << mode;
    EXPECT_EQ(static_cast<int>(task->mode), mode);
    EXPECT_EQ(app::RestartArguments(task), "/armed 23:59:58 " + std::to_string(mode));
  }
  fakes::TestProgram t;
  ui::Window& main = t.program.desktop.Load(ui::MainWindowForm(), nullptr);
  t.program.desktop.Deliver(ui::Event{&main, main.Find(单选框3), ui::EventKind::kClick, 0});
  t.program.desktop.Deliver(ui::Event{&main, main.Find(按钮1), ui::EventKind::kClick, 0});
  EXPECT_EQ(t.processes.restarts, std::vector<std::string>{});  // arming registers nothing
  app::OnSessionEndQuery(t.program, true);
  t.program.desktop.Deliver(ui::Event{&main, main.Find(按钮1), ui::EventKind::kClick, 0});
  app::OnSessionEndQuery(t.program, true);
  EXPECT_EQ(t.processes.restarts, (std::vector<std::string>{"/armed 18:30:00 3", ""}));
  // Armed on an hour the clock never shows, it would never fire: it does not come back.
  main.SetCaption(编辑框1, "25");
  t.program.desktop.Deliver(ui::Event{&main, main.Find(按钮1), ui::EventKind::kClick, 0});
  EXPECT_EQ(main.Get(按钮1).caption, "取消任务");
  app::OnSessionEndQuery(t.program, true);
  EXPECT_EQ(t.processes.restarts.back(), "");

  fakes::TestProgram resumed;
  resumed.program.records.resumeTask = app::ParseRestartArguments("/armed 07:05:09 3");
  ui::Window& again = resumed.program.desktop.Load(ui::MainWindowForm(), nullptr);
  EXPECT_EQ(again.Get(按钮1).caption, "取消任务");
  EXPECT_EQ(again.Get(分组框3).caption, "任务成功执行");
  EXPECT_TRUE(again.Get(单选框3).checked);
  EXPECT_EQ(again.Get(编辑框1).caption + again.Get(编辑框2).caption + again.Get(编辑框3).caption, "070509");
  EXPECT_EQ(resumed.processes.restarts, std::vector<std::string>{});  // nor does a restart
}
