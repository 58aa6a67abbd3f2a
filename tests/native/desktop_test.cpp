// Window operations and event delivery through the real handlers: loading,
// showing, hiding, closing from inside a handler, menus and the exit order.
#include <gtest/gtest.h>

#include "tests/native/fakes.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/exit_confirm_names.h"
#include "ui/secondary_windows/secondary_forms.h"
#include "ui/secondary_windows/task_done_names.h"
#include "ui/secondary_windows/version_names.h"

namespace {

using namespace ui::main_window;
namespace ec = ui::exit_confirm;
using ui::EventKind;

struct DesktopTest : ::testing::Test, fakes::TestProgram {
  void Choose(ui::Window& w, int item) {
    backend.menuChoice = item;
    program.desktop.PopupMenu(w);
  }
};

TEST_F(DesktopTest, LoadingTwiceKeepsOneWindow) {
  ui::Window& a = program.desktop.Load(ui::VersionWindowForm(), nullptr);
  ui::Window& b = program.desktop.Load(ui::VersionWindowForm(), nullptr);
  EXPECT_EQ(&a, &b);
  EXPECT_EQ(backend.Calls("create").size(), 1u);
  EXPECT_TRUE(a.IsVisible());
}

TEST_F(DesktopTest, MoveKeepsOmittedValues) {
  ui::Window& w = program.desktop.Load(ui::TaskDoneWindowForm(), nullptr);
  program.desktop.Move(w, std::nullopt, 845);
  EXPECT_EQ(w.ScreenRect(), (ui::Rect{50, 845, 384, 205}));
  program.desktop.Move(w, 7, std::nullopt, std::nullopt, 10);
  EXPECT_EQ(w.ScreenRect(), (ui::Rect{7, 845, 384, 10}));
}

TEST_F(DesktopTest, HeaderLabelsHideAndMinimiseMainWindow) {
  ui::Window& main = Main();
  Send(main, "透明标签2", EventKind::kPress);
  EXPECT_EQ(main.GetDisplayState(), ui::DisplayState::kMinimized);
  Send(main, "透明标签1", EventKind::kPress);
  EXPECT_FALSE(main.IsVisible());
  Choose(main, 1);  // "显示主界面"
  EXPECT_TRUE(main.IsVisible());
  EXPECT_EQ(backend.Calls("menu").size(), 1u);
}

TEST_F(DesktopTest, VersionWindowOpensHidesAndReopens) {
  ui::Window& main = Main();
  Send(main, "图形按钮6", EventKind::kClick);
  ui::Window* version = program.desktop.Find(ui::version::VersionWindow);
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(backend.ownerOf.back(), "VersionWindow<-");  // no owner
  EXPECT_EQ(backend.Calls("style").back().arg, 2);
  Send(*version, "透明标签4", EventKind::kPress);
  EXPECT_FALSE(version->IsVisible());
  Send(main, "透明标签4", EventKind::kPress);  // "检查更新"
  EXPECT_EQ(program.desktop.Find(ui::version::VersionWindow), version);
  EXPECT_TRUE(version->IsVisible());
}

TEST_F(DesktopTest, CancelClosesOnlyTheConfirmation) {
  ui::Window& main = Main();
  main.SetInterval(任务时钟, 1000);
  Choose(main, 4);  // "退出本软件"
  ui::Window* confirm = program.desktop.Find(ec::ExitConfirmWindow);
  ASSERT_NE(confirm, nullptr);
  Choose(main, 4);  // a second choice raises the open one
  EXPECT_EQ(backend.Calls("create").size(), 3u);  // main, notice, confirmation
  EXPECT_EQ(backend.Calls("raise").size(), 1u);
  Send(*confirm, "按钮2", EventKind::kClick);
  EXPECT_EQ(program.desktop.Find(ec::ExitConfirmWindow), nullptr);
  EXPECT_TRUE(main.IsVisible());
  EXPECT_EQ(tray.removed, 0);
  EXPECT_EQ(main.Get(任务时钟).interval, 1000);
  program.desktop.CollectClosed();
  Choose(main, 4);  // and it can be opened again
  EXPECT_NE(program.desktop.Find(ec::ExitConfirmWindow), nullptr);
}

TEST_F(DesktopTest, ConfirmDestroysTheWindowsInOrder) {
  ui::Window& main = Main();
  Choose(main, 4);
  Send(*program.desktop.Find(ec::ExitConfirmWindow), "按钮1", EventKind::kClick);
  std::vector<std::string> destroyed;
  for (const auto& c : backend.Calls("destroy")) destroyed.push_back(c.window);
  // VersionWindow was never opened: skipped.
  EXPECT_EQ(destroyed, (std::vector<std::string>{"MainWindow", "ExitConfirmWindow", "TaskDoneWindow"}));
  EXPECT_EQ(program.desktop.Find(MainWindow), nullptr);
  EXPECT_EQ(tray.removed, 1);
  EXPECT_EQ(power.awakeCalls, std::vector<std::string>{""});  // no hold on sleep outlives the program
  program.desktop.CollectClosed();
}

TEST_F(DesktopTest, EventsOfClosedWindowsAreDropped) {
  ui::Window& main = Main();
  Choose(main, 4);
  ui::Window* confirm = program.desktop.Find(ec::ExitConfirmWindow);
  // It closes inside its own click: a click queued behind must reach no handler.
  std::vector<ui::Event> events{{confirm, confirm->Find("按钮2"), EventKind::kClick, 0},
                                {confirm, confirm->Find("按钮1"), EventKind::kClick, 0}};
  program.desktop.Deliver(events);
  EXPECT_NE(program.desktop.Find(MainWindow), nullptr);
  program.desktop.CollectClosed();
}

TEST_F(DesktopTest, NoticeCloseMarkHidesAndStopsTheSlide) {
  ui::Window& main = Main();
  main.SetInterval(时钟4, 10);
  ui::Window* notice = program.desktop.Find(ui::task_done::TaskDoneWindow);
  ASSERT_NE(notice, nullptr);
  Send(*notice, "透明标签4", EventKind::kPress);
  EXPECT_FALSE(notice->IsVisible());
  EXPECT_EQ(main.Get(时钟4).interval, 0);
}

TEST_F(DesktopTest, UnboundEventsAndBadMenuChoicesChangeNothing) {
  ui::Window& main = Main();
  size_t before = backend.calls.size();
  Send(main, "透明标签8", EventKind::kPress);
  Send(main, "图形按钮1", EventKind::kClick);
  Choose(main, 99);
  Choose(main, -1);
  EXPECT_EQ(backend.calls.size(), before + 2);  // only the two menus
  ui::Event stray{&main, 12345, EventKind::kClick, 0};
  program.desktop.Deliver(stray);
}

}  // namespace
