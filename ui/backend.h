// The platform side of the window operations. The Win32 backend implements it
// with real windows; tests implement it with a recording fake. The backend
// also observes the model (repaints, timers, native parts) for the windows it
// has created.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/window.h"

namespace ui {

class Backend : public WindowObserver {
 public:
  // Creates the platform window for a freshly built model, hidden, with its
  // timers running and its native parts in place.
  virtual void Create(Window& window, Window* owner) = 0;
  virtual void Destroy(Window& window) = 0;
  virtual void Show(Window& window, bool visible) = 0;
  virtual void SetDisplayState(Window& window, DisplayState state) = 0;
  virtual void Move(Window& window, Rect screen) = 0;
  virtual Size ScreenSize() = 0;
  // Shows the items at the mouse position; the chosen index or -1.
  virtual int PopupMenu(Window& owner, const std::vector<std::string_view>& items) = 0;
  virtual int ShowMessageBox(std::string_view text, int flags, std::string_view title,
                         Window* owner) = 0;
  virtual void Focus(Window& window) = 0;
  virtual void ApplyVisualStyle(int code) = 0;
  // Bring a window to the front and activate it.
  virtual void Raise(Window& window) = 0;
};

}  // namespace ui
