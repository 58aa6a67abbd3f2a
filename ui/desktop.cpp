// Window operations and event delivery; see desktop.h.
#include "ui/desktop.h"

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

Window& Desktop::Load(const FormSpec& form, Window* owner) {
  if (Window* existing = Find(WindowName{form.name})) return *existing;
  windows_.push_back(std::make_unique<Window>(form));
  Window& window = *windows_.back();
  window.screenRect = {form.position.x, form.position.y, form.clientSize.width,
                       form.clientSize.height};
  window.SetObserver(&backend_);
  backend_.Create(window, owner);
  Deliver(Event{&window, kNoControl, EventKind::kCreated, 0});
  if (!window.closed) SetVisible(window, true);
  return window;
}

void Desktop::Close(Window& window) {
  if (window.closed) return;
  window.closed = true;
  window.visible = false;
  backend_.Destroy(window);
  window.SetObserver(nullptr);
  auto it = std::find_if(windows_.begin(), windows_.end(),
                         [&](const auto& w) { return w.get() == &window; });
  if (it != windows_.end()) {
    closed_.push_back(std::move(*it));
    windows_.erase(it);
  }
}

void Desktop::SetVisible(Window& window, bool visible) {
  if (window.closed) return;
  window.visible = visible;
  backend_.Show(window, visible);
}

void Desktop::SetDisplayState(Window& window, DisplayState state) {
  if (window.closed) return;
  window.displayState = state;
  backend_.SetDisplayState(window, state);
}

void Desktop::Move(Window& window, std::optional<int> left, std::optional<int> top,
                   std::optional<int> width, std::optional<int> height) {
  if (window.closed) return;
  Rect r = window.screenRect;
  r.left = left.value_or(r.left);
  r.top = top.value_or(r.top);
  r.width = std::max(0, width.value_or(r.width));
  r.height = std::max(0, height.value_or(r.height));
  if (r == window.screenRect) return;
  window.screenRect = r;
  backend_.Move(window, r);
}

Size Desktop::ScreenSize() { return backend_.ScreenSize(); }

void Desktop::PopupMenu(Window& owner) {
  if (owner.closed || owner.Form().menuItems.empty()) return;
  std::vector<std::string_view> items(owner.Form().menuItems.begin(),
                                      owner.Form().menuItems.end());
  int chosen = backend_.PopupMenu(owner, items);
  if (chosen < 0 || chosen >= static_cast<int>(items.size())) return;
  Deliver(Event{&owner, kNoControl, EventKind::kItemChosen, chosen});
}

int Desktop::ShowMessageBox(std::string_view text, int flags, std::string_view title,
                        Window* owner) {
  return backend_.ShowMessageBox(text, flags, title, owner && !owner->closed ? owner : nullptr);
}

void Desktop::Focus(Window& window) {
  if (!window.closed) backend_.Focus(window);
}

void Desktop::ApplyVisualStyle(int code) { backend_.ApplyVisualStyle(code); }

void Desktop::Raise(Window& window) {
  if (!window.closed) backend_.Raise(window);
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
  if (!event.window || event.window->closed) return;
  const WiringEntry* binding = FindBinding(*event.window, event);
  if (!binding || binding->handler == HandlerId::kNoEffect) return;
  ++depth_;
  handlers_.Run(binding->handler, event);
  --depth_;
}

void Desktop::Deliver(const std::vector<Event>& events) {
  for (const Event& e : events) Deliver(e);
}

void Desktop::CollectClosed() {
  if (depth_ == 0) closed_.clear();
}

}  // namespace ui
