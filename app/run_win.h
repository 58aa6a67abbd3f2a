// The program's run on Windows: platform sessions, services, the program-wide
// records, MainWindow as the start window, the message loop, and exit code 0
// once MainWindow has been destroyed.
#pragma once

#include <windows.h>

#include <optional>

#include "app/program.h"
#include "app/restart.h"
#include "task/power_win.h"
#include "ui/win32/backend_win.h"

namespace app {

struct RunOptions {
  // Benchmark builds only: leave the notice's slide timer running after it
  // has arrived, to measure what stopping it saves.
  bool keepSlideTimer = false;
  // A task armed when an installer closed the program, to arm again.
  std::optional<ArmedTask> resumeTask;
};

int RunProgram(HINSTANCE instance, const RunOptions& options);

// The start routine once the services exist: MainWindow loaded as the start
// window, and the failures of power actions, which their worker posts to it,
// shown from the window thread.
ui::Window& StartMainWindow(Program& program, ui::Win32Backend& backend,
                            task::Win32PowerActions& power);

}  // namespace app
