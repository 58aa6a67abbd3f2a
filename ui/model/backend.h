// The platform side of the window operations. The Win32 backend implements it
// with real windows; tests implement it with a recording fake. The backend
// also observes the model (repaints, timers, native parts) for the windows it
// has created. It never writes the model's window state: what the platform
// does to a window by itself it reports to the desktop (Desktop::Report).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/model/window.h"

namespace ui {

class Backend : public WindowObserver {
 public:
  // Creates the platform window for a freshly built model, hidden, with its
  // timers running and its native parts in place.
  virtual void Create(Window& window, Window* owner) = 0;
  // Destroys the platform window. What the backend keeps for it stays until
  // Release, since the window's own message may be the one being handled.
  virtual void Destroy(Window& window) = 0;
  // Frees what the backend kept for a destroyed window. The desktop calls it
  // just before it frees the model, when no handler and no message dispatch
  // runs; the window is never mentioned again.
  virtual void Release(Window& window) = 0;
  virtual void Show(Window& window, bool visible) = 0;
  virtual void SetDisplayState(Window& window, DisplayState state) = 0;
  virtual void Move(Window& window, Rect screen) = 0;
  // Sizes and places on the screen are in the model's 96-DPI pixels, at the
  // scale of the monitor concerned. The primary screen's size at the
  // window's scale now (for no window, at the scale a new one opens with),
  // so a window flush with its right edge ends on it and one at its bottom
  // edge lies wholly below it.
  virtual Size ScreenSize(const Window* window) = 0;
  // The work area (the screen less the taskbar and docked bars) of the
  // monitor that holds most of the window, or the nearest one.
  virtual Rect WorkArea(const Window& window) = 0;
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
