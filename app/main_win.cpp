// The entry routine. Command-line arguments are ignored.
#include <windows.h>

#include "app/run_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return app::RunProgram(instance, {});
}
