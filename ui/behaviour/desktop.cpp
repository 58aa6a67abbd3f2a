// Window operations and event delivery; see desktop.h.
#include "ui/behaviour/desktop.h"

#include <algorithm>

namespace ui {

Desktop::Desktop(Backend& backend, HandlerSink& handlers)
    : backend_(backend), handlers_(handlers) {}

Desktop::~Desktop() {
  // Windows still loaded at the end go the way a close would take them.
  while (!windows_.empty()) Close(*windows_.back());
  depth_ = 0;
  CollectClosed();
}

Window* Desktop::Find(WindowName name) {
  for (auto& w : windows_) {
    if (w->Name() == name.text) return w.get();
  }
  return nullptr;
}

Window& Desktop::Load(const FormSpec& form, Window* owner, std::optional<Point> at) {
  if (Window* existing = Find(WindowName{form.name})) return *existing;
  windows_.push_back(std::make_unique<Window>(form));
  Window& window = *windows_.back();
  if (at) window.screenRect_ = {at->x, at->y, window.screenRect_.width, window.screenRect_.height};
  window.SetObserver(&backend_);
  backend_.Create(window, owner);
  Deliver(Event{&window, kNoControl, EventKind::kCreated, 0});
  if (!window.closed_) SetVisible(window, true);
  return window;
}

void Desktop::Close(Window& window) {
  if (window.closed_) return;
  window.closed_ = true;
  window.visible_ = false;
  backend_.Destroy(window);
  window.SetObserver(nullptr);
  auto it = std::find_if(windows_.begin(), windows_.end(),
                         [&](const auto& w) { return w.get() == &window; });
  if (it != windows_.end()) {
    closed_.push_back(std::move(*it));
    windows_.erase(it);
  }
}

// The state is written before the backend acts: anything the platform
// reports while it acts is the last word.
void Desktop::SetVisible(Window& window, bool visible) {
  if (window.closed_) return;
  window.visible_ = visible;
  backend_.Show(window, visible);
}

void Desktop::SetDisplayState(Window& window, DisplayState state) {
  if (window.closed_) return;
  // Minimising shows a hidden window as a taskbar button, and restoring a
  // minimised one brings it into view even when it was hidden meanwhile;
  // restoring a window that is not minimised changes nothing.
  if (state == DisplayState::kMinimized || window.displayState_ == DisplayState::kMinimized) {
    window.visible_ = true;
  }
  window.displayState_ = state;
  backend_.SetDisplayState(window, state);
}

void Desktop::Move(Window& window, std::optional<int> left, std::optional<int> top,
                   std::optional<int> width, std::optional<int> height) {
  if (window.closed_) return;
  Rect r = window.screenRect_;
  r.left = left.value_or(r.left);
  r.top = top.value_or(r.top);
  r.width = std::max(0, width.value_or(r.width));
  r.height = std::max(0, height.value_or(r.height));
  if (r == window.screenRect_) return;
  window.screenRect_ = r;
  backend_.Move(window, r);
}

Size Desktop::ScreenSize(const Window* window) { return backend_.ScreenSize(window); }

Rect Desktop::WorkArea(const Window& window) { return backend_.WorkArea(window); }

void Desktop::PopupMenu(Window& owner) {
  if (owner.closed_ || owner.Form().menuItems.empty()) return;
  std::vector<std::string_view> items(owner.Form().menuItems.begin(),
                                      owner.Form().menuItems.end());
  int chosen = backend_.PopupMenu(owner, items);
  if (chosen < 0 || chosen >= static_cast<int>(items.size())) return;
  Deliver(Event{&owner, kNoControl, EventKind::kItemChosen, chosen});
}

int Desktop::ShowMessageBox(std::string_view text, int flags, std::string_view title,
                        Window* owner) {
  return backend_.ShowMessageBox(text, flags, title, owner && !owner->closed_ ? owner : nullptr);
}

void Desktop::Focus(Window& window) {
  if (!window.closed_) backend_.Focus(window);
}

void Desktop::ApplyVisualStyle(int code) { backend_.ApplyVisualStyle(code); }

void Desktop::Raise(Window& window) {
  if (window.closed_) return;
  window.visible_ = true;  // restored if it was minimised, shown if it was hidden
  window.displayState_ = DisplayState::kRestored;
  backend_.Raise(window);
}

void Desktop::Report(Window& window, const WindowReport& report) {
  // A window being destroyed still gets messages; what they say no longer counts.
  if (window.closed_) return;
  if (report.visible) window.visible_ = *report.visible;
  if (report.displayState) window.displayState_ = *report.displayState;
  if (report.position) {
    window.screenRect_.left = report.position->x;
    window.screenRect_.top = report.position->y;
  }
}

const WiringEntry* FindBinding(const Window& window, const Event& event) {
  std::string_view source;
  if (event.kind == EventKind::kItemChosen) {
    const auto& items = window.Form().menuItems;
    if (event.arg < 0 || event.arg >= static_cast<int>(items.size())) return nullptr;
    source = items[static_cast<size_t>(event.arg)];
  } else if (event.control != kNoControl) {
    if (event.control >= window.ControlCount()) return nullptr;
    source = window.At(event.control).name;
  }
  for (const WiringEntry& w : window.Form().wiring) {
    if (w.event == event.kind && w.source == source) return &w;
  }
  return nullptr;
}

void Desktop::Deliver(const Event& event) {
  if (!event.window || event.window->IsClosed()) return;
  const WiringEntry* binding = FindBinding(*event.window, event);
  if (!binding || binding->handler == HandlerId::kNoEffect) return;
  ++depth_;
  handlers_.Run(binding->handler, event);
  --depth_;
}

void Desktop::Deliver(const std::vector<Event>& events) {
  for (const Event& e : events) Deliver(e);
}

int Desktop::CollectClosed() {
  if (depth_ != 0) return 0;
  // Moved out first: a backend releasing a window must not see the list change.
  std::vector<std::unique_ptr<Window>> freeing = std::move(closed_);
  closed_.clear();
  for (auto& window : freeing) backend_.Release(*window);
  return static_cast<int>(freeing.size());
}

}  // namespace ui
