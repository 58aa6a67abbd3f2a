// Win32Backend: frameless windows drawn from the model. See backend_win.h.
//
// Ownership: a WindowHost lives from Create until the desktop frees the model
// (Release), which it does only when no handler and no window procedure runs:
// a handler may destroy the very window whose message is being handled, or
// one whose procedure is further out on the stack. Every window procedure
// call holds a Desktop::DispatchScope for that reason. The backend never
// writes the model's window state; it reports what the platform did.
#include "ui/backend_win.h"

#include <windowsx.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "ui/accessibility.h"
#include "ui/accessible_win.h"
#include "ui/animation.h"
#include "ui/desktop.h"
#include "ui/dpi_win.h"
#include "ui/input.h"
#include "ui/keyboard.h"
#include "ui/messages_win.h"
#include "ui/native_parts_win.h"
#include "ui/render.h"
#include "ui/system_ui_win.h"
#include "ui/text_win.h"
#include "ui/window_host_win.h"

namespace ui {

namespace {

// Timer ids: model timers get a range, keyed by control (the frame timer
// comes after it).
constexpr UINT_PTR kTimerBase = 0x1000;
constexpr UINT_PTR kIdRange = 0x3000;
static_assert(kTimerBase + kIdRange <= kFrameTimer);
static_assert(kTrayRetryTimer > kFrameTimer);

// The resource id of the window and tray icon.
constexpr int kAppIconResource = 1;

RECT ToRect(Rect r) { return RECT{r.left, r.top, r.Right(), r.Bottom()}; }

// A point on the screen to the model pixel under it.
Point ClientPoint(const WindowHost& host, POINT pt) {
  ScreenToClient(host.hwnd, &pt);
  return host.scale.PixelAt(Point{pt.x, pt.y});
}

// A window's place and size at the scale: its corner as a point, its size
// as its client area's, which the model's pixels fill edge to edge.
Rect DevicePlace(Rect model, Scale scale) {
  const Point at = scale.ToDevice(Point{model.left, model.top});
  const Size size = scale.ToDevice(Size{model.width, model.height});
  return {at.x, at.y, size.width, size.height};
}

// The whole desktop, every monitor. Asking costs several round trips to the
// window server under Wine, so it is asked once and again on a display change.
Rect VirtualScreen() {
  return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
          GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

Point LParamPoint(const WindowHost& host, LPARAM lParam) {
  return host.scale.PixelAt(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

Key KeyOf(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_TAB: return Key::kTab;
    case VK_RETURN: return Key::kEnter;
    case VK_SPACE: return Key::kSpace;
    case VK_LEFT: return Key::kLeft;
    case VK_UP: return Key::kUp;
    case VK_RIGHT: return Key::kRight;
    case VK_DOWN: return Key::kDown;
    case VK_F4: return Key::kF4;
    case VK_F10: return Key::kF10;
    case VK_APPS: return Key::kMenu;
    case VK_MENU: return Key::kAlt;
    default: return Key::kOther;
  }
}

bool HoldsFocus(HWND hwnd) {
  HWND focus = GetFocus();
  return focus && (focus == hwnd || IsChild(hwnd, focus));
}

}  // namespace

bool WindowShows(HWND hwnd, Rect screen) {
  if (!hwnd) return false;
  RECT rc{};
  GetWindowRect(hwnd, &rc);
  WindowPlacement placement;
  placement.visible = IsWindowVisible(hwnd) != FALSE;
  placement.minimized = IsIconic(hwnd) != FALSE;
  placement.window = {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
  placement.screen = screen;
  return ShowsOnScreen(placement);
}

Win32Backend::Win32Backend(HINSTANCE instance, ImageStore& images)
    : instance_(instance), images_(images), screen_(VirtualScreen()) {
  // Not LR_SHARED: these two are ours to destroy.
  appIcon_.Reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIconResource),
                                               IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
  appIconSmall_.Reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIconResource),
                                                    IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                    GetSystemMetrics(SM_CYSMICON), 0)));
}

Win32Backend::~Win32Backend() {
  for (auto& [model, host] : hosts_) {
    *host->accessible = {};
    host->natives.BeforeParentDestroyed();
    if (host->hwnd) {
      SetWindowLongPtrW(host->hwnd, GWLP_USERDATA, 0);
      DestroyWindow(host->hwnd);
    }
  }
  hosts_.clear();
}

WindowHost* Win32Backend::HostOf(const Window& window) const {
  auto it = hosts_.find(&window);
  return it == hosts_.end() ? nullptr : it->second.get();
}

void Win32Backend::AddMessageRoute(UINT message, MessageRoute route) {
  if (message != 0 && route) routes_.emplace_back(message, std::move(route));
}

HWND Win32Backend::Handle(const Window& window) const {
  WindowHost* host = HostOf(window);
  return host ? host->hwnd : nullptr;
}

void Win32Backend::RegisterClassFor(const FormSpec& form) {
  std::wstring name = Widen(form.className);
  WNDCLASSEXW existing{sizeof(existing)};
  if (GetClassInfoExW(instance_, name.c_str(), &existing)) return;
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = &Win32Backend::WindowProc;
  wc.hInstance = instance_;
  wc.lpszClassName = name.c_str();
  // A DC of its own: animation frames are drawn outside WM_PAINT many times a
  // second, and getting a common DC each time costs more than the drawing.
  wc.style = CS_OWNDC;
  wc.hCursor = nullptr;  // WM_SETCURSOR picks per control
  if (form.icon == assets::Asset::kAppIcon) {
    wc.hIcon = appIcon_.Get();
    wc.hIconSm = appIconSmall_.Get();
  }
  RegisterClassExW(&wc);
}

void Win32Backend::Create(Window& window, Window* owner) {
  const FormSpec& form = window.Form();
  RegisterClassFor(form);
  auto host = std::make_unique<WindowHost>(*this, window, images_, screen_);
  WindowHost* raw = host.get();
  hosts_[&window] = std::move(host);

  DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
  DWORD exStyle = form.taskbarButton ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
  if (form.topmost) exStyle |= WS_EX_TOPMOST;
  if (form.noActivate) exStyle |= WS_EX_NOACTIVATE;
  // Placed at the primary monitor's scale first; on a monitor of another,
  // the window has that one's once it exists.
  raw->scale = PrimaryScale();
  Rect r = DevicePlace(window.ScreenRect(), raw->scale);
  HWND ownerHwnd = owner ? Handle(*owner) : nullptr;
  // WM_NCCREATE stores the host; everything from then on reaches it.
  CreateWindowExW(exStyle, Widen(form.className).c_str(), Widen(form.caption).c_str(), style,
                  r.left, r.top, r.width, r.height, ownerHwnd, nullptr, instance_, raw);
  if (!raw->hwnd) return;
  if (const Scale own = WindowScale(raw->hwnd); !(own == raw->scale)) {
    raw->scale = own;
    r = DevicePlace(window.ScreenRect(), own);
    SetWindowPos(raw->hwnd, nullptr, r.left, r.top, r.width, r.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  *raw->accessible = {&window, raw->hwnd, raw->scale};
  raw->natives.Create(raw->hwnd, instance_, fonts_, raw->scale);
  for (ControlId id = 0; id < window.ControlCount(); ++id) {
    if (window.At(id).kind == Kind::kTimer) SyncTimer(*raw, id);
  }
}

void Win32Backend::Destroy(Window& window) {
  WindowHost* host = HostOf(window);
  if (!host) return;
  *host->accessible = {};  // what clients still hold answers "disconnected"
  host->natives.BeforeParentDestroyed();
  // The host stays, with a null window, until Release.
  if (host->hwnd) DestroyWindow(host->hwnd);
}

void Win32Backend::Release(Window& window) {
  auto it = hosts_.find(&window);
  if (it == hosts_.end()) return;
  *it->second->accessible = {};
  if (it->second->hwnd) {
    // Released without a Destroy first: take the window down quietly.
    it->second->natives.BeforeParentDestroyed();
    SetWindowLongPtrW(it->second->hwnd, GWLP_USERDATA, 0);
    DestroyWindow(it->second->hwnd);
  }
  if (main_ == &window) main_ = nullptr;
  hosts_.erase(it);
}

void Win32Backend::Show(Window& window, bool visible) {
  WindowHost* host = HostOf(window);
  if (!host || !host->hwnd) return;
  int command = visible ? (window.Form().noActivate ? SW_SHOWNOACTIVATE : SW_SHOW) : SW_HIDE;
  ShowWindow(host->hwnd, command);
  host->SyncAnimations();
  if (!visible) TrimPictures(window);
}

void Win32Backend::TrimPictures(const Window& hidden) {
  const auto forEachPicture = [](const Window& w, auto&& use) {
    for (ControlId id = 0; id < w.ControlCount(); ++id) {
      const Control& c = w.At(id);
      use(c.picture);
      for (assets::Asset a : c.stateImages) use(a);
    }
  };
  std::set<assets::Asset> onShow;
  for (const auto& [model, host] : hosts_) {
    if (model != &hidden && host->hwnd && IsWindowVisible(host->hwnd)) {
      forEachPicture(*model, [&](assets::Asset a) { onShow.insert(a); });
    }
  }
  forEachPicture(hidden, [&](assets::Asset a) {
    if (a != assets::Asset::kNone && onShow.count(a) == 0) images_.Trim(a);
  });
}

void Win32Backend::SetDisplayState(Window& window, DisplayState state) {
  WindowHost* host = HostOf(window);
  if (!host || !host->hwnd) return;
  if (state == DisplayState::kMinimized) {
    ShowWindow(host->hwnd, SW_MINIMIZE);
  } else if (IsIconic(host->hwnd)) {
    ShowWindow(host->hwnd, SW_RESTORE);
  }
  host->SyncAnimations();
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

int Win32Backend::PopupMenu(Window& owner, const std::vector<std::string_view>& items) {
  return TrackMenuAtCursor(Handle(owner), items);
}

int Win32Backend::ShowMessageBox(std::string_view text, int flags, std::string_view title,
                             Window* owner) {
  return ShowMessageBoxFor(owner ? Handle(*owner) : nullptr, text, flags, title);
}

void Win32Backend::Focus(Window& window) {
  if (HWND hwnd = Handle(window)) SetFocus(hwnd);
}

void Win32Backend::ApplyVisualStyle(int code) { ApplyThemeProperties(code); }

void Win32Backend::Raise(Window& window) {
  HWND hwnd = Handle(window);
  if (!hwnd) return;
  ShowWindow(hwnd, IsIconic(hwnd) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd);
  BringWindowToTop(hwnd);
  if (WindowHost* host = HostOf(window)) host->SyncAnimations();
}

void Win32Backend::Invalidate(Window& window, Rect rect) {
  WindowHost* host = HostOf(window);
  // Hidden and minimised windows paint everything when they come back.
  if (!host || !host->hwnd || !IsWindowVisible(host->hwnd) || IsIconic(host->hwnd)) return;
  if (host->drawingFrame != kNoControl && DrawFrame(*host, host->drawingFrame, rect)) return;
  if (host->tickRunning && PaintNow(*host, rect)) return;
  RECT rc = ToRect(host->scale.ToDevice(rect));
  InvalidateRect(host->hwnd, &rc, FALSE);
}

void Win32Backend::ControlChanged(Window& window, ControlId id, Change change) {
  WindowHost* host = HostOf(window);
  if (!host || !host->hwnd) return;
  switch (change) {
    case Change::kTimer:
      SyncTimer(*host, id);
      break;
    case Change::kNative:
      host->natives.Sync(id);
      break;
    case Change::kVisibility:
      host->natives.Layout();
      host->SyncAnimations();
      break;
    case Change::kBounds:
      host->natives.Layout();  // a moved control may cut a native part anew
      break;
    case Change::kAnimation:
      host->animations.Sync(id, host->Shows());
      break;
    case Change::kFocus:
      SyncFocus(*host);
      break;
    case Change::kCaption:
    case Change::kState:
    case Change::kValue:
      break;
  }
  AnnounceChange(host->hwnd, window, id, change);
}

void Win32Backend::SyncFocus(WindowHost& host) {
  if (!HoldsFocus(host.hwnd)) return;  // never taken from another window
  ControlId id = host.model->Focused();
  HWND edit = id == kNoControl ? nullptr : host.natives.EditHandle(id);
  HWND wanted = edit ? edit : host.hwnd;
  if (GetFocus() != wanted) SetFocus(wanted);
}

bool Win32Backend::OnKey(WindowHost& host, WPARAM virtualKey, bool alt) {
  Window& model = *host.model;
  if (!desktop_ || model.IsClosed()) return false;
  KeyPress press{KeyOf(virtualKey), GetKeyState(VK_SHIFT) < 0, alt};
  if (press.key == Key::kOther) return false;
  HWND hwnd = host.hwnd;
  bool cueBefore = model.FocusCue();
  KeyOutcome out = PressKey(*desktop_, model, press);
  if (model.IsClosed() || !host.hwnd) return out.handled;
  // Tabbing into an edit box selects its text, so typing replaces it, as in
  // the platform's dialogs.
  if (out.focusMoved) {
    if (HWND edit = host.natives.EditHandle(model.Focused())) SendMessageW(edit, EM_SETSEL, 0, -1);
  }
  // The platform keeps its own note of the cues for the window's children.
  if (model.FocusCue() && !cueBefore) {
    SendMessageW(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  }
  return out.handled;
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

void Win32Backend::Report(WindowHost& host, const WindowReport& report) {
  if (desktop_) desktop_->Report(*host.model, report);
}

void Win32Backend::Deliver(WindowHost& host, const std::vector<Event>& events) {
  if (desktop_ && !events.empty() && !host.model->IsClosed()) desktop_->Deliver(events);
}

LRESULT CALLBACK Win32Backend::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* host = static_cast<WindowHost*>(cs->lpCreateParams);
    host->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
  }
  auto* host = reinterpret_cast<WindowHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!host) return DefWindowProcW(hwnd, message, wParam, lParam);
  // Until this returns, nothing closed is freed: the host and the model stay
  // valid here whatever the handlers called below destroy.
  Desktop::DispatchScope dispatching(host->backend->desktop_);
  LRESULT result = host->backend->Handle(*host, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    host->hwnd = nullptr;
  }
  return result;
}

LRESULT Win32Backend::Handle(WindowHost& host, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = host.hwnd;
  Window& model = *host.model;
  switch (message) {
    case WM_PAINT:
      Paint(host);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // everything is painted from the back buffer
    case WM_NCHITTEST: {
      LRESULT hit = DefWindowProcW(hwnd, message, wParam, lParam);
      if (hit != HTCLIENT) return hit;
      // Where no control takes the press, the press drags the window.
      return TakesPress(model, ClientPoint(host, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
                 ? HTCLIENT
                 : HTCAPTION;
    }
    case WM_NCLBUTTONDBLCLK:
      return 0;  // a frameless window has nothing to maximise
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == hwnd) {
        POINT pt;
        GetCursorPos(&pt);
        bool hand = CursorAt(model, ClientPoint(host, pt)) == Cursor::kHand;
        SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
        return TRUE;
      }
      if (LOWORD(lParam) == HTCAPTION) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (!host.trackingLeave) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
        host.trackingLeave = TrackMouseEvent(&tme) != FALSE;
      }
      MouseMove(model, LParamPoint(host, lParam));
      return 0;
    case WM_MOUSELEAVE:
      host.trackingLeave = false;
      MouseLeave(model);
      return 0;
    case WM_NCMOUSEMOVE:
      MouseLeave(model);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetCapture(hwnd);
      Deliver(host, MouseDown(model, LParamPoint(host, lParam)));
      return 0;  // the host may be gone now
    case WM_LBUTTONUP: {
      // The click is decided before the capture goes: releasing it sends
      // WM_CAPTURECHANGED, which forgets the pressed control.
      std::vector<Event> events = MouseUp(model, LParamPoint(host, lParam));
      if (GetCapture() == hwnd) ReleaseCapture();
      Deliver(host, events);
      return 0;
    }
    case WM_CAPTURECHANGED:
      model.SetPressed(kNoControl);
      return 0;
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
    case WM_COMMAND:
      if (host.natives.OnCommand(wParam, lParam)) return 0;
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return NativeParts::EditColors(wParam, lParam);
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
    case WM_THEMECHANGED:
      // Sent to every top-level window; the parts are shared, and each
      // window draws its own again with the new ones.
      parts_.Reset();
      InvalidateRect(hwnd, nullptr, FALSE);
      break;
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:  // the work area, a scale changed in Settings
      OnDisplayChange(host, message);
      break;
    case kDisplayChangedMessage:
      displayChangePosted_ = false;
      if (main_ == &model) RunRoutes(model, message, wParam, lParam);
      return 0;
    case WM_CLOSE:
      return 0;  // windows close only through the program's own exit
    case WM_QUERYENDSESSION:
      // Yes to a log-off, a shutdown and Restart Manager alike: an armed
      // task never holds the session up. What follows is WM_ENDSESSION's.
      if (main_ == &model) RunRoutes(model, message, wParam, lParam);
      return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // Bit 29: the Alt key was down with it.
      if (OnKey(host, wParam, message == WM_SYSKEYDOWN && (lParam & (1 << 29)))) return 0;
      break;
    case kEditKeyMessage:
      model.SetFocused(static_cast<ControlId>(LOWORD(lParam)));
      return OnKey(host, wParam, HIWORD(lParam) != 0) ? 1 : 0;
    case kEditFocusMessage:
      model.SetFocused(static_cast<ControlId>(wParam));
      return 0;
    case WM_SETFOCUS:
      // Back in the window: the focus returns to the edit box that had it,
      // and a drawn control that has it is announced again.
      SyncFocus(host);
      AnnounceChange(hwnd, model, model.Focused(), Change::kFocus);
      return 0;
    case WM_UPDATEUISTATE:
      // The platform says whether focus cues show (Alt pressed, a keyboard
      // user); the cue is hidden until it says so.
      if (HIWORD(wParam) & UISF_HIDEFOCUS) {
        if (LOWORD(wParam) == UIS_CLEAR) model.SetFocusCue(true);
        if (LOWORD(wParam) == UIS_SET) model.SetFocusCue(false);
      }
      break;
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
    default:
      if (main_ == &model && RunRoutes(model, message, wParam, lParam)) return 0;
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
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
