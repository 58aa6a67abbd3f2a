// The program as shipped but with the notice's slide timer left running once
// the notice has arrived: the comparison build of bench/task_wakeups.py.
#include <windows.h>

#include "app/run_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return app::RunProgram(instance, {.keepSlideTimer = true});
}
