// Pointer handling shared by every window; see input.h.
#include "ui/input.h"

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
  return IsClickable(kind) || IsNative(kind) || kind == Kind::kSpin;
}

// The control under p that may receive input, or kNoControl.
ControlId InputTarget(const Window& window, Point p) {
  ControlId id = window.HitTest(p);
  return window.IsEnabled(id) ? id : kNoControl;
}

}  // namespace

std::vector<Event> MouseDown(Window& window, Point p) {
  std::vector<Event> events;
  ControlId id = InputTarget(window, p);
  if (id == kNoControl) return events;
  const Control& c = window.At(id);
  if (IsClickable(c.kind)) window.SetPressed(id);
  events.push_back({&window, id, EventKind::kPress, 0});
  if (c.kind == Kind::kSpin) {
    Rect r = window.AbsoluteRect(id);
    int arrow = (p.y - r.top) < r.height / 2 ? 1 : -1;
    events.push_back({&window, id, EventKind::kArrow, arrow});
  }
  return events;
}

std::vector<Event> MouseUp(Window& window, Point p) {
  std::vector<Event> events;
  ControlId pressed = window.Pressed();
  window.SetPressed(kNoControl);
  if (pressed == kNoControl || InputTarget(window, p) != pressed) return events;
  const Control& c = window.At(pressed);
  if (c.kind == Kind::kRadioButton) {
    const std::vector<ControlId>& group =
        c.parent == kNoControl ? window.Roots() : window.At(c.parent).children;
    for (ControlId other : group) {
      if (other != pressed && window.At(other).kind == Kind::kRadioButton) {
        window.SetChecked(other, false);
      }
    }
    window.SetChecked(pressed, true);
  }
  events.push_back({&window, pressed, EventKind::kClick, 0});
  return events;
}

void MouseMove(Window& window, Point p) { window.SetHovered(InputTarget(window, p)); }

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

}  // namespace ui
