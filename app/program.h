// The running program as handlers see it: the windows, the operating-system
// services and the program-wide records.
#pragma once

#include "app/globals.h"
#include "app/platform.h"
#include "task/firing.h"
#include "ui/desktop.h"

namespace app {

class Program {
 public:
  Program(ui::Backend& backend, Platform& platform) : desktop(backend, *this), platform(platform) {}

  // A loaded window by name, or nullptr.
  ui::Window* Find(std::string_view name) { return desktop.Find(name); }

  ui::Desktop desktop;
  Platform& platform;
  Globals globals;
  bool trayIconAdded = false;
  task::FiringCheck firing;
};

}  // namespace app
