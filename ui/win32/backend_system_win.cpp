// The Win32 backend's timers and what the system asks of a window: the
// model's timers and the shared frame timer, the end of the session, the
// accessible object, the window's own end, and the routes that take the
// main window's other messages to the program.
#include "ui/behaviour/accessibility.h"
#include "ui/behaviour/desktop.h"
#include "ui/win32/accessible_win.h"
#include "ui/win32/backend_win.h"
#include "ui/win32/window_host_win.h"
#include "ui/win_base/messages_win.h"

namespace ui {
namespace {

// Timer ids: model timers get a range, keyed by control (the frame timer
// comes after it).
constexpr UINT_PTR kTimerBase = 0x1000;
constexpr UINT_PTR kIdRange = 0x3000;
static_assert(kTimerBase + kIdRange <= kFrameTimer);
static_assert(kTrayRetryTimer > kFrameTimer);

}  // namespace

Win32Backend::Handled Win32Backend::OnSystem(WindowHost& host, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  Window& model = *host.model;
  switch (message) {
    case WM_TIMER: {
      UINT_PTR id = wParam;
      if (id == kFrameTimer) {
        const bool shows = host.Shows();
        for (ControlId box : host.frames.Tick()) {
          host.drawingFrame = box;
          host.animations.Advance(box, shows);
        }
        host.drawingFrame = kNoControl;
        host.frames.Rearm();
        return 0;
      }
      if (id >= kTimerBase && id < kTimerBase + kIdRange) {
        auto control = static_cast<ControlId>(id - kTimerBase);
        host.tickRunning = true;
        Deliver(host, {Event{&model, control, EventKind::kTick, 0}});
        host.tickRunning = false;
        return 0;
      }
      if (main_ == &model && RunRoutes(model, message, wParam, lParam)) return 0;
      break;
    }
    case WM_CLOSE:
      return 0;  // windows close only through the program's own exit
    case WM_QUERYENDSESSION:
      // Yes to a log-off, a shutdown and Restart Manager alike: an armed
      // task never holds the session up. What follows is WM_ENDSESSION's.
      if (main_ == &model) RunRoutes(model, message, wParam, lParam);
      return TRUE;
    case WM_GETOBJECT:
      if (static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT) {
        return AnswerGetObject(host.accessible, wParam);
      }
      break;
    case kDefaultActionMessage:
      Deliver(host, DefaultAction(model, {static_cast<ControlId>(wParam), static_cast<int>(lParam)}));
      return 0;
    case WM_DESTROY:
      host.animations.StopAll();
      if (main_ == &model) PostQuitMessage(0);
      return 0;
  }
  return std::nullopt;
}

void Win32Backend::SyncTimer(WindowHost& host, ControlId id) {
  if (id < 0 || static_cast<UINT_PTR>(id) >= kIdRange) return;
  int interval = host.model->At(id).interval;
  if (interval > 0) {
    SetTimer(host.hwnd, kTimerBase + static_cast<UINT_PTR>(id), static_cast<UINT>(interval),
             nullptr);
  } else {
    KillTimer(host.hwnd, kTimerBase + static_cast<UINT_PTR>(id));
  }
}

bool Win32Backend::RunRoutes(Window& model, UINT message, WPARAM wParam, LPARAM lParam) {
  bool routed = false;
  // By index, and each route copied before it runs: a route may add
  // another, which moves the list.
  for (size_t i = 0; i < routes_.size(); ++i) {
    if (routes_[i].first != message) continue;
    MessageRoute route = routes_[i].second;
    route(model, wParam, lParam);
    routed = true;
  }
  return routed;
}

}  // namespace ui
