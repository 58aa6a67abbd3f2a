// The monitor's DPI as the platform reports it, on every Windows the program
// runs on. The per-monitor calls came with Windows 8.1 (GetDpiForMonitor,
// for the per-monitor v1 awareness the manifest asks for there) and Windows
// 10 (GetDpiForWindow 1607, the theme's 1703); they are looked up at run
// time, and before them every window has the system's DPI, which the
// screen's DC gives. Nothing here keeps a DPI: a scale changed in Settings
// or a monitor docked is seen at the next question.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <uxtheme.h>

#include "ui/model/scale.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace ui {

// The platform's DPI questions, each null where the system lacks it.
struct DpiCalls {
  UINT(WINAPI* forWindow)(HWND) = nullptr;                          // GetDpiForWindow
  HRESULT(WINAPI* forMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;  // GetDpiForMonitor
  UINT(WINAPI* forSystem)() = nullptr;                               // GetDpiForSystem
  // The system's own, looked up once.
  static const DpiCalls& Platform();
};

// The DPI the system draws at, asked anew each time (the GetDpiForSystem
// page: never cache it).
Scale SystemScale(const DpiCalls& calls = DpiCalls::Platform());
// The monitor's effective DPI; the system's where that cannot be asked.
Scale MonitorScale(HMONITOR monitor, const DpiCalls& calls = DpiCalls::Platform());
// The primary monitor's, which a window opens on and the screen size is in.
Scale PrimaryScale();
// The window's: its own under per-monitor v2, else its monitor's (v1).
Scale WindowScale(HWND hwnd, const DpiCalls& calls = DpiCalls::Platform());
// A system metric (SM_CXSMICON, ...) for the scale.
int MetricFor(int index, Scale scale);
// The theme of `classes` with its parts sized for the scale; without the
// call for it, the system DPI's. Null when no visual style is in force.
HTHEME OpenThemeFor(const wchar_t* classes, Scale scale);

}  // namespace ui
