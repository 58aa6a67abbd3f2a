// Every private message the program's windows use, named in one place so no
// two share an id. They come from the application range, WM_APP to 0xBFFF:
// WM_USER and up belongs to each window class (the edit control's own
// messages live there), and registered messages come from the system.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace ui {

// Posted to a window by itself on WM_SHOWWINDOW: the message comes before
// the change takes effect, so visibility is read back once it has.
inline constexpr UINT kVisibilityCheckMessage = WM_APP;

// The notification-area icon's callback message, which the tray registers
// with the shell and routes to MainWindow (Win32Backend::AddMessageRoute).
inline constexpr UINT kNotifyIconMessage = WM_APP + 1;

}  // namespace ui
