// Events the control layer delivers to handlers, and the handler signature.
// Handlers are plain functions of the program: they receive the program and
// the event and act on the model through the window operations.
#pragma once

#include "ui/control.h"

namespace app {
class Program;
}

namespace ui {

class Window;

enum class EventKind {
  kCreated,     // the window's creation finished
  kClick,       // press and release over the same clickable control
  kPress,       // the left button went down over the control
  kTick,        // a timer's interval elapsed
  kArrow,       // spin control; arg 1 up, -1 down
  kItemChosen,  // a menu item, named by its caption
  kTray,        // notification-area action; arg is the action code
};

struct Event {
  Window* window = nullptr;
  ControlId control = kNoControl;  // kNoControl for window and menu events
  EventKind kind = EventKind::kCreated;
  int arg = 0;
};

using Handler = void (*)(app::Program& program, const Event& event);

// The binding for events that have no effect: the event is consumed and
// nothing changes.
inline void NoEffect(app::Program&, const Event&) {}

}  // namespace ui
