// TrayIcon and the shell records; see tray_win.h.
#include "shell/tray_win.h"

#include <cstring>

#include "ui/text_win.h"

namespace shell {

namespace {

// Copies UTF-16 text with its NUL, cut at a character boundary to fit.
template <size_t N>
void CopyWide(WCHAR (&buffer)[N], std::string_view utf8) {
  std::wstring text = ui::Widen(utf8);
  size_t n = std::min(text.size(), N - 1);
  if (n > 0 && n < text.size() && IS_HIGH_SURROGATE(text[n - 1])) --n;
  std::memset(buffer, 0, sizeof buffer);
  std::memcpy(buffer, text.data(), n * sizeof(WCHAR));
}

NOTIFYICONDATAW IconRecord(HWND owner, HICON icon, const std::wstring& tip) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = kTrayIconId;
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon;
  wcsncpy(data.szTip, tip.c_str(), ARRAYSIZE(data.szTip) - 1);
  return data;
}

}  // namespace

NOTIFYICONDATAA ToShellRecord(const app::TrayRecord& r) {
  NOTIFYICONDATAA a{};
  a.cbSize = r.cbSize;
  a.hWnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(r.hWnd));
  a.uID = r.uID;
  a.uFlags = r.uFlags;
  a.uCallbackMessage = r.uCallbackMessage;
  a.hIcon = reinterpret_cast<HICON>(static_cast<UINT_PTR>(r.hIcon));
  static_assert(sizeof a.szTip == sizeof r.szTip && sizeof a.szInfo == sizeof r.szInfo &&
                sizeof a.szInfoTitle == sizeof r.szInfoTitle);
  std::memcpy(a.szTip, r.szTip, sizeof a.szTip);
  a.dwState = r.dwState;
  a.dwStateMask = r.dwStateMask;
  std::memcpy(a.szInfo, r.szInfo, sizeof a.szInfo);
  a.uTimeout = r.uTimeout;
  std::memcpy(a.szInfoTitle, r.szInfoTitle, sizeof a.szInfoTitle);
  a.dwInfoFlags = r.dwInfoFlags;
  return a;
}

NOTIFYICONDATAW ToWideNotice(const app::TrayRecord& r, std::string_view title,
                             std::string_view text) {
  NOTIFYICONDATAW w{};
  w.cbSize = offsetof(NOTIFYICONDATAW, guidItem);
  w.hWnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(r.hWnd));
  w.uID = r.uID;
  w.uFlags = r.uFlags;
  w.uTimeout = r.uTimeout;
  w.dwInfoFlags = r.dwInfoFlags;
  CopyWide(w.szInfoTitle, title);
  CopyWide(w.szInfo, text);
  return w;
}

bool NeedsWideNotice(UINT ansiCodePage) { return ansiCodePage != 936; }

app::TrayIdentity TrayIcon::Add(HWND owner, HICON icon, std::string_view tip) {
  owner_ = owner;
  icon_ = icon;
  tip_ = ui::Widen(tip);
  AddAgain();
  return {kBalloonRecordSize, reinterpret_cast<UINT_PTR>(owner), kTrayIconId};
}

void TrayIcon::AddAgain() {
  if (!owner_) return;
  NOTIFYICONDATAW data = IconRecord(owner_, icon_, tip_);
  added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void TrayIcon::Notify(const app::TrayRecord& record, std::string_view title,
                      std::string_view text) {
  if (NeedsWideNotice(GetACP())) {
    NOTIFYICONDATAW wide = ToWideNotice(record, title, text);
    Shell_NotifyIconW(NIM_MODIFY, &wide);
  } else {
    NOTIFYICONDATAA shellRecord = ToShellRecord(record);
    Shell_NotifyIconA(NIM_MODIFY, &shellRecord);
  }
}

void TrayIcon::Remove() {
  if (!owner_) return;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner_;
  data.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &data);
  added_ = false;
  owner_ = nullptr;
}

}  // namespace shell
