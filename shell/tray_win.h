// The notification-area icon on Windows: adding it with its tip, handing the
// balloon record to the shell, adding it again when the shell restarts, and
// removing it. The record handed to Shell_NotifyIconA is the shell's own
// NOTIFYICONDATAA in its balloon layout, built field by field from the
// program's record.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "app/globals.h"
#include "app/platform.h"

namespace shell {

inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
inline constexpr UINT kTrayIconId = 1;

// The layout with the balloon fields and without the GUID and balloon-icon
// fields: 488 bytes in a 32-bit program, 504 in a 64-bit one. A 64-bit shell
// accepts a record claiming 488 bytes and silently shows nothing.
inline constexpr DWORD kBalloonRecordSize = offsetof(NOTIFYICONDATAA, guidItem);
#ifdef _WIN64
static_assert(kBalloonRecordSize == 504, "64-bit balloon record layout");
#else
static_assert(kBalloonRecordSize == 488, "32-bit balloon record layout");
#endif

// The shell's record from the program's, byte for byte.
NOTIFYICONDATAA ToShellRecord(const app::TrayRecord& record);
// The same notice for Shell_NotifyIconW, for systems whose ANSI code page is
// not GBK: Shell_NotifyIconA reads its strings in the ANSI code page, so the
// GBK bytes would show as garbage there. Cut to fit like the A record.
NOTIFYICONDATAW ToWideNotice(const app::TrayRecord& record, std::string_view title,
                             std::string_view text);
bool NeedsWideNotice(UINT ansiCodePage);

class TrayIcon {
 public:
  TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  app::TrayIdentity Add(HWND owner, HICON icon, std::string_view tip);
  // After the shell restarts ("TaskbarCreated") the icon is gone: add it again.
  void AddAgain();
  void Notify(const app::TrayRecord& record, std::string_view title, std::string_view text);
  void Remove();

 private:
  HWND owner_ = nullptr;
  HICON icon_ = nullptr;
  std::wstring tip_;
  bool added_ = false;
};

}  // namespace shell
