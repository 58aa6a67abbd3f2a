// GIF playback of picture boxes as policy, apart from the platform: when a
// box plays (its window shows on the screen, the box shows, it is set to
// animate and its picture has more than one frame), which frame comes next
// and how long each one stays (its own delay, wrapping at the end). The
// platform only runs the frame timers this asks for and repaints the frames
// the model gets; it reports whether the window can be seen at all.
#pragma once

#include <map>
#include <vector>

#include "assets/assets.h"
#include "ui/model/geometry.h"
#include "ui/model/painter.h"
#include "ui/model/window.h"

namespace ui {

// A window as the platform shows it.
struct WindowPlacement {
  bool visible = false;
  bool minimized = false;
  Rect window;  // outer rectangle, screen coordinates
  Rect screen;  // the whole desktop, every monitor
};

// Whether any of the window can be seen: visible, not minimised, and with
// some of it on the screen. The task notice waits parked just below the
// screen, visible; animating it there would wake the program for frames
// nobody sees.
bool ShowsOnScreen(const WindowPlacement& placement);

// One periodic frame timer per picture box, owned by the platform: it keeps
// elapsing at its delay until started again with another or stopped.
class FrameTimers {
 public:
  virtual ~FrameTimers() = default;
  // Starts the box's timer, or restarts a running one with the new delay.
  virtual void StartFrameTimer(ControlId id, int delayMs) = 0;
  virtual void StopFrameTimer(ControlId id) = 0;
};

// The one timer of a window that its picture boxes' frames share, owned by
// the platform: periodic at its interval until started again or stopped.
class WindowTimer {
 public:
  virtual ~WindowTimer() = default;
  virtual void StartWindowTimer(int intervalMs) = 0;
  virtual void StopWindowTimer() = 0;
  virtual long long NowMs() = 0;  // a monotonic clock
};

// The frame timers of every picture box of one window on its one timer, so
// that boxes whose frames fall due together (same delays, started together)
// are advanced in one wakeup and drawn in one go. Each box keeps its own
// delays; a box due within kSlackMs of a tick goes with that tick, which is
// within the jitter of the platform's timers anyway. A box that starts while
// another plays at the same delay falls in step with it.
class FrameClock final : public FrameTimers {
 public:
  static constexpr long long kSlackMs = 5;
  explicit FrameClock(WindowTimer& timer) : timer_(timer) {}

  void StartFrameTimer(ControlId id, int delayMs) override;
  void StopFrameTimer(ControlId id) override;
  // The window timer elapsed: the boxes whose frames are due, in id order.
  // Each box's next frame then falls due one delay after the last, so a late
  // tick does not shift the schedule. Call Rearm once they are advanced.
  std::vector<ControlId> Tick();
  // Sets the window timer for the next frame due (only when its interval
  // changes), or stops it when no box plays.
  void Rearm();

 private:
  struct Due {
    long long atMs;
    int delayMs;
  };
  void Arm(bool justElapsed);
  WindowTimer& timer_;
  std::map<ControlId, Due> due_;
  int intervalMs_ = 0;  // what the window timer runs at; 0: stopped
  bool ticking_ = false;  // inside Tick..Rearm: changes wait for Rearm
};

// Whether the box should be playing now.
bool ShouldPlay(const Window& window, ControlId id, bool windowShows, ImageCatalog& images);

// The playing picture boxes of one window. The window, the catalogue and the
// timers must outlive it.
class Animations {
 public:
  Animations(Window& window, ImageCatalog& images, FrameTimers& timers)
      : window_(window), images_(images), timers_(timers) {}
  Animations(const Animations&) = delete;
  Animations& operator=(const Animations&) = delete;

  // Starts or stops the box's timer as ShouldPlay says. A box that plays
  // on with another picture starts that picture again from a valid frame
  // with that frame's own delay.
  void Sync(ControlId id, bool windowShows);
  void SyncAll(bool windowShows);
  // The box's timer elapsed: shows the next frame and waits its delay. The
  // timer is set again only when that delay differs from the last one, so a
  // GIF whose frames share a delay costs one timer call in all, not one a
  // frame.
  void Advance(ControlId id, bool windowShows);
  // Stops every timer; the window is going.
  void StopAll();
  bool IsPlaying(ControlId id) const { return playing_.count(id) != 0; }

 private:
  struct Playing {
    assets::Asset picture;  // the picture the timer runs for
    int delayMs;            // the delay it runs at
  };
  void Start(ControlId id);
  void RunAt(ControlId id, Playing& playing, int delayMs);

  Window& window_;
  ImageCatalog& images_;
  FrameTimers& timers_;
  std::map<ControlId, Playing> playing_;
};

}  // namespace ui
