// MainWindow's tray event: a left click on the icon (action 2) brings the
// window back, a right click (action 3) pops up the tray menu.
#include "app/handlers.h"
#include "app/program.h"

namespace app {

inline constexpr int kTrayRestore = 2;
inline constexpr int kTrayMenu = 3;

void OnTrayAction(Program& program, const Event& event) {
  ui::Window& main = *event.window;
  switch (event.arg) {
    case kTrayRestore:
      program.desktop.SetDisplayState(main, ui::DisplayState::kRestored);
      // Hidden by its "X", the window also comes back into view and to the
      // front, which is what a click on a tray icon is for.
      if (!main.visible) program.desktop.SetVisible(main, true);
      program.desktop.Raise(main);
      break;
    case kTrayMenu:
      program.desktop.PopupMenu(main);
      break;
    default:
      break;
  }
}

}  // namespace app
