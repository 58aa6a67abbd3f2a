// A control of the retained model: one node of a window's tree with its
// rectangle relative to its parent, its common flags and the properties of
// its kind. Controls are stored in a flat vector per window and refer to each
// other by index; the stacking of siblings is the order of the parent's
// children list, front first.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "assets/assets.h"
#include "ui/model/geometry.h"
#include "ui/model/painter.h"

namespace ui {

enum class Kind {
  kTransparentLabel,
  kLabel,
  kPictureBox,
  kGraphicButton,
  kImageButton,
  kButton,
  kRadioButton,
  kEditBox,
  kGroupBox,
  kSpin,
  kProgressBar,
  kTab,  // one page, whose client origin is the control's own origin
  kTimer,
  kHtmlView,
};

enum class Cursor { kDefault, kHand };

using ControlId = int;
inline constexpr ControlId kNoControl = -1;

// Index of the state images of an image button.
enum StateImage { kImageNormal = 0, kImageHover = 1, kImagePressed = 2 };

struct Control {
  std::string name;
  Kind kind = Kind::kLabel;
  ControlId parent = kNoControl;  // kNoControl: the window itself
  std::vector<ControlId> children;  // front to back
  Rect rect;
  bool visible = true;
  bool disabled = false;
  Cursor cursor = Cursor::kDefault;

  std::string caption;  // caption, edit text, or the HTML view's address
  Color textColor = kBlack;
  std::optional<Color> background;  // none: the parent shows through
  Font font;
  assets::Asset picture = assets::Asset::kNone;  // picture box, graphic button
  std::array<assets::Asset, 3> stateImages{};    // image button
  bool animating = false;  // picture box: the GIF plays
  int frame = 0;           // picture box: the frame on screen
  int interval = 0;        // timer: milliseconds, 0 = stopped
  bool checked = false;    // radio button
  bool multiline = false;  // edit box
  int position = 0;        // progress bar, 0 to 100
};

// Whether the platform gives this control a native child window (typing,
// HTML) rather than having the program draw it. A multi-line edit box holds a
// report to read, never to type: the program draws it, so its text keeps a
// size and colour that read well whether or not the box takes input (a native
// edit draws a disabled box's text in the faint disabled grey).
inline bool IsNative(const Control& c) {
  return c.kind == Kind::kHtmlView || (c.kind == Kind::kEditBox && !c.multiline);
}

// Whether a click (press and release over the same control) is an event of
// this kind.
inline bool IsClickable(Kind kind) {
  return kind == Kind::kButton || kind == Kind::kGraphicButton ||
         kind == Kind::kImageButton || kind == Kind::kRadioButton;
}

}  // namespace ui
