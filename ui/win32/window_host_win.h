// What the Win32 backend keeps for one loaded window, shared by the window
// procedure (backend_win.cpp), its families of messages (backend_*_win.cpp)
// and the painting path (window_paint_win.cpp):
// the platform window, its back buffer, its native parts, its animations and
// the frame timer they share, and the accessible object that answers for it.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/behaviour/animation.h"
#include "ui/model/scale.h"
#include "ui/model/window.h"
#include "ui/win32/accessible_win.h"
#include "ui/win32/native_parts_win.h"
#include "ui/win_base/scoped_win.h"

namespace ui {

class Win32Backend;

// The GIF frames of all of a window's picture boxes share one timer.
inline constexpr UINT_PTR kFrameTimer = 0x4000;

// Whether the window can be seen, by the platform's own account, on the
// virtual screen `screen`.
bool WindowShows(HWND hwnd, Rect screen);

// The memory bitmap a window paints into before copying to the screen. It
// holds only the part being repainted; one big enough for animation frames
// and small repaints is kept and reused, a bigger one lives for one paint.
class BackBuffer {
 public:
  BackBuffer() = default;
  BackBuffer(BackBuffer&& other) noexcept;
  BackBuffer& operator=(BackBuffer&& other) noexcept;

  // A DC with at least `size` pixels to paint on, from (0, 0).
  HDC Get(HDC screen, Size size);

 private:
  // The bitmap leaves the DC before either is deleted.
  void Reset();

  // Destroyed in reverse: selection undone, then bitmap, then DC.
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  SelectedObject selection_;
  Size size_;
};

// Everything the backend keeps for one loaded window. Its frame timer is the
// window's own, so it dies with it.
struct WindowHost final : WindowTimer {
  WindowHost(Win32Backend& b, Window& m, ImageCatalog& images, const Rect& desktop)
      : backend(&b),
        model(&m),
        screen(&desktop),
        natives(m),
        frames(*this),
        animations(m, images, frames) {}

  void StartWindowTimer(int intervalMs) override {
    SetTimer(hwnd, kFrameTimer, static_cast<UINT>(intervalMs), nullptr);
  }
  void StopWindowTimer() override { KillTimer(hwnd, kFrameTimer); }
  long long NowMs() override { return static_cast<long long>(GetTickCount64()); }
  bool Shows() const { return WindowShows(hwnd, *screen); }
  void SyncAnimations() { animations.SyncAll(Shows()); }

  Win32Backend* backend;
  Window* model;
  const Rect* screen;  // the backend's, kept up to date
  HWND hwnd = nullptr;
  // Its monitor's DPI over 96: the model's pixels to the window's.
  Scale scale;
  // The picture box whose frame timer's tick runs: its new frame is drawn
  // at once rather than through WM_PAINT.
  ControlId drawingFrame = kNoControl;
  // Set while a model timer's tick is handled: what it changes is drawn at
  // once too (a progress bar steps 50 times a second).
  bool tickRunning = false;
  BackBuffer buffer;
  NativeParts natives;
  FrameClock frames;
  Animations animations;
  bool trackingLeave = false;
  // Set while the window lies wholly off the screen, where it is not drawn
  // and its pictures go: it is drawn whole when it comes back.
  bool unpainted = false;
  std::shared_ptr<AccessibleTarget> accessible = std::make_shared<AccessibleTarget>();
};

// Conversions every part of the backend makes.
inline RECT ToRect(Rect r) { return RECT{r.left, r.top, r.Right(), r.Bottom()}; }

// A point on the screen to the model pixel under it.
inline Point ClientPoint(const WindowHost& host, POINT pt) {
  ScreenToClient(host.hwnd, &pt);
  return host.scale.PixelAt(Point{pt.x, pt.y});
}

// A window's place and size at the scale: its corner as a point, its size
// as its client area's, which the model's pixels fill edge to edge.
inline Rect DevicePlace(Rect model, Scale scale) {
  const Point at = scale.ToDevice(Point{model.left, model.top});
  const Size size = scale.ToDevice(Size{model.width, model.height});
  return {at.x, at.y, size.width, size.height};
}

// The whole desktop, every monitor. Asking costs several round trips to the
// window server under Wine, so it is asked once and again on a display change.
inline Rect VirtualScreen() {
  return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
          GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace ui
