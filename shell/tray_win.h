// The notification-area icon on Windows. Win32Tray owns the shell's balloon
// record (NOTIFYICONDATAA with its tip, text and title buffers), the icon,
// the callback message that turns mouse actions into the owner's tray
// events, and the shell calls and retry timer through which an IconKeeper
// keeps the icon there (again after the shell restarts, and after an add
// the shell did not take).
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "shell/icon_keeper.h"
#include "shell/tray.h"
#include "ui/model/scale.h"
#include "ui/win_base/scoped_win.h"

namespace ui {
class Desktop;
class Win32Backend;
}  // namespace ui

namespace shell {

// The layout with the balloon fields and without the GUID and balloon-icon
// fields: 488 bytes in a 32-bit program, 504 in a 64-bit one. A 64-bit shell
// accepts a record claiming 488 bytes and silently shows nothing.
inline constexpr DWORD kBalloonRecordSize = offsetof(NOTIFYICONDATAA, guidItem);
#ifdef _WIN64
static_assert(kBalloonRecordSize == 504, "64-bit balloon record layout");
#else
static_assert(kBalloonRecordSize == 488, "32-bit balloon record layout");
#endif

inline constexpr UINT kTrayIconId = 1;
inline constexpr DWORD kBalloonInfoFlag = NIF_INFO;  // 0x10

// Fills the record's balloon fields: flags, title and text in GBK (code page
// 936), each cut at a character boundary to fit its buffer and followed by
// NULs to the buffer's end, and the icon kind. Tip, icon and callback fields
// are left as they are.
void FillBalloon(NOTIFYICONDATAA& record, std::string_view title, std::string_view text,
                 int iconKind);
// The same notice for Shell_NotifyIconW, for systems whose ANSI code page is
// not GBK: Shell_NotifyIconA reads its strings in the ANSI code page, so the
// GBK bytes would show as garbage there. Cut to fit on character boundaries.
NOTIFYICONDATAW WideNotice(const NOTIFYICONDATAA& record, std::string_view title,
                           std::string_view text);
bool NeedsWideNotice(UINT ansiCodePage);

// The DPI of the monitor the taskbar, and with it the notification area, is on.
ui::Scale TaskbarScale();
// The program's icon at `size` pixels square, scaled down from a larger image
// of the icon file where it has none of that size; null when it cannot load.
ui::UniqueIcon LoadTrayIcon(HINSTANCE instance, int size);

// Where the tray asks the system: the taskbar monitor's scale and the
// shell's icon calls. A test puts its own in, to play a taskbar whose scale
// changes and a shell that records what it is given.
struct TrayCalls {
  std::function<ui::Scale()> taskbarScale = &TaskbarScale;
  std::function<BOOL(DWORD, NOTIFYICONDATAW*)> notifyIcon = &Shell_NotifyIconW;
};

class Win32Tray final : public Tray, private IconShell {
 public:
  Win32Tray(ui::Win32Backend& backend, HINSTANCE instance, TrayCalls calls = {});
  ~Win32Tray() override;
  Win32Tray(const Win32Tray&) = delete;
  Win32Tray& operator=(const Win32Tray&) = delete;

  // Tray events are delivered to this desktop.
  void Attach(ui::Desktop& desktop) { desktop_ = &desktop; }

  void AddIcon(ui::Window& owner, std::string_view tip) override;
  void Notify(std::string_view title, std::string_view text, int iconKind) override;
  void RemoveIcon() override;

  bool IconAdded() const { return keeper_.IconShown(); }
  // The program's balloon record as the last notice left it.
  const NOTIFYICONDATAA& Record() const { return record_; }

 private:
  // The icon's identity for the wide calls.
  NOTIFYICONDATAW IconData() const;
  // With its image, tip and callback, for an add or a modify.
  NOTIFYICONDATAW FullIconData() const;
  bool AddShellIcon() override;
  bool ModifyShellIcon() override;
  void ShowNotice(const TrayNotice& notice) override;
  void RunRetryTimer(bool on) override;
  void OnCallback(ui::Window& owner, LPARAM lParam);
  // The icon file's image for the small-icon size at the scale; true when
  // it is a new size.
  bool LoadIconFor(ui::Scale scale);

  ui::Win32Backend& backend_;
  HINSTANCE instance_;
  TrayCalls calls_;
  ui::Desktop* desktop_ = nullptr;
  ui::UniqueIcon icon_;
  int iconSize_ = 0;
  NOTIFYICONDATAA record_{};
  std::wstring tip_;
  UINT taskbarCreated_ = 0;
  IconKeeper keeper_{*this};
};

}  // namespace shell
