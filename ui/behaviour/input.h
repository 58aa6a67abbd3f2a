// Mouse input for one window: turns pointer movements and button presses at
// client points into the control layer's events, keeping the hovered and
// pressed state of the window. Behaviour only; nothing here paints.
#pragma once

#include <vector>

#include "ui/model/event.h"
#include "ui/model/window.h"

namespace ui {

// Left button down at p: a press for the control under it, and for a spin
// control an arrow event (upper half 1, lower half -1).
std::vector<Event> MouseDown(Window& window, Point p);
// Left button up at p: a click when it is released over the clickable control
// that took the press. A clicked radio button becomes checked and unchecks
// the radio buttons that share its parent, as the platform's grouping does.
std::vector<Event> MouseUp(Window& window, Point p);
void MouseMove(Window& window, Point p);
void MouseLeave(Window& window);

// Whether a press at p is the business of a control (it is interactive or has
// a binding); elsewhere a press drags the frameless window.
bool TakesPress(const Window& window, Point p);
Cursor CursorAt(const Window& window, Point p);

// What a whole click on the control produces, pointer or not: a press, and
// for a clickable kind the click, with a radio button checked first as
// MouseUp does. The keyboard and assistive technology act through these, so
// they reach exactly the handlers the mouse reaches.
std::vector<Event> ClickEvents(Window& window, ControlId id);
// A press on one arrow of a spin control: 1 up, -1 down.
std::vector<Event> ArrowEvents(Window& window, ControlId spin, int arrow);

}  // namespace ui
