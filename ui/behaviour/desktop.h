// The loaded windows and the window operations handlers use: load, close,
// show and hide, display state, move with omitted values, screen size, the
// pop-up menu and the message box. Events from the platform come in here and
// go out to the handlers bound in each form's wiring table, one at a time.
#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "ui/model/backend.h"
#include "ui/model/event.h"
#include "ui/model/form.h"
#include "ui/model/window.h"

namespace ui {

// What the platform did to a window by itself: the taskbar minimised or
// restored it, its owner hid or showed it, the user dragged it. Only the
// facts it knows are set.
struct WindowReport {
  std::optional<bool> visible;
  std::optional<DisplayState> displayState;
  std::optional<Point> position;  // the outer top-left corner on the screen
};

// Message box flags, the platform's own values.
inline constexpr int kMessageOk = 0;
inline constexpr int kMessageOkInformation = 0x40;

class Desktop {
 public:
  Desktop(Backend& backend, HandlerSink& handlers);
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // A loaded window, or nullptr.
  Window* Find(WindowName name);

  // Creates the window and its controls, runs its creation handler and shows
  // it. Loading a window that is already loaded returns it unchanged. `at`,
  // when given, is where the window is created instead of its form's place,
  // so that it is never seen anywhere else.
  Window& Load(const FormSpec& form, Window* owner, std::optional<Point> at = std::nullopt);
  // Destroys the window now. Its model, and what the backend keeps for it,
  // stay valid until CollectClosed, so a handler may close the window whose
  // event it is handling.
  void Close(Window& window);
  // These four set the window's state as the platform will have it: a
  // minimised window is on screen (as a button), restoring or raising one
  // shows it.
  void SetVisible(Window& window, bool visible);
  void SetDisplayState(Window& window, DisplayState state);
  // Omitted values keep the window's current edge or size.
  void Move(Window& window, std::optional<int> left, std::optional<int> top,
            std::optional<int> width = std::nullopt, std::optional<int> height = std::nullopt);
  // The primary screen's size at the window's scale; see Backend::ScreenSize.
  Size ScreenSize(const Window* window);
  // The work area of the monitor the window is on; see Backend::WorkArea.
  Rect WorkArea(const Window& window);
  // Pops up the owner's menu at the mouse and delivers the chosen item.
  void PopupMenu(Window& owner);
  int ShowMessageBox(std::string_view text, int flags, std::string_view title, Window* owner);
  void Focus(Window& window);
  void ApplyVisualStyle(int code);
  void Raise(Window& window);

  // Runs the handler bound to the event, if any; events of closed windows are
  // dropped.
  void Deliver(const Event& event);
  void Deliver(const std::vector<Event>& events);
  // Takes in what the platform did by itself; ignored for a closed window.
  void Report(Window& window, const WindowReport& report);

  // Frees the models of closed windows (and what the backend kept for them)
  // once no handler and no message dispatch runs; how many it freed.
  int CollectClosed();

  // Held by the backend while it dispatches a message to one of the windows:
  // a window may be closed from inside a nested dispatch, and nothing closed
  // is freed until the outermost one has returned. A null desktop is allowed.
  class DispatchScope {
   public:
    explicit DispatchScope(Desktop* desktop) : desktop_(desktop) {
      if (desktop_) ++desktop_->depth_;
    }
    ~DispatchScope() {
      if (desktop_) --desktop_->depth_;
    }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

   private:
    Desktop* desktop_;
  };

 private:
  Backend& backend_;
  HandlerSink& handlers_;
  std::vector<std::unique_ptr<Window>> windows_;
  std::vector<std::unique_ptr<Window>> closed_;
  int depth_ = 0;  // handlers running and messages being dispatched
};

// The wiring entry for an event, or nullptr.
const WiringEntry* FindBinding(const Window& window, const Event& event);

}  // namespace ui
