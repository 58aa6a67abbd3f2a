// The platform's own control parts, drawn on a DC the way the system draws
// its own controls: the radio button's indicator and the spin control's two
// arrows. With a visual style in force they come from the theme's BUTTON and
// SPIN classes; without one (the classic look, and the high-contrast look of
// older systems) from the classic frame controls, which take the system
// colours. Either way they follow the user's settings, not the program's.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <map>

#include "ui/model/painter.h"
#include "ui/model/scale.h"
#include "ui/win_base/scoped_win.h"

namespace ui {

class ThemeParts {
 public:
  ThemeParts() = default;
  ThemeParts(const ThemeParts&) = delete;
  ThemeParts& operator=(const ThemeParts&) = delete;

  // Draws `part` filling `r` (device pixels of `dc`), within the DC's clip,
  // as the system draws it at the scale.
  void Draw(HDC dc, Part part, PartState state, bool checked, const RECT& r, Scale scale);
  // Forgets the theme handles: the visual style changed (WM_THEMECHANGED)
  // and the next drawing opens the new one.
  void Reset();

 private:
  using UniqueTheme = UniqueHandle<NullableHandleTraits<HTHEME, &CloseThemeData>>;
  // A theme's parts are sized for one DPI: each scale in use has its own.
  struct Themes {
    UniqueTheme button;
    UniqueTheme spin;
    bool buttonTried = false;
    bool spinTried = false;
  };
  // The theme of a class, or null when no visual style is in force.
  static HTHEME Theme(UniqueTheme& theme, bool& tried, const wchar_t* classes, Scale scale);

  std::map<int, Themes> byDpi_;
};

}  // namespace ui
