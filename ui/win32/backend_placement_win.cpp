// The Win32 backend's placement and display scale: where a window is and
// how large, what the system did to it (minimised, shown, moved), and the
// monitor's DPI it is drawn at, followed through every display change.
#include "ui/behaviour/desktop.h"
#include "ui/win32/backend_win.h"
#include "ui/win32/dpi_win.h"
#include "ui/win32/window_host_win.h"
#include "ui/win_base/messages_win.h"

namespace ui {

Win32Backend::Handled Win32Backend::OnPlacement(WindowHost& host, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  HWND hwnd = host.hwnd;
  Window& model = *host.model;
  switch (message) {
    case WM_SIZE:
      // Also from the taskbar, or the system minimising an owned window.
      if (wParam == SIZE_MINIMIZED) {
        Report(host, {.displayState = DisplayState::kMinimized});
      } else if (wParam == SIZE_RESTORED) {
        Report(host, {.displayState = DisplayState::kRestored});
      }
      host.SyncAnimations();
      break;
    case WM_SHOWWINDOW:
      // Shown or hidden from outside (owner minimised, taskbar): keep in step.
      PostMessageW(hwnd, kSyncVisibilityMessage, 0, 0);
      break;
    case kSyncVisibilityMessage:
      Report(host, {.visible = IsWindowVisible(hwnd) != FALSE});
      host.SyncAnimations();
      return 0;
    case WM_MOVE:
      if (!IsIconic(hwnd)) {
        RECT rc;
        GetWindowRect(hwnd, &rc);
        Report(host, {.position = host.scale.ToModel(Point{rc.left, rc.top})});
        host.SyncAnimations();  // it may have come onto or gone off the screen
        // Back on the screen it is drawn whole at once, before it is seen;
        // gone off it, its pictures go as a hidden window's do.
        const bool shows = host.Shows();
        if (shows && host.unpainted) {
          host.unpainted = false;
          RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        } else if (!shows && !host.unpainted && IsWindowVisible(hwnd)) {
          host.unpainted = true;
          TrimPictures(*host.model);
        }
      }
      break;
    case WM_GETDPISCALEDSIZE:
      // The size at the new DPI is ours to say: the model's, converted, so
      // that the rectangle WM_DPICHANGED then suggests is exactly it.
      if (auto* size = reinterpret_cast<SIZE*>(lParam)) {
        const Rect r = DevicePlace(model.ScreenRect(), Scale(static_cast<int>(wParam)));
        *size = SIZE{r.width, r.height};
        return TRUE;
      }
      break;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      Rescale(host, Scale(static_cast<int>(LOWORD(wParam))),
              suggested ? Point{suggested->left, suggested->top} : Point{});
      OnDisplayChange(host, message);
      return 0;
    }
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:  // the work area, a scale changed in Settings
      OnDisplayChange(host, message);
      break;
    case kDisplayChangedMessage:
      displayChangePosted_ = false;
      if (main_ == &model) RunRoutes(model, message, wParam, lParam);
      return 0;
  }
  return std::nullopt;
}

void Win32Backend::Move(Window& window, Rect screen) {
  if (WindowHost* host = HostOf(window); host && host->hwnd) {
    const Rect r = DevicePlace(screen, host->scale);
    SetWindowPos(host->hwnd, nullptr, r.left, r.top, r.width, r.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

Size Win32Backend::ScreenSize(const Window* window) {
  const WindowHost* host = window ? HostOf(*window) : nullptr;
  const Scale scale = host && host->hwnd ? host->scale : PrimaryScale();
  // Nearest alone may round the other way: the notice parked a pixel into
  // view, or rest a pixel past the right edge.
  int width = scale.ToModel(GetSystemMetrics(SM_CXSCREEN));
  while (width > 0 && scale.ToDevice(width) > GetSystemMetrics(SM_CXSCREEN)) --width;
  int height = scale.ToModel(GetSystemMetrics(SM_CYSCREEN));
  while (scale.ToDevice(height) < GetSystemMetrics(SM_CYSCREEN)) ++height;
  return {width, height};
}

Rect Win32Backend::WorkArea(const Window& window) {
  WindowHost* host = HostOf(window);
  const Scale scale = host && host->hwnd ? host->scale : PrimaryScale();
  HMONITOR monitor = nullptr;
  if (host && host->hwnd) {
    monitor = MonitorFromWindow(host->hwnd, MONITOR_DEFAULTTONEAREST);
  } else {
    const RECT r = ToRect(DevicePlace(window.ScreenRect(), scale));
    monitor = MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
  }
  MONITORINFO info{sizeof(info)};
  if (!GetMonitorInfoW(monitor, &info)) {
    return scale.ToModel(Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  }
  const RECT& w = info.rcWork;
  return scale.ToModel(Rect{w.left, w.top, w.right - w.left, w.bottom - w.top});
}

void Win32Backend::OnDisplayChange(WindowHost& host, UINT message) {
  // Sent to every top-level window; the first one refreshes for all, the
  // rest find nothing changed. The scale a WM_DPICHANGED told is the
  // window's: the system may not report it yet while the message is handled.
  if (message != WM_DPICHANGED) {
    screen_ = VirtualScreen();
    RefreshScales();
  }
  host.SyncAnimations();
  WindowHost* main = main_ ? HostOf(*main_) : nullptr;
  if (main && main->hwnd && !displayChangePosted_) {
    displayChangePosted_ = PostMessageW(main->hwnd, kDisplayChangedMessage, 0, 0) != FALSE;
  }
}

void Win32Backend::RefreshScales() {
  for (auto& [model, other] : hosts_) {
    if (!other->hwnd) continue;
    const Scale now = WindowScale(other->hwnd);
    if (now == other->scale) continue;
    RECT at;
    GetWindowRect(other->hwnd, &at);
    Rescale(*other, now, Point{at.left, at.top});
  }
}

void Win32Backend::Rescale(WindowHost& host, Scale scale, Point at) {
  const Scale before = host.scale;
  host.scale = scale;
  host.accessible->scale = scale;
  // Where the system suggests, at the model's size for the new DPI: the
  // fonts, pictures and theme parts of that DPI are made as it is drawn.
  const Rect r = DevicePlace(host.model->ScreenRect(), scale);
  SetWindowPos(host.hwnd, nullptr, at.x, at.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  // Unmoved on the screen, it still lies elsewhere in the model's pixels.
  RECT placed;
  if (GetWindowRect(host.hwnd, &placed)) {
    Report(host, {.position = scale.ToModel(Point{placed.left, placed.top})});
  }
  host.natives.Rescale(scale, fonts_);
  InvalidateRect(host.hwnd, nullptr, FALSE);
  if (before == scale) return;
  // What was kept for the old DPI goes unless another window still has it.
  for (const auto& [model, other] : hosts_) {
    if (other->hwnd && other->scale == before) return;
  }
  images_.Forget(before);
}

}  // namespace ui
