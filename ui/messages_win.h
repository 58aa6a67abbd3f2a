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

}  // namespace ui
