// MainWindow's tray event: a left click on the icon brings the window back,
// a right click pops up the tray menu.
#pragma once

#include "ui/behaviour/desktop.h"

namespace shell {

void OnTrayAction(ui::Desktop& desktop, const ui::Event& event);

}  // namespace shell
