// Win32Platform; see platform_win.h.
#include "app/platform_win.h"

#include <tlhelp32.h>
#include <wininet.h>


#include "ui/backend_win.h"
#include "ui/text_win.h"

namespace app {

namespace {

constexpr int kAppIconResource = 1;
constexpr int kTrayIconSize = 24;  // the icon's own size; the shell scales it

}  // namespace

Win32Platform::Win32Platform(ui::Win32Backend& backend, HINSTANCE instance) : backend_(backend) {
  trayIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIconResource),
                                            IMAGE_ICON, kTrayIconSize, kTrayIconSize, 0));
  backend_.SetTaskbarCreatedHandler([this] { tray_.AddAgain(); });
}

Win32Platform::~Win32Platform() {
  backend_.SetTaskbarCreatedHandler(nullptr);
  if (trayIcon_) DestroyIcon(trayIcon_);
}

task::LocalTime Win32Platform::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

TrayIdentity Win32Platform::AddTrayIcon(ui::Window& owner, std::string_view tip) {
  return tray_.Add(backend_.Handle(owner), trayIcon_, tip);
}

void Win32Platform::NotifyTray(const TrayRecord& record, std::string_view title,
                               std::string_view text) {
  tray_.Notify(record, title, text);
}

void Win32Platform::RemoveTrayIcon() { tray_.Remove(); }

std::string Win32Platform::ToGbk(std::string_view utf8) { return ui::ToCodePage(utf8, 936); }

std::vector<std::string> Win32Platform::RunningExecutables() {
  std::vector<std::string> names;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return names;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    names.push_back(ui::Narrow(entry.szExeFile));
  }
  CloseHandle(snapshot);
  return names;
}

std::string Win32Platform::OwnExecutable() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);  // long paths: try again with room
  }
  size_t slash = path.find_last_of(L"\\/");
  return ui::Narrow(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

bool Win32Platform::ProbeNetwork() {
  DWORD flags = 0;
  return InternetGetConnectedState(&flags, 0) != FALSE;
}

void Win32Platform::EndProcess(int exitCode) {
  // At once: no window is closed and no destructor runs, but the records
  // registered for the end are still released. (The C runtime's exit() would
  // also run static destructors and can stall in DLL detach under GDI+.)
  if (atEnd_) atEnd_();
  ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace app
