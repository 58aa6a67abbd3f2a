// The operating-system services of the running program on Windows: the local
// clock, the tray icon, the process list and the end of the process.
#pragma once

#include "app/platform.h"
#include "shell/tray_win.h"
#include "task/power_win.h"

namespace ui {
class Win32Backend;
}

namespace app {

class Win32Platform final : public Platform {
 public:
  Win32Platform(ui::Win32Backend& backend, HINSTANCE instance);
  ~Win32Platform() override;

  task::LocalTime Now() override;
  TrayIdentity AddTrayIcon(ui::Window& owner, std::string_view tip) override;
  void NotifyTray(const TrayRecord& record, std::string_view title,
                  std::string_view text) override;
  void RemoveTrayIcon() override;
  std::string ToGbk(std::string_view utf8) override;
  std::vector<std::string> RunningExecutables() override;
  std::string OwnExecutable() override;
  void EndProcess(int exitCode) override;
  bool ProbeNetwork() override;
  void RunPowerAction(task::PowerMode mode) override { power_.RunPowerAction(mode); }
  // Runs when EndProcess ends the program.
  void SetAtEnd(void (*atEnd)()) { atEnd_ = atEnd; }

 private:
  ui::Win32Backend& backend_;
  shell::TrayIcon tray_;
  task::Win32PowerActions power_;
  HICON trayIcon_ = nullptr;
  void (*atEnd_)() = nullptr;
};

}  // namespace app
