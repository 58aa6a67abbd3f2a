// Win32Tray and the shell records; see tray_win.h.
#include "shell/tray_win.h"

#include <cstring>
#include <utility>

#include "ui/behaviour/desktop.h"
#include "ui/win32/backend_win.h"
#include "ui/win32/dpi_win.h"
#include "ui/win_base/messages_win.h"
#include "ui/win_base/text_win.h"

namespace shell {

namespace {

constexpr int kAppIconResource = 1;

template <size_t N>
void CopyGbk(char (&buffer)[N], std::string_view utf8) {
  std::string gbk = ui::ToCodePage(utf8, 936);
  std::string_view fit = CutGbk(gbk, N - 1);
  std::memset(buffer, 0, N);
  std::memcpy(buffer, fit.data(), fit.size());
}

// Copies UTF-16 text with its NUL, cut at a character boundary to fit.
template <size_t N>
void CopyWide(WCHAR (&buffer)[N], std::string_view utf8) {
  std::wstring text = ui::Widen(utf8);
  size_t n = std::min(text.size(), N - 1);
  if (n > 0 && n < text.size() && IS_HIGH_SURROGATE(text[n - 1])) --n;
  std::memset(buffer, 0, sizeof buffer);
  std::memcpy(buffer, text.data(), n * sizeof(WCHAR));
}

}  // namespace

void FillBalloon(NOTIFYICONDATAA& record, std::string_view title, std::string_view text,
                 int iconKind) {
  record.uFlags = kBalloonInfoFlag;
  CopyGbk(record.szInfoTitle, title);
  CopyGbk(record.szInfo, text);
  record.dwInfoFlags = static_cast<DWORD>(iconKind);
}

NOTIFYICONDATAW WideNotice(const NOTIFYICONDATAA& r, std::string_view title,
                           std::string_view text) {
  NOTIFYICONDATAW w{};
  w.cbSize = offsetof(NOTIFYICONDATAW, guidItem);
  w.hWnd = r.hWnd;
  w.uID = r.uID;
  w.uFlags = r.uFlags;
  w.uTimeout = r.uTimeout;
  w.dwInfoFlags = r.dwInfoFlags;
  CopyWide(w.szInfoTitle, title);
  CopyWide(w.szInfo, text);
  return w;
}

bool NeedsWideNotice(UINT ansiCodePage) { return ansiCodePage != 936; }

Win32Tray::Win32Tray(ui::Win32Backend& backend, HINSTANCE instance, TrayCalls calls)
    : backend_(backend), instance_(instance), calls_(std::move(calls)) {
  LoadIconFor(calls_.taskbarScale());
  // The notification area is drawn at the DPI of the taskbar's monitor, not
  // the main window's: a scale changed in Settings, the taskbar moved to
  // another monitor, a monitor docked, and the size it wants changes.
  backend_.AddMessageRoute(ui::kDisplayChangedMessage, [this](ui::Window&, WPARAM, LPARAM) {
    if (!LoadIconFor(calls_.taskbarScale()) || !keeper_.IconShown()) return;  // the next add takes it
    NOTIFYICONDATAW data = IconData();
    data.uFlags = NIF_ICON;
    data.hIcon = icon_.Get();
    calls_.notifyIcon(NIM_MODIFY, &data);
  });
  backend_.AddMessageRoute(ui::kTrayCallbackMessage,
                           [this](ui::Window& owner, WPARAM, LPARAM lParam) {
                             OnCallback(owner, lParam);
                           });
  // Sent to every top-level window when the shell (re)starts: the icon is
  // gone with the old shell and must be added again. Until the shell takes
  // it, the retry timer asks again.
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  backend_.AddMessageRoute(taskbarCreated_, [this](ui::Window&, WPARAM, LPARAM) {
    LoadIconFor(calls_.taskbarScale());  // the new taskbar may be on another monitor
    keeper_.ShellRestarted();
  });
  backend_.AddMessageRoute(WM_TIMER, [this](ui::Window&, WPARAM id, LPARAM) {
    if (id == ui::kTrayRetryTimer) keeper_.Retry();
  });
}

Win32Tray::~Win32Tray() { RemoveIcon(); }

bool Win32Tray::LoadIconFor(ui::Scale scale) {
  const int size = ui::MetricFor(SM_CXSMICON, scale);
  if (icon_ && size == iconSize_) return false;
  if (ui::UniqueIcon icon = LoadTrayIcon(instance_, size)) {
    icon_ = std::move(icon);  // the shell keeps its own copy of the one it had
    iconSize_ = size;
    return true;
  }
  return false;
}

ui::Scale TaskbarScale() {
  // The primary taskbar's monitor; with no taskbar (another shell, or none
  // yet), the primary monitor, where it would be.
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  return ui::MonitorScale(taskbar ? MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY)
                                  : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

ui::UniqueIcon LoadTrayIcon(HINSTANCE instance, int size) {
  // Drawn for 16, 20, 24, 32 and 48 pixels; a size between (175 %, 28) is
  // made from the next larger image scaled down, where LoadImage would
  // stretch the nearest smaller one up, blurred.
  using ScaleDown = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
  static const auto scaleDown = reinterpret_cast<ScaleDown>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "LoadIconWithScaleDown")));
  HICON icon = nullptr;
  if (!scaleDown || FAILED(scaleDown(instance, MAKEINTRESOURCEW(kAppIconResource), size, size, &icon))) {
    icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIconResource), IMAGE_ICON,
                                         size, size, 0));
  }
  return ui::UniqueIcon(icon);
}

void Win32Tray::AddIcon(ui::Window& owner, std::string_view tip) {
  record_ = NOTIFYICONDATAA{};
  record_.cbSize = kBalloonRecordSize;
  record_.hWnd = backend_.Handle(owner);
  record_.uID = kTrayIconId;
  tip_ = ui::Widen(tip);
  // Run as administrator, the window would never hear of a restarted shell:
  // privilege isolation drops registered messages from the unelevated
  // Explorer unless the receiving window lets that one message through.
  if (record_.hWnd && taskbarCreated_ != 0) {
    ChangeWindowMessageFilterEx(record_.hWnd, taskbarCreated_, MSGFLT_ALLOW, nullptr);
  }
  if (record_.hWnd) keeper_.Add();
}

NOTIFYICONDATAW Win32Tray::IconData() const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = record_.hWnd;
  data.uID = kTrayIconId;
  return data;
}

NOTIFYICONDATAW Win32Tray::FullIconData() const {
  NOTIFYICONDATAW data = IconData();
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = ui::kTrayCallbackMessage;
  data.hIcon = icon_.Get();
  wcsncpy(data.szTip, tip_.c_str(), ARRAYSIZE(data.szTip) - 1);
  return data;
}

bool Win32Tray::AddShellIcon() {
  NOTIFYICONDATAW data = FullIconData();
  return calls_.notifyIcon(NIM_ADD, &data) != FALSE;
}

bool Win32Tray::ModifyShellIcon() {
  NOTIFYICONDATAW data = FullIconData();
  return calls_.notifyIcon(NIM_MODIFY, &data) != FALSE;
}

void Win32Tray::RunRetryTimer(bool on) {
  if (on) {
    SetTimer(record_.hWnd, ui::kTrayRetryTimer, kIconRetryMs, nullptr);
  } else {
    KillTimer(record_.hWnd, ui::kTrayRetryTimer);
  }
}

void Win32Tray::Notify(std::string_view title, std::string_view text, int iconKind) {
  keeper_.Notify(TrayNotice{std::string(title), std::string(text), iconKind});
}

void Win32Tray::ShowNotice(const TrayNotice& notice) {
  FillBalloon(record_, notice.title, notice.text, notice.iconKind);
  if (NeedsWideNotice(GetACP())) {
    NOTIFYICONDATAW wide = WideNotice(record_, notice.title, notice.text);
    calls_.notifyIcon(NIM_MODIFY, &wide);
  } else {
    Shell_NotifyIconA(NIM_MODIFY, &record_);
  }
}

void Win32Tray::RemoveIcon() {
  if (!record_.hWnd) return;
  keeper_.Remove();  // stops the retry timer, on the window still named here
  NOTIFYICONDATAW data = IconData();
  calls_.notifyIcon(NIM_DELETE, &data);
  record_.hWnd = nullptr;
}

void Win32Tray::OnCallback(ui::Window& owner, LPARAM lParam) {
  if (!desktop_) return;
  int action = 0;
  if (LOWORD(lParam) == WM_LBUTTONUP) action = kTrayRestore;
  if (LOWORD(lParam) == WM_RBUTTONUP) action = kTrayMenu;
  if (action) desktop_->Deliver(ui::Event{&owner, ui::kNoControl, ui::EventKind::kTray, action});
}

}  // namespace shell
