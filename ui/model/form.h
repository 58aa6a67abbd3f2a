// Forms: a window and its controls declared as data, row by row in the order
// of their stacking (front to back among siblings), together with the wiring
// table that binds events to handlers. A form is immutable; loading it makes
// a live Window.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "assets/assets.h"
#include "ui/model/control.h"
#include "ui/model/event.h"
#include "ui/model/geometry.h"
#include "ui/model/names.h"

namespace ui {

struct FontSpec {
  int heightPx = 0;  // 0: the default size
  bool bold = false;
  bool song = false;  // the face "宋体"; otherwise the default face
};

constexpr FontSpec Bold(int px) { return FontSpec{px, true, false}; }
constexpr FontSpec BoldSong(int px) { return FontSpec{px, true, true}; }

// One row of a form's control table.
struct ControlSpec {
  std::string_view name;
  Kind kind = Kind::kLabel;
  std::string_view parent;  // empty: the window itself
  Rect rect;
  bool visible = true;
  bool disabled = false;
  std::string_view caption;  // caption, edit text or the HTML view's address
  FontSpec font;
  Color textColor = kBlack;
  std::optional<Color> background;
  Cursor cursor = Cursor::kDefault;
  assets::Asset picture = assets::Asset::kNone;
  std::array<assets::Asset, 3> stateImages{};
  bool animating = true;  // picture boxes play unless the row says otherwise
  int interval = 0;       // timers
  bool multiline = false;
};

// One row of a wiring table. An empty control name means the window itself;
// menu items are named by their caption.
struct WiringEntry {
  std::string_view source;
  EventKind event;
  HandlerId handler;
};

// One entry of a form's reading order: the order in which a screen reader
// lists the window's controls and Tab visits the tab stops among them.
// Controls not listed (timers, backgrounds, decoration) are not presented.
// Consecutive radio buttons that are tab stops form one group: one stop,
// with the arrow keys moving inside it.
struct ReadingEntry {
  std::string_view control;
  bool tabStop = false;
  std::string_view name;   // the short name of a control without a caption
  std::string_view field;  // a spin control: the edit box its arrows step
  bool button = false;     // a label bound to a press that acts as a button, not a link
};

struct FormSpec {
  std::string_view name;
  std::string_view className;  // the platform window class, the program's own
  std::string_view caption;
  Size clientSize;
  Color background = kWhite;
  assets::Asset icon = assets::Asset::kNone;
  Point position{50, 50};
  bool taskbarButton = false;  // secondary windows stay off the taskbar
  bool topmost = false;
  bool noActivate = false;  // never takes the focus from the user's work
  std::span<const ControlSpec> controls;
  std::span<const WiringEntry> wiring;
  std::string_view menuCaption;               // empty: no menu
  std::span<const std::string_view> menuItems;  // pop-up items in order
  std::span<const ReadingEntry> reading;
  // The label the platform's close key (Alt+F4) stands for; empty: the key
  // does nothing.
  std::string_view closeMark;
};

}  // namespace ui
