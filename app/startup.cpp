// MainWindow's creation-finished handler: the start-up steps in their fixed
// order. Each step is its own function so the order reads at a glance; a
// second instance ends inside the single-instance step and runs none after.
#include "app/handlers.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "net/reachability.h"
#include "shell/tray_notice.h"
#include "task/clock.h"
#include "ui/secondary_windows/secondary_forms.h"

namespace app {

namespace {

void CollectDiskReport(Program&) {}

void WriteFirstLocalTime(Program& program, ui::Window& main) {
  main.SetCaption("标签1", task::ClockCaption(program.platform.Now()));
}

void ApplyVisualStyle(Program& program) { program.desktop.ApplyVisualStyle(1); }

bool ShowReachability(Program& program, ui::Window& main) {
  return net::ShowReachability(program, main);
}

void AddTrayIcon(Program& program, ui::Window& main) { shell::AddTrayIcon(program, main); }

void ShowReachabilityNotice(Program& program, bool connected) {
  net::ShowReachabilityNotice(program, connected);
}

void PrepareTaskDoneWindow(Program& program, ui::Window& main) {
  ui::Window& notice = program.desktop.Load(ui::TaskDoneWindowForm(), &main);
  ParkTaskDoneWindow(program, notice);
}

void FocusMainWindow(Program& program, ui::Window& main) { program.desktop.Focus(main); }

void ReleaseStartupObjects(Program&) {}

}  // namespace

void ParkTaskDoneWindow(Program& program, ui::Window& notice) {
  ui::Size screen = program.desktop.ScreenSize();
  program.desktop.Move(notice, screen.width - notice.screenRect.width, screen.height);
}

void OnMainWindowCreated(Program& program, const Event& event) {
  ui::Window& main = *event.window;
  CollectDiskReport(program);
  WriteFirstLocalTime(program, main);
  ApplyVisualStyle(program);
  bool connected = ShowReachability(program, main);
  AddTrayIcon(program, main);
  ShowReachabilityNotice(program, connected);
  CheckSingleInstance(program);
  PrepareTaskDoneWindow(program, main);
  FocusMainWindow(program, main);
  ReleaseStartupObjects(program);
}

void OnVersionWindowCreated(Program& program, const Event&) { program.desktop.ApplyVisualStyle(2); }

}  // namespace app
