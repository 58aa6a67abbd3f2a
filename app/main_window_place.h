// Where MainWindow first opens. Its form puts it at (50, 50), which on a small
// or scaled screen (1366x768 at 150 % leaves about 512 pixels of height) puts
// its lower part, the command button included, under the taskbar.
#pragma once

#include "ui/model/geometry.h"

namespace app {

// The form's place where the whole window fits the work area; otherwise the
// nearest place inside it. A window larger than the work area keeps its
// top-left corner inside: the header, with its close and minimise marks and
// the grip to drag it, stays within reach.
ui::Point FirstPosition(ui::Rect window, ui::Rect workArea);

}  // namespace app
