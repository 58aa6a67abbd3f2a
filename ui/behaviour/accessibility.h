// What assistive technology is told about a window: its controls as
// accessible elements in the form's reading order, each with a role, a name
// (the caption, or the form's short name for a control without one), a
// value, states and a place, and the default action, which produces the same
// events as a click. A spin control is an element with two parts, its up and
// down arrows. The platform side serves this through its accessibility
// interface; nothing here knows that interface.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/model/event.h"
#include "ui/model/window.h"

namespace ui {

enum class Role {
  kClient,  // the window itself
  kPushButton,
  kRadioButton,
  kStaticText,
  kLink,
  kProgressBar,
  kGraphic,
  kGrouping,
  kText,  // an edit box
  kSpinButton,
};

enum State : unsigned {
  kStateUnavailable = 1u << 0,
  kStateInvisible = 1u << 1,
  kStateFocused = 1u << 2,
  kStateFocusable = 1u << 3,
  kStateChecked = 1u << 4,
  kStateReadOnly = 1u << 5,
  kStateLinked = 1u << 6,
};

// A control of the window, or one arrow of a spin control. The window itself
// is control kNoControl.
struct AccessibleId {
  ControlId control = kNoControl;
  int part = 0;  // a spin's arrows: 1 up, -1 down; 0 the whole control
  friend bool operator==(const AccessibleId&, const AccessibleId&) = default;
};

struct AccessibleInfo {
  Role role = Role::kClient;
  std::string name;
  std::string value;
  unsigned states = 0;
  Rect rect;  // client pixels; empty when nothing of it shows
  std::string defaultAction;  // empty: none
};

// The parts of a spin control's element.
inline constexpr int kArrowParts[] = {1, -1};

// The elements a window presents, in reading order: the listed controls
// that show now.
std::vector<ControlId> AccessibleControls(const Window& window);
// The element, or nothing for a control the form does not present. Hidden
// ones are described too, as invisible: a listener asks after them when
// they go.
std::optional<AccessibleInfo> Describe(const Window& window, AccessibleId id);
// The events of the element's default action, not yet delivered; none for
// an element without one or that is unavailable.
std::vector<Event> DefaultAction(Window& window, AccessibleId id);
// The element at a client point: the presented control under it (or its
// arrow), else the window.
AccessibleId ElementAt(const Window& window, Point p);

}  // namespace ui
