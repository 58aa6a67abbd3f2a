// A loaded window: the live control tree built from a form, its window-level
// properties, and the run-time property setters that handlers use. Every
// setter that changes something a user can see tells the observer which
// rectangle to repaint, or which native part or timer to update, and nothing
// more; setting a value to what it already is does nothing.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"
#include "ui/form.h"
#include "ui/names.h"

namespace ui {

enum class DisplayState { kRestored = 1, kMinimized = 2 };

// What changed about a control, beyond its painted pixels.
enum class Change {
  kTimer,       // interval
  kVisibility,  // the control or one below it may have appeared or gone
  kBounds,      // the control moved or changed size
  kNative,     // enabled state, text or address of a native part
  kAnimation,  // a picture box started or stopped playing, or got a picture
  // What assistive technology hears about.
  kCaption,  // caption or edit text
  kState,    // checked or disabled
  kValue,    // progress position
  kFocus,    // the keyboard focus moved to this control (kNoControl: to none)
};

class WindowObserver {
 public:
  virtual ~WindowObserver() = default;
  virtual void Invalidate(Window& window, Rect rect) = 0;
  virtual void ControlChanged(Window& window, ControlId id, Change change) = 0;
};

class Window {
 public:
  explicit Window(const FormSpec& form);
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  const FormSpec& Form() const { return *form_; }
  std::string_view Name() const { return form_->name; }
  void SetObserver(WindowObserver* observer) { observer_ = observer; }

  // Controls by name or index. Find gives kNoControl for an unknown name;
  // given a name constant of a form, an unknown name is reported as the
  // programming error it is (see SetStrictNames). Get never fails: for an
  // unknown name outside strict builds it gives an empty control.
  ControlId Find(std::string_view name) const;
  ControlId Find(ControlName name) const;
  const Control& At(ControlId id) const { return controls_[static_cast<size_t>(id)]; }
  const Control& Get(ControlName name) const;
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  const std::vector<ControlId>& Roots() const { return roots_; }

  // Geometry in client pixels.
  Rect ClientRect() const { return {0, 0, form_->clientSize.width, form_->clientSize.height}; }
  Point Origin(ControlId id) const;  // client position of the control's top-left corner
  Rect AbsoluteRect(ControlId id) const;
  // The part of the control that can show: clipped by every ancestor and the
  // client area. Empty when the control or an ancestor is hidden.
  Rect VisibleRect(ControlId id) const;
  bool IsShown(ControlId id) const;  // visible, and so is every ancestor
  bool IsEnabled(ControlId id) const;  // not disabled, nor any ancestor
  // How far shown controls in front cover this one from its left edge down
  // its whole height, in pixels (the disk report under its result icon).
  int CoveredLeft(ControlId id) const;
  // The visible parts of shown controls drawn over this one (later in the
  // back-to-front painting order, and not inside it). A native part is cut
  // by these, so what the forms stack in front of it stays in front.
  std::vector<Rect> CoveringRects(ControlId id) const;
  // The frontmost shown control under the point, or kNoControl. Timers never
  // take part; a disabled control is returned (it swallows the input).
  ControlId HitTest(Point p) const;

  // Run-time properties. Unknown ids are ignored.
  void SetVisible(ControlId id, bool visible);
  void SetDisabled(ControlId id, bool disabled);
  void SetCaption(ControlId id, std::string_view text);  // also edit text
  // Adds text after an edit box's current content.
  void AppendText(ControlId id, std::string_view text);
  void SetTextColor(ControlId id, Color color);
  void SetChecked(ControlId id, bool checked);
  void SetInterval(ControlId id, int ms);
  void SetAnimating(ControlId id, bool on);
  void SetPicture(ControlId id, assets::Asset picture);
  void SetPosition(ControlId id, int position);  // clamped to 0..100
  void SetFrame(ControlId id, int frame);
  // Moves or resizes a control within its parent; children keep their place
  // relative to it.
  void SetBounds(ControlId id, Rect rect);
  // Text a user typed into a native edit box: stored without echoing it back.
  void StoreTypedText(ControlId id, std::string_view text);

  // Same setters by a form's name constant, for handlers.
  void SetVisible(ControlName name, bool v) { SetVisible(Find(name), v); }
  void SetDisabled(ControlName name, bool v) { SetDisabled(Find(name), v); }
  void SetCaption(ControlName name, std::string_view t) { SetCaption(Find(name), t); }
  void AppendText(ControlName name, std::string_view t) { AppendText(Find(name), t); }
  void SetTextColor(ControlName name, Color c) { SetTextColor(Find(name), c); }
  void SetChecked(ControlName name, bool v) { SetChecked(Find(name), v); }
  void SetInterval(ControlName name, int ms) { SetInterval(Find(name), ms); }
  void SetAnimating(ControlName name, bool v) { SetAnimating(Find(name), v); }
  void SetPicture(ControlName name, assets::Asset p) { SetPicture(Find(name), p); }
  void SetPosition(ControlName name, int p) { SetPosition(Find(name), p); }
  void SetBounds(ControlName name, Rect r) { SetBounds(Find(name), r); }

  // Pointer state, owned here so painting and input agree on it. On a spin
  // control it also names the arrow: 1 up, -1 down (0 on other kinds).
  ControlId Hovered() const { return hovered_; }
  ControlId Pressed() const { return pressed_; }
  int HoveredArrow() const { return hoveredArrow_; }
  int PressedArrow() const { return pressedArrow_; }
  void SetHovered(ControlId id, int arrow = 0);
  void SetPressed(ControlId id, int arrow = 0);

  // The keyboard focus among the controls, and whether its cue (the focus
  // rectangle) shows: hidden until the keyboard is used, as the platform
  // does. kNoControl: no control has it yet.
  ControlId Focused() const { return focused_; }
  bool FocusCue() const { return focusCue_; }
  void SetFocused(ControlId id);
  void SetFocusCue(bool shown);

  // Window-level state, kept in step by the window operations and by what
  // the platform reports it did by itself. Only the desktop writes it, the
  // same way whichever backend runs, so tests see what the program sees.
  bool IsVisible() const { return visible_; }
  DisplayState GetDisplayState() const { return displayState_; }
  Rect ScreenRect() const { return screenRect_; }  // outer position and size
  bool IsClosed() const { return closed_; }

 private:
  bool Valid(ControlId id) const { return id >= 0 && id < ControlCount(); }
  Control& Mut(ControlId id) { return controls_[static_cast<size_t>(id)]; }
  void Repaint(ControlId id);
  void Notify(ControlId id, Change change);
  ControlId HitTestIn(const std::vector<ControlId>& siblings, Point p) const;
  void NumberPaintOrder(const std::vector<ControlId>& siblings, int& next);
  bool IsInside(ControlId id, ControlId ancestor) const;

  const FormSpec* form_;
  std::vector<Control> controls_;
  std::vector<ControlId> roots_;  // window-level controls, front to back
  std::vector<int> paintOrder_;   // position of each control when painting back to front
  WindowObserver* observer_ = nullptr;
  ControlId hovered_ = kNoControl;
  ControlId pressed_ = kNoControl;
  int hoveredArrow_ = 0;
  int pressedArrow_ = 0;
  ControlId focused_ = kNoControl;
  bool focusCue_ = false;

  friend class Desktop;  // the one writer of the state below
  bool visible_ = false;
  DisplayState displayState_ = DisplayState::kRestored;
  Rect screenRect_;
  bool closed_ = false;
};

}  // namespace ui
