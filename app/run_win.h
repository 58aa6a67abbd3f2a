// The program's run on Windows: platform sessions, services, the program-wide
// records, MainWindow as the start window, the message loop, and exit code 0
// once MainWindow has been destroyed.
#pragma once

#include <windows.h>

namespace app {

struct RunOptions {
  // Benchmark builds only: leave the notice's slide timer running after it
  // has arrived, to measure what stopping it saves.
  bool keepSlideTimer = false;
};

int RunProgram(HINSTANCE instance, const RunOptions& options);

}  // namespace app
