// Opening, hiding and closing the windows, and the exit. Windows are always
// loaded without modality; only the confirmed exit destroys them.
#include "app/handlers.h"
#include "app/program.h"
#include "ui/main_window/main_window_form.h"
#include "ui/secondary_windows/secondary_forms.h"

namespace app {

namespace {

// The order in which the confirmed exit destroys the windows.
constexpr char kAboutTitle[] = "关于QuondaHalvix";
constexpr char kAboutText[] = "QuondaHalvix 2.1\n按设定的时间自动关机、重启、注销或休眠。";

constexpr std::string_view kExitOrder[] = {
    "MainWindow", "ExitConfirmWindow", "TaskDoneWindow", "VersionWindow"};

}  // namespace

void OnOpenVersionWindow(Program& program, const Event&) {
  ui::Window& version = program.desktop.Load(ui::VersionWindowForm(), nullptr);
  program.desktop.SetVisible(version, true);
}

void OnHideVersionWindow(Program& program, const Event& event) {
  program.desktop.SetVisible(*event.window, false);
}

void OnHideMainWindow(Program& program, const Event& event) {
  program.desktop.SetVisible(*event.window, false);
}

void OnMinimizeMainWindow(Program& program, const Event& event) {
  program.desktop.SetDisplayState(*event.window, ui::DisplayState::kMinimized);
}

void OnShowMainWindow(Program& program, const Event& event) {
  program.desktop.SetVisible(*event.window, true);
}

void OnExitMenuItem(Program& program, const Event&) {
  // A second choice while the confirmation is open brings that one forward.
  if (ui::Window* open = program.Find("ExitConfirmWindow")) {
    program.desktop.Raise(*open);
    return;
  }
  program.desktop.Load(ui::ExitConfirmWindowForm(), nullptr);
}

void OnExitCancel(Program& program, const Event& event) { program.desktop.Close(*event.window); }

void OnExitConfirm(Program& program, const Event&) {
  // The process is about to end: take the icon along rather than leave a dead
  // one in the notification area until the mouse passes over it.
  if (program.trayIconAdded) {
    program.platform.RemoveTrayIcon();
    program.trayIconAdded = false;
  }
  for (std::string_view name : kExitOrder) {
    if (ui::Window* w = program.Find(name)) program.desktop.Close(*w);
  }
}

void OnAboutBox(Program& program, const Event&) {
  program.desktop.ShowMessageBox(kAboutText, ui::kMessageOk, kAboutTitle, nullptr);
}

void OnTaskNoticeClose(Program& program, const Event& event) {
  program.desktop.SetVisible(*event.window, false);
  if (ui::Window* main = program.Find("MainWindow")) main->SetInterval("时钟4", 0);
}

}  // namespace app
