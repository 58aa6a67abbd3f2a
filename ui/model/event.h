// Events the control layer delivers, and how they reach the program. A form's
// wiring table names the handler of each event by an identifier; the program
// binds the identifiers to its functions and receives every event through a
// HandlerSink, so the control layer knows nothing of the program.
#pragma once

#include "ui/model/control.h"

namespace ui {

class Window;

enum class EventKind {
  kCreated,     // the window's creation finished
  kClick,       // press and release over the same clickable control
  kPress,       // the left button went down over the control
  kTick,        // a timer's interval elapsed
  kArrow,       // spin control; arg 1 up, -1 down
  kItemChosen,  // a menu item, by its index in the form's menu
  kTray,        // notification-area action; arg is the action code
};

struct Event {
  Window* window = nullptr;
  ControlId control = kNoControl;  // kNoControl for window and menu events
  EventKind kind = EventKind::kCreated;
  int arg = 0;
};

// Every handler the forms bind, by the module that owns it.
enum class HandlerId {
  kNoEffect,  // the event is consumed and nothing changes

  // Start-up and lifecycle.
  kMainWindowCreated,
  kVersionWindowCreated,

  // Window opening, hiding and exit.
  kOpenVersionWindow,
  kHideVersionWindow,
  kHideMainWindow,
  kMinimizeMainWindow,
  kShowMainWindow,
  kExitMenuItem,
  kExitCancel,
  kExitConfirm,
  kAboutBox,
  kTaskNoticeClose,

  // Tray.
  kTrayAction,

  // Task, clock and notice slide.
  kActionOptionClick,
  kTimeSpin,
  kCommandButtonClick,
  kTaskClockTick,
  kClockTick,
  kSlideTick,
  kTaskNoticeTick,

  // Disk check.
  kDiskCheckClick,
  kDiskCheckTick,

  // Network, version lookup and web links.
  kOfficialSiteLink,
  kFeedbackLink,
  kDownloadLink,
  kVersionLookupClick,
  kVersionLookupTick,
};

class HandlerSink {
 public:
  virtual ~HandlerSink() = default;
  // Runs the handler bound under `id` for the event.
  virtual void Run(HandlerId id, const Event& event) = 0;
};

}  // namespace ui
