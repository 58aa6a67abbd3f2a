// The monitor's DPI as the platform reports it, on every Windows the program
// runs on. The per-monitor calls came with Windows 10 (1607, and 1703 for the
// theme's); they are looked up at run time, and before them every window has
// the system's DPI, which the screen's DC gives.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <uxtheme.h>

#include "ui/scale.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace ui {

// The DPI the system draws at: the primary monitor's when the program
// started, which it stays for the program's life.
Scale SystemScale();
// The window's: its monitor's under per-monitor awareness.
Scale WindowScale(HWND hwnd);
// A system metric (SM_CXSMICON, ...) for the scale.
int MetricFor(int index, Scale scale);
// The theme of `classes` with its parts sized for the scale; without the
// call for it, the system DPI's. Null when no visual style is in force.
HTHEME OpenThemeFor(const wchar_t* classes, Scale scale);

}  // namespace ui
