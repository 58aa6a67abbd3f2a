// Pointer handling shared by every window; see input.h.
#include "ui/behaviour/input.h"

#include "ui/behaviour/keyboard.h"

namespace ui {

namespace {

bool HasBinding(const Window& window, ControlId id) {
  const std::string& name = window.At(id).name;
  for (const WiringEntry& w : window.Form().wiring) {
    if (w.source == name && (w.event == EventKind::kPress || w.event == EventKind::kClick)) {
      return true;
    }
  }
  return false;
}

bool IsInteractive(Kind kind) {
  return IsClickable(kind) || kind == Kind::kEditBox || kind == Kind::kHtmlView || kind == Kind::kSpin;
}

// A clicked radio button is checked and unchecks the radio buttons that
// share its parent, as the platform's grouping does.
void CheckRadio(Window& window, ControlId id) {
  const Control& c = window.At(id);
  if (c.kind != Kind::kRadioButton) return;
  const std::vector<ControlId>& group =
      c.parent == kNoControl ? window.Roots() : window.At(c.parent).children;
  for (ControlId other : group) {
    if (other != id && window.At(other).kind == Kind::kRadioButton) {
      window.SetChecked(other, false);
    }
  }
  window.SetChecked(id, true);
}

// The control under p that may receive input, or kNoControl.
ControlId InputTarget(const Window& window, Point p) {
  ControlId id = window.HitTest(p);
  return window.IsEnabled(id) ? id : kNoControl;
}

// Which arrow of a spin control the point is on: the upper half steps up.
int ArrowAt(const Window& window, ControlId id, Point p) {
  if (id == kNoControl || window.At(id).kind != Kind::kSpin) return 0;
  Rect r = window.AbsoluteRect(id);
  return (p.y - r.top) < r.height / 2 ? 1 : -1;
}

}  // namespace

std::vector<Event> MouseDown(Window& window, Point p) {
  std::vector<Event> events;
  ControlId id = InputTarget(window, p);
  if (id == kNoControl) return events;
  const Control& c = window.At(id);
  if (IsClickable(c.kind)) window.SetPressed(id);
  if (IsTabStop(window, id)) window.SetFocused(id);
  if (c.kind == Kind::kSpin) {
    // Held down only to be drawn pressed: the arrow acts on the press.
    window.SetPressed(id, ArrowAt(window, id, p));
    return ArrowEvents(window, id, ArrowAt(window, id, p));
  }
  events.push_back({&window, id, EventKind::kPress, 0});
  return events;
}

std::vector<Event> MouseUp(Window& window, Point p) {
  std::vector<Event> events;
  ControlId pressed = window.Pressed();
  window.SetPressed(kNoControl);
  if (pressed == kNoControl || !IsClickable(window.At(pressed).kind) ||
      InputTarget(window, p) != pressed) {
    return events;
  }
  CheckRadio(window, pressed);
  events.push_back({&window, pressed, EventKind::kClick, 0});
  return events;
}

void MouseMove(Window& window, Point p) {
  ControlId id = InputTarget(window, p);
  window.SetHovered(id, ArrowAt(window, id, p));
}

void MouseLeave(Window& window) { window.SetHovered(kNoControl); }

bool TakesPress(const Window& window, Point p) {
  ControlId id = window.HitTest(p);
  if (id == kNoControl) return false;
  // A disabled control swallows the press rather than letting it drag.
  if (!window.IsEnabled(id)) return true;
  return IsInteractive(window.At(id).kind) || HasBinding(window, id);
}

Cursor CursorAt(const Window& window, Point p) {
  ControlId id = InputTarget(window, p);
  return id == kNoControl ? Cursor::kDefault : window.At(id).cursor;
}

std::vector<Event> ClickEvents(Window& window, ControlId id) {
  std::vector<Event> events;
  if (!window.IsEnabled(id)) return events;
  events.push_back({&window, id, EventKind::kPress, 0});
  if (IsClickable(window.At(id).kind)) {
    CheckRadio(window, id);
    events.push_back({&window, id, EventKind::kClick, 0});
  }
  return events;
}

std::vector<Event> ArrowEvents(Window& window, ControlId spin, int arrow) {
  if (!window.IsEnabled(spin) || window.At(spin).kind != Kind::kSpin) return {};
  return {{&window, spin, EventKind::kPress, 0}, {&window, spin, EventKind::kArrow, arrow}};
}

}  // namespace ui
