// Opening, hiding and closing the windows, and the exit. Windows are always
// loaded without modality; only the confirmed exit destroys them.
#include "app/program.h"
#include "assets/version.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/exit_confirm_names.h"
#include "ui/secondary_windows/secondary_forms.h"
#include "ui/secondary_windows/task_done_names.h"
#include "ui/secondary_windows/version_names.h"

namespace app {

namespace {

constexpr char kAboutTitle[] = "关于QuondaHalvix";
constexpr char kAboutText[] = "QuondaHalvix " QH_VERSION_TEXT "\n按设定的时间自动关机、重启、注销或休眠。";

// The order in which the confirmed exit destroys the windows.
constexpr ui::WindowName kExitOrder[] = {
    ui::main_window::MainWindow, ui::exit_confirm::ExitConfirmWindow,
    ui::task_done::TaskDoneWindow, ui::version::VersionWindow};

}  // namespace

void OnOpenVersionWindow(Program& program, const ui::Event&) {
  ui::Window& version = program.desktop.Load(ui::VersionWindowForm(), nullptr);
  program.desktop.SetVisible(version, true);
}

// A window's "X" only hides it.
void OnHideWindow(Program& program, const ui::Event& event) {
  program.desktop.SetVisible(*event.window, false);
}

void OnMinimizeMainWindow(Program& program, const ui::Event& event) {
  program.desktop.SetDisplayState(*event.window, ui::DisplayState::kMinimized);
}

void OnShowMainWindow(Program& program, const ui::Event& event) {
  program.desktop.SetVisible(*event.window, true);
}

void OnExitMenuItem(Program& program, const ui::Event&) {
  // A second choice while the confirmation is open brings that one forward.
  if (ui::Window* open = program.desktop.Find(ui::exit_confirm::ExitConfirmWindow)) {
    program.desktop.Raise(*open);
    return;
  }
  program.desktop.Load(ui::ExitConfirmWindowForm(), nullptr);
}

void OnExitCancel(Program& program, const ui::Event& event) {
  program.desktop.Close(*event.window);
}

void OnExitConfirm(Program& program, const ui::Event&) { EndProgram(program); }

void EndProgram(Program& program) {
  // The process is about to end: take the icon along rather than leave a dead
  // one in the notification area until the mouse passes over it.
  program.services.tray.RemoveIcon();
  // An armed task ends with the program; so does its hold on idle sleep.
  program.services.power.KeepAwake({});
  for (ui::WindowName name : kExitOrder) {
    if (ui::Window* w = program.desktop.Find(name)) program.desktop.Close(*w);
  }
}

void OnAboutBox(Program& program, const ui::Event&) {
  program.desktop.ShowMessageBox(kAboutText, ui::kMessageOk, kAboutTitle, nullptr);
}

}  // namespace app
