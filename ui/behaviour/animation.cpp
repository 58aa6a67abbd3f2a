// Picture box playback; see animation.h.
#include "ui/behaviour/animation.h"

#include <algorithm>

namespace ui {
namespace {

// A zero or negative delay would make the timer spin; the platform's timers
// do not go below this anyway.
constexpr int kMinFrameDelayMs = 10;

}  // namespace

bool ShowsOnScreen(const WindowPlacement& placement) {
  return placement.visible && !placement.minimized &&
         !placement.window.Intersect(placement.screen).IsEmpty();
}

bool ShouldPlay(const Window& window, ControlId id, bool windowShows, ImageCatalog& images) {
  if (!windowShows || id < 0 || id >= window.ControlCount()) return false;
  const Control& c = window.At(id);
  return c.kind == Kind::kPictureBox && c.animating && !window.VisibleRect(id).IsEmpty() &&
         images.FrameCount(c.picture) > 1;
}

void FrameClock::StartFrameTimer(ControlId id, int delayMs) {
  const long long now = timer_.NowMs();
  long long at = now + delayMs;
  // Falls in step with a box already playing at the same delay, so that both
  // frames come in one wakeup from then on; this one frame stays between half
  // and one and a half of its delay.
  for (const auto& [other, due] : due_) {
    if (other == id || due.delayMs != delayMs) continue;
    at = due.atMs;
    while (at < now + delayMs / 2) at += delayMs;
    break;
  }
  due_[id] = {at, delayMs};
  if (!ticking_) Arm(false);
}

void FrameClock::StopFrameTimer(ControlId id) {
  if (due_.erase(id) != 0 && !ticking_) Arm(false);
}

std::vector<ControlId> FrameClock::Tick() {
  ticking_ = true;
  const long long now = timer_.NowMs();
  std::vector<ControlId> ready;
  for (auto& [id, due] : due_) {
    if (due.atMs > now + kSlackMs) continue;
    ready.push_back(id);
    due.atMs += due.delayMs;
    // Far behind (the program was busy, or the machine slept): start
    // afresh rather than run every missed frame.
    if (due.atMs <= now) due.atMs = now + due.delayMs;
  }
  return ready;
}

void FrameClock::Rearm() {
  ticking_ = false;
  Arm(true);
}

void FrameClock::Arm(bool justElapsed) {
  if (due_.empty()) {
    if (intervalMs_ != 0) timer_.StopWindowTimer();
    intervalMs_ = 0;
    return;
  }
  const long long now = timer_.NowMs();
  long long next = due_.begin()->second.atMs;
  for (const auto& [id, due] : due_) next = std::min(next, due.atMs);
  const int interval = static_cast<int>(std::clamp<long long>(next - now, kMinFrameDelayMs, 0x7FFFFFFF));
  // A periodic timer that has just elapsed at that interval comes round at
  // the next due frame by itself: setting it again would cost a call.
  if (justElapsed && interval == intervalMs_) return;
  intervalMs_ = interval;
  timer_.StartWindowTimer(interval);
}

void Animations::Start(ControlId id) {
  const Control& c = window_.At(id);
  int count = images_.FrameCount(c.picture);
  // A frame from before the picture changed (or set from outside) may lie
  // past this picture's end.
  if (c.frame < 0 || c.frame >= count) window_.SetFrame(id, 0);
  Playing& playing = playing_[id];
  playing = {c.picture, 0};
  RunAt(id, playing, images_.FrameDelayMs(c.picture, c.frame));
}

void Animations::RunAt(ControlId id, Playing& playing, int delayMs) {
  delayMs = std::max(delayMs, kMinFrameDelayMs);
  if (playing.delayMs == delayMs) return;
  playing.delayMs = delayMs;
  timers_.StartFrameTimer(id, delayMs);
}

void Animations::Sync(ControlId id, bool windowShows) {
  bool play = ShouldPlay(window_, id, windowShows, images_);
  auto it = playing_.find(id);
  if (play && (it == playing_.end() || it->second.picture != window_.At(id).picture)) {
    Start(id);
  } else if (!play && it != playing_.end()) {
    images_.Settle(it->second.picture);
    playing_.erase(it);
    timers_.StopFrameTimer(id);
  }
}

void Animations::SyncAll(bool windowShows) {
  for (ControlId id = 0; id < window_.ControlCount(); ++id) {
    if (window_.At(id).kind == Kind::kPictureBox) Sync(id, windowShows);
  }
}

void Animations::Advance(ControlId id, bool windowShows) {
  if (!IsPlaying(id)) return;  // a tick queued before the timer stopped
  Playing& playing = playing_.at(id);
  if (!ShouldPlay(window_, id, windowShows, images_) || playing.picture != window_.At(id).picture) {
    return Sync(id, windowShows);
  }
  const Control& c = window_.At(id);
  int count = images_.FrameCount(c.picture);
  int next = c.frame >= 0 && c.frame < count - 1 ? c.frame + 1 : 0;
  window_.SetFrame(id, next);
  RunAt(id, playing, images_.FrameDelayMs(c.picture, next));
}

void Animations::StopAll() {
  for (const auto& [id, playing] : playing_) timers_.StopFrameTimer(id);
  playing_.clear();
}

}  // namespace ui
