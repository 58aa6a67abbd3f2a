// See dpi_win.h.
#include "ui/win32/dpi_win.h"

namespace ui {
namespace {

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

using MetricForDpi = int(WINAPI*)(int, UINT);
using ThemeForDpi = HTHEME(WINAPI*)(HWND, LPCWSTR, UINT);

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

int ScreenDcDpi() {
  HDC screen = GetDC(nullptr);
  if (!screen) return Scale::kBaseDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

const DpiCalls& DpiCalls::Platform() {
  static const DpiCalls calls = [] {
    DpiCalls c;
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    c.forWindow = Lookup<decltype(c.forWindow)>(user, "GetDpiForWindow");
    c.forSystem = Lookup<decltype(c.forSystem)>(user, "GetDpiForSystem");
    // From the system directory only (Windows 8.1 on), and kept loaded.
    const HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    c.forMonitor = Lookup<decltype(c.forMonitor)>(shcore, "GetDpiForMonitor");
    return c;
  }();
  return calls;
}

Scale SystemScale(const DpiCalls& calls) {
  return Scale(calls.forSystem ? static_cast<int>(calls.forSystem()) : ScreenDcDpi());
}

Scale MonitorScale(HMONITOR monitor, const DpiCalls& calls) {
  UINT x = 0, y = 0;
  if (monitor && calls.forMonitor && SUCCEEDED(calls.forMonitor(monitor, kEffectiveDpi, &x, &y)) &&
      x != 0) {
    return Scale(static_cast<int>(x));
  }
  return SystemScale(calls);
}

Scale PrimaryScale() { return MonitorScale(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)); }

Scale WindowScale(HWND hwnd, const DpiCalls& calls) {
  if (calls.forWindow && hwnd) {
    if (UINT dpi = calls.forWindow(hwnd)) return Scale(static_cast<int>(dpi));
  }
  // Per-monitor v1 (Windows 8.1, 10 before 1607): the window is drawn at its
  // monitor's DPI, which the system DPI is not on a second monitor.
  if (hwnd) return MonitorScale(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), calls);
  return SystemScale(calls);
}

int MetricFor(int index, Scale scale) {
  static const auto forDpi =
      Lookup<MetricForDpi>(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, static_cast<UINT>(scale.Dpi()));
  // The system's metric is for the system DPI: brought to the one asked for.
  const Scale system = SystemScale();
  return scale.ToDevice(system.ToModel(GetSystemMetrics(index)));
}

HTHEME OpenThemeFor(const wchar_t* classes, Scale scale) {
  if (!IsAppThemed()) return nullptr;  // also loads the theme library
  static const auto forDpi = Lookup<ThemeForDpi>(GetModuleHandleW(L"uxtheme.dll"), "OpenThemeDataForDpi");
  if (forDpi) return forDpi(nullptr, classes, static_cast<UINT>(scale.Dpi()));
  return OpenThemeData(nullptr, classes);
}

}  // namespace ui
