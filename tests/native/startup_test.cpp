// Start-up: the creation steps in their order, the first clock caption, the
// parked notice window, the disk report, and the restart an installer asks for.
#include <gtest/gtest.h>

#include "app/program.h"
#include "task/clock.h"
#include "tests/native/fakes.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/secondary_forms.h"
#include "ui/secondary_windows/task_done_names.h"
#include "ui/secondary_windows/version_names.h"

namespace {

using namespace ui::main_window;

struct StartupTest : ::testing::Test, fakes::TestProgram {};

TEST_F(StartupTest, CreationStepsRunBeforeTheWindowShows) {
  ui::Window& main = Main();
  EXPECT_EQ(backend.Ops(),
            (std::vector<std::string>{"create MainWindow", "style", "create TaskDoneWindow",
                                      "show TaskDoneWindow", "focus MainWindow", "show MainWindow"}));
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
    t.Main();
    EXPECT_EQ(t.program.desktop.Find(ui::task_done::TaskDoneWindow)->ScreenRect(), c.parked);
    // Created there: placed after it shows, the top-most notice flashed elsewhere first.
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
    ui::Window& main = t.Main();
    EXPECT_EQ(main.ScreenRect(), (ui::Rect{c.at.x, c.at.y, 867, 524})) << c.workArea.width;
    EXPECT_TRUE(main.IsVisible());
  }
}

TEST_F(StartupTest, ClockTicksRewriteTheCaption) {
  ui::Window& main = Main();
  clock.now = {2027, 1, 1, 0, 0, 7, 0};
  Send(main, "时钟1", ui::EventKind::kTick);
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
  size_t callsSeen = 99, noticesSeen = 99;
  smart.onCollect = [&] {
    callsSeen = backend.calls.size();
    noticesSeen = tray.notices.size() + tray.icons.size();
  };
  ui::Window& main = Main();
  EXPECT_EQ(callsSeen, 1u);  // only the window's creation, no style yet
  EXPECT_EQ(noticesSeen, 0u);
  EXPECT_EQ(smart.collected, 1);
  EXPECT_EQ(main.Get(编辑框8).caption, "硬盘已经使用了:5000个小时\r\n硬盘当前温度:35摄氏度\r\n");
  EXPECT_FALSE(main.Get(编辑框8).visible);  // until the disk check reveals it
  EXPECT_EQ(smart.objectsReleased, 1);
  EXPECT_EQ(smart.enumeratorsReleased, 0);  // they go with the records, at the end
  program.ReleaseGlobals();
  EXPECT_EQ(smart.enumeratorsReleased, 1);
}

TEST_F(StartupTest, VersionWindowLoadsItsPageAtCreation) {
  ui::Window& version = program.desktop.Load(ui::VersionWindowForm(), nullptr);
  EXPECT_EQ(version.Get(ui::version::超文本浏览框1).caption,
            "https://ver.quondahalvix.com/html/ruanjianbanben-123456789/index.htm");
}

// Registered only when an installer's close asks, with the task armed then; a
// copy started with those arguments is armed as a click arms it.
TEST_F(StartupTest, TheArmedTaskSurvivesAnInstallersRestart) {
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
  ui::Window& main = Main();
  Send(main, 单选框3, ui::EventKind::kClick);
  Send(main, 按钮1, ui::EventKind::kClick);
  EXPECT_EQ(processes.restarts, std::vector<std::string>{});  // arming registers nothing
  app::OnSessionEndQuery(program, true);
  Send(main, 按钮1, ui::EventKind::kClick);
  app::OnSessionEndQuery(program, true);
  EXPECT_EQ(processes.restarts, (std::vector<std::string>{"/armed 18:30:00 3", ""}));
  // Armed on an hour the clock never shows, it would never fire: it does not come back.
  main.SetCaption(编辑框1, "25");
  Send(main, 按钮1, ui::EventKind::kClick);
  EXPECT_EQ(main.Get(按钮1).caption, "取消任务");
  app::OnSessionEndQuery(program, true);
  EXPECT_EQ(processes.restarts.back(), "");

  fakes::TestProgram resumed;
  resumed.program.records.resumeTask = app::ParseRestartArguments("/armed 07:05:09 3");
  ui::Window& again = resumed.Main();
  EXPECT_EQ(fakes::TaskFace(again), "取消任务|任务成功执行 008000|1000 10|plays");
  EXPECT_TRUE(again.Get(单选框3).checked);
  EXPECT_EQ(again.Get(编辑框1).caption + again.Get(编辑框2).caption + again.Get(编辑框3).caption, "070509");
  EXPECT_EQ(resumed.processes.restarts, std::vector<std::string>{});  // nor does a restart
}

}  // namespace
