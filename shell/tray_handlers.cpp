// See tray_handlers.h.
#include "shell/tray_handlers.h"

#include "shell/tray.h"

namespace shell {

void OnTrayAction(ui::Desktop& desktop, const ui::Event& event) {
  ui::Window& main = *event.window;
  switch (event.arg) {
    case kTrayRestore:
      desktop.SetDisplayState(main, ui::DisplayState::kRestored);
      // Hidden by its "X", the window also comes back into view and to the
      // front, which is what a click on a tray icon is for.
      if (!main.IsVisible()) desktop.SetVisible(main, true);
      desktop.Raise(main);
      break;
    case kTrayMenu:
      desktop.PopupMenu(main);
      break;
    default:
      break;
  }
}

}  // namespace shell
