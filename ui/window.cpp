// Builds the control tree from a form and keeps it consistent while handlers
// change it. Geometry questions (where a control is, what of it can show,
// what lies under the mouse) are answered here so that painting, input and
// native child placement all agree.
#include "ui/window.h"

#include <algorithm>

namespace ui {

namespace {

Font ToFont(const FontSpec& spec) {
  Font font;
  font.heightPx = spec.heightPx;
  font.bold = spec.bold;
  if (spec.song) font.face = "宋体";
  return font;
}

}  // namespace

Window::Window(const FormSpec& form)
    : form_(&form),
      screenRect_{form.position.x, form.position.y, form.clientSize.width,
                  form.clientSize.height} {
  controls_.reserve(form.controls.size());
  for (const ControlSpec& spec : form.controls) {
    Control c;
    c.name = std::string(spec.name);
    c.kind = spec.kind;
    c.rect = spec.rect;
    c.visible = spec.visible;
    c.disabled = spec.disabled;
    c.cursor = spec.cursor;
    c.caption = std::string(spec.caption);
    c.textColor = spec.textColor;
    c.background = spec.background;
    c.font = ToFont(spec.font);
    c.picture = spec.picture;
    c.stateImages = spec.stateImages;
    c.animating = spec.kind == Kind::kPictureBox && spec.animating;
    c.interval = spec.kind == Kind::kTimer ? std::max(0, spec.interval) : 0;
    c.multiline = spec.multiline;
    controls_.push_back(std::move(c));
  }
  // Parents are resolved by name after all rows exist, so a form may list a
  // child before or after its parent. A row naming an unknown parent, or
  // itself, hangs on the window rather than vanishing.
  for (ControlId id = 0; id < ControlCount(); ++id) {
    std::string_view parentName = form.controls[static_cast<size_t>(id)].parent;
    ControlId parent = parentName.empty() ? kNoControl : Find(parentName);
    if (parent == id) parent = kNoControl;
    Mut(id).parent = parent;
    (parent == kNoControl ? roots_ : Mut(parent).children).push_back(id);
  }
  // A row that names its own descendant as parent forms a cycle no walk from
  // the window reaches; such rows never paint and are never hit.
  paintOrder_.assign(controls_.size(), -1);
  int next = 0;
  NumberPaintOrder(roots_, next);
}

void Window::NumberPaintOrder(const std::vector<ControlId>& siblings, int& next) {
  for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
    if (paintOrder_[static_cast<size_t>(*it)] >= 0) continue;
    paintOrder_[static_cast<size_t>(*it)] = next++;
    NumberPaintOrder(At(*it).children, next);
  }
}

bool Window::IsInside(ControlId id, ControlId ancestor) const {
  for (int depth = 0; Valid(id) && depth <= ControlCount(); ++depth) {
    if (id == ancestor) return true;
    id = At(id).parent;
  }
  return false;
}

std::vector<Rect> Window::CoveringRects(ControlId id) const {
  std::vector<Rect> out;
  Rect mine = VisibleRect(id);
  if (mine.IsEmpty()) return out;
  for (ControlId other = 0; other < ControlCount(); ++other) {
    if (At(other).kind == Kind::kTimer || IsInside(other, id) || IsInside(id, other)) continue;
    if (paintOrder_[static_cast<size_t>(other)] < paintOrder_[static_cast<size_t>(id)]) continue;
    Rect r = VisibleRect(other).Intersect(mine);
    if (!r.IsEmpty()) out.push_back(r);
  }
  return out;
}

int Window::CoveredLeft(ControlId id) const {
  const Rect r = AbsoluteRect(id);
  int covered = 0;
  for (Rect cover : CoveringRects(id)) {
    if (cover.left <= r.left && cover.top <= r.top && cover.Bottom() >= r.Bottom()) {
      covered = std::max(covered, cover.Right() - r.left);
    }
  }
  return std::min(covered, r.width);
}

ControlId Window::Find(std::string_view name) const {
  for (ControlId id = 0; id < ControlCount(); ++id) {
    if (controls_[static_cast<size_t>(id)].name == name) return id;
  }
  return kNoControl;
}

ControlId Window::Find(ControlName name) const {
  ControlId id = Find(name.text);
  if (id == kNoControl) ReportUnknownName(Name(), name.text);
  return id;
}

const Control& Window::Get(ControlName name) const {
  static const Control kUnknown;
  ControlId id = Find(name);
  return Valid(id) ? At(id) : kUnknown;
}

Point Window::Origin(ControlId id) const {
  Point p;
  // Bounded walk: a well-formed tree is never deeper than its size.
  for (int depth = 0; Valid(id) && depth <= ControlCount(); ++depth) {
    p.x += At(id).rect.left;
    p.y += At(id).rect.top;
    id = At(id).parent;
  }
  return p;
}

Rect Window::AbsoluteRect(ControlId id) const {
  if (!Valid(id)) return {};
  Point o = Origin(id);
  return {o.x, o.y, At(id).rect.width, At(id).rect.height};
}

Rect Window::VisibleRect(ControlId id) const {
  if (!IsShown(id)) return {};
  Rect r = AbsoluteRect(id).Intersect(ClientRect());
  for (ControlId a = At(id).parent, depth = 0; Valid(a) && depth <= ControlCount(); a = At(a).parent, ++depth) {
    r = r.Intersect(AbsoluteRect(a));
  }
  return r;
}

bool Window::IsShown(ControlId id) const {
  if (!Valid(id)) return false;
  for (ControlId a = id, depth = 0; Valid(a) && depth <= ControlCount(); a = At(a).parent, ++depth) {
    if (!At(a).visible) return false;
  }
  return true;
}

bool Window::IsEnabled(ControlId id) const {
  if (!Valid(id)) return false;
  for (ControlId a = id, depth = 0; Valid(a) && depth <= ControlCount(); a = At(a).parent, ++depth) {
    if (At(a).disabled) return false;
  }
  return true;
}

ControlId Window::HitTestIn(const std::vector<ControlId>& siblings, Point p) const {
  for (ControlId id : siblings) {
    const Control& c = At(id);
    if (!c.visible || c.kind == Kind::kTimer) continue;
    if (!VisibleRect(id).Contains(p)) continue;
    ControlId inner = HitTestIn(c.children, p);
    return inner != kNoControl ? inner : id;
  }
  return kNoControl;
}

ControlId Window::HitTest(Point p) const {
  if (!ClientRect().Contains(p)) return kNoControl;
  return HitTestIn(roots_, p);
}

void Window::Repaint(ControlId id) {
  if (!observer_) return;
  Rect r = VisibleRect(id);
  if (!r.IsEmpty()) observer_->Invalidate(*this, r);
}

void Window::Notify(ControlId id, Change change) {
  if (observer_) observer_->ControlChanged(*this, id, change);
}

void Window::SetVisible(ControlId id, bool visible) {
  if (!Valid(id) || At(id).visible == visible) return;
  if (!visible) Repaint(id);  // the area it leaves, before it goes
  Mut(id).visible = visible;
  if (visible) Repaint(id);
  // A drawn report box starts its lines where the controls in front of it
  // end: one shown or hidden over it moves every line, not only what it
  // covers.
  const Rect area = AbsoluteRect(id);
  for (ControlId other = 0; other < ControlCount(); ++other) {
    const Control& c = At(other);
    if (other != id && c.kind == Kind::kEditBox && !IsNative(c) &&
        !AbsoluteRect(other).Intersect(area).IsEmpty()) {
      Repaint(other);
    }
  }
  Notify(id, Change::kVisibility);
}

void Window::SetDisabled(ControlId id, bool disabled) {
  if (!Valid(id) || At(id).disabled == disabled) return;
  Mut(id).disabled = disabled;
  Repaint(id);
  if (IsNative(At(id))) Notify(id, Change::kNative);
  Notify(id, Change::kState);
}

void Window::SetCaption(ControlId id, std::string_view text) {
  if (!Valid(id) || At(id).caption == text) return;
  Mut(id).caption = std::string(text);
  Repaint(id);
  if (IsNative(At(id))) Notify(id, Change::kNative);
  Notify(id, Change::kCaption);
}

void Window::StoreTypedText(ControlId id, std::string_view text) {
  if (Valid(id)) Mut(id).caption = std::string(text);
}

void Window::SetTextColor(ControlId id, Color color) {
  if (!Valid(id) || At(id).textColor == color) return;
  Mut(id).textColor = color;
  Repaint(id);
}

void Window::SetChecked(ControlId id, bool checked) {
  if (!Valid(id) || At(id).checked == checked) return;
  Mut(id).checked = checked;
  Repaint(id);
  Notify(id, Change::kState);
}

void Window::SetInterval(ControlId id, int ms) {
  if (!Valid(id) || At(id).kind != Kind::kTimer) return;
  ms = std::max(0, ms);
  // Setting a running timer's interval starts its period again, even to the
  // same value; stopping a stopped timer changes nothing.
  if (At(id).interval == ms && ms == 0) return;
  Mut(id).interval = ms;
  Notify(id, Change::kTimer);
}

void Window::AppendText(ControlId id, std::string_view text) {
  if (!Valid(id) || text.empty()) return;
  Mut(id).caption += text;
  Repaint(id);
  if (IsNative(At(id))) Notify(id, Change::kNative);
  Notify(id, Change::kCaption);
}

void Window::SetAnimating(ControlId id, bool on) {
  if (!Valid(id) || At(id).animating == on) return;
  Mut(id).animating = on;
  Notify(id, Change::kAnimation);
}

void Window::SetPicture(ControlId id, assets::Asset picture) {
  if (!Valid(id) || At(id).picture == picture) return;
  Mut(id).picture = picture;
  Mut(id).frame = 0;
  Repaint(id);
  Notify(id, Change::kAnimation);
}

void Window::SetPosition(ControlId id, int position) {
  position = std::clamp(position, 0, 100);
  if (!Valid(id) || At(id).position == position) return;
  Mut(id).position = position;
  Repaint(id);
  Notify(id, Change::kValue);
}

void Window::SetFrame(ControlId id, int frame) {
  if (!Valid(id) || At(id).frame == frame) return;
  Mut(id).frame = frame;
  Repaint(id);
}

void Window::SetBounds(ControlId id, Rect rect) {
  if (!Valid(id)) return;
  const Rect old = At(id).rect;
  if (old.left == rect.left && old.top == rect.top && old.width == rect.width && old.height == rect.height) {
    return;
  }
  Repaint(id);  // the area it leaves
  Mut(id).rect = rect;
  Repaint(id);
  Notify(id, Change::kBounds);
}

namespace {

// Faces that are drawn differently under the pointer or while held down.
bool ShowsPointer(Kind kind) { return IsClickable(kind) || kind == Kind::kSpin; }

}  // namespace

void Window::SetHovered(ControlId id, int arrow) {
  id = Valid(id) ? id : kNoControl;
  arrow = id != kNoControl && At(id).kind == Kind::kSpin ? arrow : 0;
  if (hovered_ == id && hoveredArrow_ == arrow) return;
  ControlId old = hovered_;
  hovered_ = id;
  hoveredArrow_ = arrow;
  for (ControlId c : {old, hovered_}) {
    if (Valid(c) && ShowsPointer(At(c).kind)) Repaint(c);
  }
}

void Window::SetPressed(ControlId id, int arrow) {
  id = Valid(id) ? id : kNoControl;
  arrow = id != kNoControl && At(id).kind == Kind::kSpin ? arrow : 0;
  if (pressed_ == id && pressedArrow_ == arrow) return;
  ControlId old = pressed_;
  pressed_ = id;
  pressedArrow_ = arrow;
  for (ControlId c : {old, pressed_}) {
    if (Valid(c) && ShowsPointer(At(c).kind)) Repaint(c);
  }
}

void Window::SetFocused(ControlId id) {
  id = Valid(id) ? id : kNoControl;
  if (focused_ == id) return;
  ControlId old = focused_;
  focused_ = id;
  if (focusCue_) {
    if (Valid(old)) Repaint(old);
    if (Valid(id)) Repaint(id);
  }
  Notify(id, Change::kFocus);
}

void Window::SetFocusCue(bool shown) {
  if (focusCue_ == shown) return;
  focusCue_ = shown;
  if (Valid(focused_)) Repaint(focused_);
}

}  // namespace ui
