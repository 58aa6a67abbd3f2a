// GIF playback of picture boxes as policy, apart from the platform: when a
// box plays (its window shows on the screen, the box shows, it is set to
// animate and its picture has more than one frame), which frame comes next
// and how long each one stays (its own delay, wrapping at the end). The
// platform only runs the frame timers this asks for and repaints the frames
// the model gets; it reports whether the window can be seen at all.
#pragma once

#include <map>

#include "assets/assets.h"
#include "ui/geometry.h"
#include "ui/painter.h"
#include "ui/window.h"

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
