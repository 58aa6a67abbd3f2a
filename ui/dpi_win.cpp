// See dpi_win.h.
#include "ui/dpi_win.h"


namespace ui {
namespace {

template <typename Function>
Function Lookup(const wchar_t* module, const char* name) {
  HMODULE loaded = GetModuleHandleW(module);
  return loaded ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name)))
                : nullptr;
}

using DpiForWindow = UINT(WINAPI*)(HWND);
using DpiForSystem = UINT(WINAPI*)();
using MetricForDpi = int(WINAPI*)(int, UINT);
using ThemeForDpi = HTHEME(WINAPI*)(HWND, LPCWSTR, UINT);

int ScreenDcDpi() {
  HDC screen = GetDC(nullptr);
  if (!screen) return Scale::kBaseDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

Scale SystemScale() {
  // Fixed for the life of the process: asked once.
  static const Scale system = [] {
    const auto forSystem = Lookup<DpiForSystem>(L"user32.dll", "GetDpiForSystem");
    return Scale(forSystem ? static_cast<int>(forSystem()) : ScreenDcDpi());
  }();
  return system;
}

Scale WindowScale(HWND hwnd) {
  static const auto forWindow = Lookup<DpiForWindow>(L"user32.dll", "GetDpiForWindow");
  if (forWindow && hwnd) {
    if (UINT dpi = forWindow(hwnd)) return Scale(static_cast<int>(dpi));
  }
  return SystemScale();
}

int MetricFor(int index, Scale scale) {
  static const auto forDpi = Lookup<MetricForDpi>(L"user32.dll", "GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, static_cast<UINT>(scale.Dpi()));
  // The system's metric is for the system DPI: brought to the one asked for.
  const Scale system = SystemScale();
  return scale.ToDevice(system.ToModel(GetSystemMetrics(index)));
}

HTHEME OpenThemeFor(const wchar_t* classes, Scale scale) {
  if (!IsAppThemed()) return nullptr;  // also loads the theme library
  static const auto forDpi = Lookup<ThemeForDpi>(L"uxtheme.dll", "OpenThemeDataForDpi");
  if (forDpi) return forDpi(nullptr, classes, static_cast<UINT>(scale.Dpi()));
  return OpenThemeData(nullptr, classes);
}

}  // namespace ui
