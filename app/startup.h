// The ordered start-up work MainWindow runs while it is created.
#pragma once

#include "app/program.h"

namespace app {

// Parks TaskDoneWindow flush with the screen's right edge, just below its
// bottom edge, out of sight.
void ParkTaskDoneWindow(Program& program, ui::Window& notice);

}  // namespace app
