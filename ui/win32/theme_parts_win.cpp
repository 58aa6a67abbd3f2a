// ThemeParts: the theme's parts when a visual style is in force, the classic
// frame controls otherwise. See theme_parts_win.h.
#include "ui/win32/theme_parts_win.h"

#include <vssym32.h>

#include "ui/win32/dpi_win.h"

namespace ui {
namespace {

int RadioState(PartState state, bool checked) {
  int unchecked = RBS_UNCHECKEDNORMAL;
  switch (state) {
    case PartState::kNormal: unchecked = RBS_UNCHECKEDNORMAL; break;
    case PartState::kHot: unchecked = RBS_UNCHECKEDHOT; break;
    case PartState::kPressed: unchecked = RBS_UNCHECKEDPRESSED; break;
    case PartState::kDisabled: unchecked = RBS_UNCHECKEDDISABLED; break;
  }
  // The checked states follow the unchecked ones in the same order.
  return checked ? unchecked + (RBS_CHECKEDNORMAL - RBS_UNCHECKEDNORMAL) : unchecked;
}

// UPS_* and DNS_* share their values: normal, hot, pressed, disabled.
int ArrowState(PartState state) {
  switch (state) {
    case PartState::kHot: return UPS_HOT;
    case PartState::kPressed: return UPS_PRESSED;
    case PartState::kDisabled: return UPS_DISABLED;
    case PartState::kNormal: break;
  }
  return UPS_NORMAL;
}

UINT ClassicState(PartState state) {
  switch (state) {
    case PartState::kHot: return DFCS_HOT;
    case PartState::kPressed: return DFCS_PUSHED;
    case PartState::kDisabled: return DFCS_INACTIVE;
    case PartState::kNormal: break;
  }
  return 0;
}

}  // namespace

HTHEME ThemeParts::Theme(UniqueTheme& theme, bool& tried, const wchar_t* classes, Scale scale) {
  if (!tried) {
    tried = true;
    // No window: the parts are drawn on the program's own surfaces, and the
    // class's theme is the same for every window of the process at one DPI.
    theme.Reset(OpenThemeFor(classes, scale));
  }
  return theme.Get();
}

void ThemeParts::Reset() { byDpi_.clear(); }

void ThemeParts::Draw(HDC dc, Part part, PartState state, bool checked, const RECT& r,
                      Scale scale) {
  RECT box = r;
  Themes& themes = byDpi_[scale.Dpi()];
  if (part == Part::kRadio) {
    if (HTHEME theme = Theme(themes.button, themes.buttonTried, L"BUTTON", scale)) {
      DrawThemeBackground(theme, dc, BP_RADIOBUTTON, RadioState(state, checked), &box, nullptr);
      return;
    }
    UINT flags = DFCS_BUTTONRADIO | ClassicState(state) | (checked ? DFCS_CHECKED : 0);
    DrawFrameControl(dc, &box, DFC_BUTTON, flags);
    return;
  }
  const bool up = part == Part::kSpinUp;
  if (HTHEME theme = Theme(themes.spin, themes.spinTried, L"SPIN", scale)) {
    DrawThemeBackground(theme, dc, up ? SPNP_UP : SPNP_DOWN, ArrowState(state), &box, nullptr);
    return;
  }
  UINT flags = (up ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) | ClassicState(state);
  DrawFrameControl(dc, &box, DFC_SCROLL, flags);
}

}  // namespace ui
