// Win32Backend: frameless windows drawn from the model. See backend_win.h.
//
// Ownership: a WindowHost lives from Create until the desktop frees the model
// (Release), which it does only when no handler and no window procedure runs:
// a handler may destroy the very window whose message is being handled, or
// one whose procedure is further out on the stack. Every window procedure
// call holds a Desktop::DispatchScope for that reason. The backend never
// writes the model's window state; it reports what the platform did.
//
// This file keeps the windows' lives and the operations the model asks for;
// the window procedure's Handle sends each family of messages to its own
// file: backend_input_win.cpp (pointer, keys, focus), backend_placement_win.cpp
// (placement, display scale), window_paint_win.cpp (painting, theme) and
// backend_system_win.cpp (timers, session, accessibility, the end).
#include "ui/win32/backend_win.h"

#include <set>
#include <string>
#include <utility>

#include "ui/behaviour/accessibility.h"
#include "ui/behaviour/desktop.h"
#include "ui/win32/accessible_win.h"
#include "ui/win32/dpi_win.h"
#include "ui/win32/system_ui_win.h"
#include "ui/win32/window_host_win.h"
#include "ui/win_base/messages_win.h"
#include "ui/win_base/text_win.h"

namespace ui {

namespace {

// The resource id of the window and tray icon.
constexpr int kAppIconResource = 1;

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
  // Kept before the handlers run: they may destroy the window.
  HWND hwnd = host.hwnd;
  Handled handled;
  switch (message) {
    // Painting, and the theme it paints with (window_paint_win.cpp).
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_THEMECHANGED:
      handled = OnPaintMessage(host, message, wParam, lParam);
      break;
    // The pointer (backend_input_win.cpp).
    case WM_NCHITTEST:
    case WM_NCLBUTTONDBLCLK:
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_NCMOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      handled = OnPointer(host, message, wParam, lParam);
      break;
    // Keys, focus and the edit parts (backend_input_win.cpp).
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case kEditKeyMessage:
    case kEditFocusMessage:
    case WM_SETFOCUS:
    case WM_UPDATEUISTATE:
      handled = OnKeyboard(host, message, wParam, lParam);
      break;
    // Placement and display scale (backend_placement_win.cpp).
    case WM_SIZE:
    case WM_SHOWWINDOW:
    case kSyncVisibilityMessage:
    case WM_MOVE:
    case WM_GETDPISCALEDSIZE:
    case WM_DPICHANGED:
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:
    case kDisplayChangedMessage:
      handled = OnPlacement(host, message, wParam, lParam);
      break;
    // Timers, the session, accessibility, the end (backend_system_win.cpp).
    case WM_TIMER:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_GETOBJECT:
    case kDefaultActionMessage:
    case WM_DESTROY:
      handled = OnSystem(host, message, wParam, lParam);
      break;
    default:
      // The main window's routes take what the backend has no use for.
      if (main_ == host.model && RunRoutes(*host.model, message, wParam, lParam)) return 0;
      break;
  }
  return handled ? *handled : DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace ui
