// The program's private window messages, in one place so no two share a
// number.
#pragma once

#include <windows.h>

namespace ui {

// Posted to itself by a window shown or hidden from outside (owner
// minimised, taskbar), to read its visibility once the change has settled.
inline constexpr UINT kSyncVisibilityMessage = WM_APP;
// The tray icon's callback: mouse actions on the icon, in lParam.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
// Posted by an accessibility client's default action: wParam the control,
// lParam the part (a spin's arrow), run from the window's message loop.
inline constexpr UINT kDefaultActionMessage = WM_APP + 2;
// Sent by an edit part to its window: a key went down in it (wParam the
// virtual key, lParam the control and whether Alt was down); nonzero
// when the window took the key.
inline constexpr UINT kEditKeyMessage = WM_APP + 3;
// Sent by an edit part to its window when it took the keyboard focus
// (wParam the control).
inline constexpr UINT kEditFocusMessage = WM_APP + 4;
// Posted to the main window by the power-action worker when the action
// failed (see task/power_win.h for wParam and lParam); routed by the program.
inline constexpr UINT kPowerFailedMessage = WM_APP + 5;
// Posted once to the main window after a display change (resolution,
// monitors, a scale changed in Settings, a window's DPI): every window has
// its new scale by then, and the routes place what depends on the screen.
inline constexpr UINT kDisplayChangedMessage = WM_APP + 6;

// Timers of the main window that the backend does not own reach its routes
// as WM_TIMER. Apart from the backend's own ids (model timers from 0x1000,
// the frame timer at 0x4000): asking the shell again for the tray icon.
inline constexpr UINT_PTR kTrayRetryTimer = 0x5000;

}  // namespace ui
