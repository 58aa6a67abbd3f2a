// Keyboard input for one window: the focus moves through the form's tab stops
// in its reading order (hidden and disabled controls are skipped), and keys
// on the focused control produce the very events the mouse would: Space and
// Enter a click (or, on a label bound to a press, a press), the arrow keys in
// a radio group a click on the next option, Up and Down in a time field a
// press on its spin control's arrow. The platform's own keys keep their
// meaning: Alt+F4 stands for the window's close mark, Shift+F10 and the menu
// key pop up the window's menu. Behaviour only; nothing here paints.
#pragma once

#include <vector>

#include "ui/model/event.h"
#include "ui/model/window.h"

namespace ui {

class Desktop;

enum class Key { kTab, kEnter, kSpace, kLeft, kUp, kRight, kDown, kF4, kF10, kMenu, kAlt, kOther };

struct KeyPress {
  Key key = Key::kOther;
  bool shift = false;
  bool alt = false;
};

struct KeyOutcome {
  bool handled = false;     // the key is ours: the platform must not act on it too
  std::vector<Event> events;  // for the handlers, in order
  bool popupMenu = false;   // the window's menu is asked for
  bool focusMoved = false;  // by Tab, Shift+Tab or an arrow key
};

// Whether the form lists the control as a tab stop (shown or not).
bool IsTabStop(const Window& window, ControlId id);
// The tab stops that can take the focus now, in reading order.
std::vector<ControlId> FocusOrder(const Window& window);
// The spin control whose arrows step this edit box, or kNoControl.
ControlId SpinOf(const Window& window, ControlId field);

// Decides what a key pressed on the window does, moving the focus and
// showing the focus cue where the key navigates. The events are not
// delivered yet.
KeyOutcome KeyDown(Window& window, KeyPress key);
// KeyDown, then the events delivered and the menu popped up.
KeyOutcome PressKey(Desktop& desktop, Window& window, KeyPress key);

// Where the focus rectangle goes (client pixels): around the focused control
// (inside a button's frame) when it is drawn by the program and the cue
// shows; empty otherwise (native edit boxes show their own caret).
Rect FocusRect(const Window& window);

}  // namespace ui
