// Focus movement and keys on the focused control; see keyboard.h.
#include "ui/behaviour/keyboard.h"

#include "ui/behaviour/desktop.h"
#include "ui/behaviour/input.h"

namespace ui {

namespace {

// The form's tab stops in reading order, whether they can take the focus now
// or not: a focused control that has just been hidden still has a place
// from which Tab goes on.
std::vector<ControlId> Stops(const Window& window) {
  std::vector<ControlId> stops;
  for (const ReadingEntry& entry : window.Form().reading) {
    ControlId id = window.Find(entry.control);
    if (entry.tabStop && id != kNoControl) stops.push_back(id);
  }
  return stops;
}

bool CanFocus(const Window& window, ControlId id) {
  return window.IsEnabled(id) && !window.VisibleRect(id).IsEmpty();
}

bool IsRadio(const Window& window, ControlId id) {
  return window.At(id).kind == Kind::kRadioButton;
}

int IndexOf(const std::vector<ControlId>& stops, ControlId id) {
  for (size_t i = 0; i < stops.size(); ++i) {
    if (stops[i] == id) return static_cast<int>(i);
  }
  return -1;
}

struct Span {
  int begin, end;  // [begin, end) in the stops
};

// The run of radio buttons around stop i, or just i.
Span GroupAt(const Window& window, const std::vector<ControlId>& stops, int i) {
  Span s{i, i + 1};
  if (!IsRadio(window, stops[static_cast<size_t>(i)])) return s;
  while (s.begin > 0 && IsRadio(window, stops[static_cast<size_t>(s.begin - 1)])) --s.begin;
  while (s.end < static_cast<int>(stops.size()) && IsRadio(window, stops[static_cast<size_t>(s.end)])) {
    ++s.end;
  }
  return s;
}

// Where the focus lands in a group: its checked option, else its first one
// that can take the focus, as the platform's radio groups do.
ControlId Landing(const Window& window, const std::vector<ControlId>& stops, Span g) {
  ControlId first = kNoControl;
  for (int i = g.begin; i < g.end; ++i) {
    ControlId id = stops[static_cast<size_t>(i)];
    if (!CanFocus(window, id)) continue;
    if (window.At(id).checked) return id;
    if (first == kNoControl) first = id;
  }
  return first;
}

ControlId NextStop(const Window& window, ControlId from, bool backward) {
  std::vector<ControlId> stops = Stops(window);
  int n = static_cast<int>(stops.size());
  if (n == 0) return kNoControl;
  int at = IndexOf(stops, from);
  int i;
  if (at < 0) {
    i = backward ? n - 1 : 0;
  } else {
    Span g = GroupAt(window, stops, at);
    i = backward ? g.begin - 1 : g.end;
  }
  for (int step = 0; step < n; ++step) {
    i = (i % n + n) % n;
    Span g = GroupAt(window, stops, i);
    if (ControlId target = Landing(window, stops, g); target != kNoControl) return target;
    i = backward ? g.begin - 1 : g.end;
  }
  return kNoControl;
}

// The next or previous option of the focused one's group, round the end.
ControlId NextInGroup(const Window& window, ControlId from, int direction) {
  std::vector<ControlId> stops = Stops(window);
  int at = IndexOf(stops, from);
  if (at < 0) return kNoControl;
  Span g = GroupAt(window, stops, at);
  int size = g.end - g.begin;
  for (int step = 1; step < size; ++step) {
    int i = g.begin + ((at - g.begin + direction * step) % size + size) % size;
    if (CanFocus(window, stops[static_cast<size_t>(i)])) return stops[static_cast<size_t>(i)];
  }
  return kNoControl;
}

void MoveFocus(Window& window, ControlId to, KeyOutcome& out) {
  out.handled = true;
  window.SetFocusCue(true);
  if (to == kNoControl) return;
  out.focusMoved = to != window.Focused();
  window.SetFocused(to);
}

}  // namespace

bool IsTabStop(const Window& window, ControlId id) {
  return id != kNoControl && IndexOf(Stops(window), id) >= 0;
}

std::vector<ControlId> FocusOrder(const Window& window) {
  std::vector<ControlId> order;
  for (ControlId id : Stops(window)) {
    if (CanFocus(window, id)) order.push_back(id);
  }
  return order;
}

ControlId SpinOf(const Window& window, ControlId field) {
  if (field == kNoControl) return kNoControl;
  for (const ReadingEntry& entry : window.Form().reading) {
    if (!entry.field.empty() && entry.field == window.At(field).name) return window.Find(entry.control);
  }
  return kNoControl;
}

KeyOutcome KeyDown(Window& window, KeyPress key) {
  KeyOutcome out;
  ControlId focused = window.Focused();
  bool onRadio = focused != kNoControl && IsRadio(window, focused) && IsTabStop(window, focused);
  switch (key.key) {
    case Key::kTab:
      MoveFocus(window, NextStop(window, focused, key.shift), out);
      break;
    case Key::kLeft:
    case Key::kRight:
    case Key::kUp:
    case Key::kDown: {
      bool back = key.key == Key::kLeft || key.key == Key::kUp;
      if (onRadio) {
        // Moving in the group checks the option it lands on, through the
        // same click a mouse would give it.
        ControlId next = NextInGroup(window, focused, back ? -1 : 1);
        MoveFocus(window, next, out);
        if (next != kNoControl) out.events = ClickEvents(window, next);
      } else if (key.key == Key::kUp || key.key == Key::kDown) {
        ControlId spin = SpinOf(window, focused);
        if (spin != kNoControl && window.IsEnabled(focused)) {
          out.handled = true;
          out.events = ArrowEvents(window, spin, key.key == Key::kUp ? 1 : -1);
        }
      }
      break;
    }
    case Key::kSpace:
    case Key::kEnter:
      if (focused != kNoControl && !IsNative(window.At(focused)) && CanFocus(window, focused)) {
        out.handled = true;
        out.events = ClickEvents(window, focused);
      }
      break;
    case Key::kF4:
      if (key.alt) {
        // Ours in every window: where the form has no close mark the key
        // does nothing at all, rather than the platform closing the window.
        out.handled = true;
        ControlId mark = window.Find(window.Form().closeMark);
        if (mark != kNoControl) out.events = ClickEvents(window, mark);
      }
      break;
    case Key::kF10:
    case Key::kMenu:
      if ((key.key == Key::kMenu || key.shift) && !window.Form().menuItems.empty()) {
        out.handled = true;
        out.popupMenu = true;
      }
      break;
    case Key::kAlt:
      window.SetFocusCue(true);  // the platform shows the cues on Alt too
      break;
    case Key::kOther:
      break;
  }
  return out;
}

KeyOutcome PressKey(Desktop& desktop, Window& window, KeyPress key) {
  KeyOutcome out = KeyDown(window, key);
  desktop.Deliver(out.events);
  if (out.popupMenu) desktop.PopupMenu(window);
  return out;
}

Rect FocusRect(const Window& window) {
  ControlId id = window.Focused();
  if (!window.FocusCue() || id == kNoControl || IsNative(window.At(id))) return {};
  Rect r = window.VisibleRect(id);
  // Inside a button's face, clear of its frame, as the platform draws it.
  Kind kind = window.At(id).kind;
  int inset = kind == Kind::kButton || kind == Kind::kImageButton ? 3 : 0;
  return {r.left + inset, r.top + inset, r.width - 2 * inset, r.height - 2 * inset};
}

}  // namespace ui
