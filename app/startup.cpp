// MainWindow's creation-finished handler: the start-up steps in their fixed
// order. Each step is its own function so the order reads at a glance; a
// second instance ends inside the single-instance step and runs none after.
#include <utility>

#include "app/main_window_place.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "net/reachability.h"
#include "net/web_links.h"
#include "task/clock.h"
#include "task/scheduling.h"
#include "task/time_text.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/secondary_forms.h"
#include "ui/secondary_windows/version_names.h"

namespace app {

namespace {

// Before anything else, while the window is still hidden: it shows where it
// stays.
void PlaceMainWindow(Program& program, ui::Window& main) {
  ui::Point at = FirstPosition(main.ScreenRect(), program.desktop.WorkArea(main));
  program.desktop.Move(main, at.x, at.y);
}

void CollectDiskReport(Program& program, ui::Window& main) {
  disk::DiskReading reading = program.services.smart.CollectSmartReport();
  for (const std::string& line : reading.lines) main.AppendText(ui::main_window::编辑框8, line);
  program.records.disk = {reading.why, reading.failing};
}

void WriteFirstLocalTime(Program& program, ui::Window& main) {
  main.SetCaption(ui::main_window::标签1, task::ClockCaption(program.services.clock.Now()));
}

void ApplyVisualStyle(Program& program) { program.desktop.ApplyVisualStyle(1); }

bool ShowReachability(Program& program, ui::Window& main) {
  return net::ShowReachability(program.services.network, main);
}

void AddTrayIcon(Program& program, ui::Window& main) {
  program.services.tray.AddIcon(main, shell::kTrayTip);
}

void ShowReachabilityNotice(Program& program, bool connected) {
  net::ShowReachabilityNotice(program.services.tray, connected);
}

void PrepareTaskDoneWindow(Program& program, ui::Window& main) {
  // Created where it rests, out of sight: shown anywhere first, the
  // top-most notice would flash over whatever is there.
  const ui::FormSpec& form = ui::TaskDoneWindowForm();
  program.desktop.Load(form, &main,
                       task::ParkedNoticePosition(program.desktop.ScreenSize(nullptr), form.clientSize));
  // Its own monitor's scale may not be the one a new window opens with.
  task::PlaceNotice(program.Task());
}

void FocusMainWindow(Program& program, ui::Window& main) { program.desktop.Focus(main); }

// Started again after an installer closed it with a task armed: the task is
// armed again as a click on 按钮1 arms it, with its status line, animation
// and notice.
void ResumeArmedTask(Program& program, ui::Window& main) {
  if (!program.records.resumeTask) return;
  const ArmedTask task = *std::exchange(program.records.resumeTask, std::nullopt);
  main.SetCaption(ui::main_window::编辑框1, task::TwoDigits(task.time.hour));
  main.SetCaption(ui::main_window::编辑框2, task::TwoDigits(task.time.minute));
  main.SetCaption(ui::main_window::编辑框3, task::TwoDigits(task.time.second));
  for (const task::ActionOption& option : task::kActionOptions) {
    if (option.mode != task.mode) continue;
    program.desktop.Deliver(ui::Event{&main, main.Find(option.name), ui::EventKind::kClick, 0});
  }
  program.desktop.Deliver(ui::Event{&main, main.Find(ui::main_window::按钮1), ui::EventKind::kClick, 0});
}

// The automation objects of the disk report; the process list was the
// single-instance step's own and is gone with it.
void ReleaseStartupObjects(Program& program) { program.services.smart.ReleaseObjects(); }

}  // namespace

void OnMainWindowCreated(Program& program, const ui::Event& event) {
  ui::Window& main = *event.window;
  PlaceMainWindow(program, main);
  CollectDiskReport(program, main);
  WriteFirstLocalTime(program, main);
  ApplyVisualStyle(program);
  bool connected = ShowReachability(program, main);
  AddTrayIcon(program, main);
  ShowReachabilityNotice(program, connected);
  CheckSingleInstance(program);
  PrepareTaskDoneWindow(program, main);
  FocusMainWindow(program, main);
  ResumeArmedTask(program, main);
  ReleaseStartupObjects(program);
}

void OnVersionWindowCreated(Program& program, const ui::Event& event) {
  program.desktop.ApplyVisualStyle(2);
  // The page the view frames is loaded once, now; nothing navigates it again.
  event.window->SetCaption(ui::version::超文本浏览框1, net::kVersionPageUrl);
}

}  // namespace app
