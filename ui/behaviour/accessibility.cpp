// The accessible description of a window; see accessibility.h.
#include "ui/behaviour/accessibility.h"

#include "ui/behaviour/desktop.h"
#include "ui/behaviour/input.h"

namespace ui {

namespace {

constexpr char kUpName[] = "增加";
constexpr char kDownName[] = "减少";
constexpr char kPressAction[] = "按";
constexpr char kCheckAction[] = "选中";
constexpr char kJumpAction[] = "跳转";

const ReadingEntry* EntryOf(const Window& window, ControlId id) {
  if (id == kNoControl) return nullptr;
  for (const ReadingEntry& entry : window.Form().reading) {
    if (entry.control == window.At(id).name) return &entry;
  }
  return nullptr;
}

// Whether a press or click on the control reaches a handler that does
// something.
bool Acts(const Window& window, ControlId id) {
  for (EventKind kind : {EventKind::kPress, EventKind::kClick}) {
    const WiringEntry* w = FindBinding(window, Event{nullptr, id, kind, 0});
    if (w && w->handler != HandlerId::kNoEffect) return true;
  }
  return false;
}

Role RoleOf(const Window& window, ControlId id, const ReadingEntry& entry) {
  switch (window.At(id).kind) {
    case Kind::kButton:
    case Kind::kImageButton:
      return Role::kPushButton;
    case Kind::kGraphicButton:
      return Acts(window, id) ? Role::kPushButton : Role::kGraphic;
    case Kind::kRadioButton:
      return Role::kRadioButton;
    case Kind::kLabel:
    case Kind::kTransparentLabel:
      if (!Acts(window, id)) return Role::kStaticText;
      return entry.button ? Role::kPushButton : Role::kLink;
    case Kind::kPictureBox:
      return Role::kGraphic;
    case Kind::kEditBox:
      return Role::kText;
    case Kind::kSpin:
      return Role::kSpinButton;
    case Kind::kProgressBar:
      return Role::kProgressBar;
    case Kind::kGroupBox:
    case Kind::kTab:
    case Kind::kTimer:
    case Kind::kHtmlView:
      break;
  }
  return Role::kGrouping;
}

bool HasCaption(Kind kind) {
  return kind == Kind::kLabel || kind == Kind::kTransparentLabel || kind == Kind::kButton ||
         kind == Kind::kRadioButton || kind == Kind::kGroupBox;
}

// The part of a spin control one arrow takes: the upper half is up, as a
// press there steps up.
Rect ArrowRect(const Window& window, ControlId spin, int part) {
  Rect r = window.AbsoluteRect(spin);
  int half = r.height / 2;
  Rect arrow = part > 0 ? Rect{r.left, r.top, r.width, half}
                        : Rect{r.left, r.top + half, r.width, r.height - half};
  return arrow.Intersect(window.VisibleRect(spin));
}

}  // namespace

std::vector<ControlId> AccessibleControls(const Window& window) {
  std::vector<ControlId> out;
  for (const ReadingEntry& entry : window.Form().reading) {
    ControlId id = window.Find(entry.control);
    if (id != kNoControl && !window.VisibleRect(id).IsEmpty()) out.push_back(id);
  }
  return out;
}

std::optional<AccessibleInfo> Describe(const Window& window, AccessibleId id) {
  AccessibleInfo info;
  if (id.control == kNoControl) {
    info.role = Role::kClient;
    info.name = std::string(window.Form().caption);
    info.rect = window.ClientRect();
    return info;
  }
  const ReadingEntry* entry = EntryOf(window, id.control);
  if (!entry) return std::nullopt;
  const Control& c = window.At(id.control);
  bool isPart = c.kind == Kind::kSpin && (id.part == 1 || id.part == -1);
  if (id.part != 0 && !isPart) return std::nullopt;

  info.role = RoleOf(window, id.control, *entry);
  info.name = HasCaption(c.kind) && !c.caption.empty() ? c.caption : std::string(entry->name);
  info.rect = window.VisibleRect(id.control);
  if (info.rect.IsEmpty()) info.states |= kStateInvisible;
  if (!window.IsEnabled(id.control)) info.states |= kStateUnavailable;
  if (isPart) {
    info.role = Role::kPushButton;
    info.name = id.part > 0 ? kUpName : kDownName;
    info.rect = ArrowRect(window, id.control, id.part);
    info.defaultAction = kPressAction;
    return info;
  }
  if (entry->tabStop) info.states |= kStateFocusable;
  if (window.Focused() == id.control) info.states |= kStateFocused;
  switch (info.role) {
    case Role::kPushButton:
      info.defaultAction = kPressAction;
      break;
    case Role::kRadioButton:
      if (c.checked) info.states |= kStateChecked;
      info.defaultAction = kCheckAction;
      break;
    case Role::kLink:
      info.states |= kStateLinked;
      info.defaultAction = kJumpAction;
      break;
    case Role::kText:
      info.value = c.caption;
      if (c.multiline) info.states |= kStateReadOnly;  // the disk report is shown, not typed
      break;
    case Role::kProgressBar:
      info.value = std::to_string(c.position) + "%";
      break;
    case Role::kSpinButton:
      if (ControlId field = window.Find(entry->field); field != kNoControl) {
        info.value = window.At(field).caption;
      }
      break;
    default:
      break;
  }
  return info;
}

std::vector<Event> DefaultAction(Window& window, AccessibleId id) {
  std::optional<AccessibleInfo> info = Describe(window, id);
  if (!info || info->defaultAction.empty() ||
      (info->states & (kStateUnavailable | kStateInvisible)) != 0) {
    return {};
  }
  if (id.part != 0) return ArrowEvents(window, id.control, id.part);
  return ClickEvents(window, id.control);
}

AccessibleId ElementAt(const Window& window, Point p) {
  ControlId id = window.HitTest(p);
  // A control that is not presented itself (a label's background, a
  // picture's container) stands for nothing; the nearest presented one
  // around it does.
  for (int depth = 0; id != kNoControl && depth <= window.ControlCount(); ++depth) {
    if (EntryOf(window, id)) break;
    id = window.At(id).parent;
  }
  if (id == kNoControl) return {};
  if (window.At(id).kind == Kind::kSpin) {
    return {id, ArrowRect(window, id, 1).Contains(p) ? 1 : -1};
  }
  return {id, 0};
}

}  // namespace ui
