// The pop-up menu, the message box and the theming switch; see system_ui_win.h.
#include "ui/win32/system_ui_win.h"

#include <uxtheme.h>

#include "ui/win_base/scoped_win.h"
#include "ui/win_base/text_win.h"

namespace ui {

int TrackMenuAtCursor(HWND owner, const std::vector<std::string_view>& items) {
  if (!owner) return -1;
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return -1;
  // Command ids start at 1: TrackPopupMenu returns 0 for "nothing chosen".
  for (size_t i = 0; i < items.size(); ++i) {
    AppendMenuW(menu.Get(), MF_STRING, i + 1, Widen(items[i]).c_str());
  }
  POINT at;
  GetCursorPos(&at);
  // A tray menu only closes on an outside click when its owner is in the
  // foreground, and the posted message lets the menu loop finish cleanly.
  SetForegroundWindow(owner);
  UINT_PTR chosen = TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                   at.x, at.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
  return chosen == 0 ? -1 : static_cast<int>(chosen) - 1;
}

int ShowMessageBoxFor(HWND owner, std::string_view text, int flags, std::string_view title) {
  return MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), static_cast<UINT>(flags));
}

void ApplyThemeProperties(int code) {
  DWORD flags = STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS;
  if (code == 2) flags |= STAP_ALLOW_WEBCONTENT;
  SetThemeAppProperties(flags);
}

std::optional<bool> RunsElevated() {
  UniqueKernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Out())) return std::nullopt;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size)) {
    return std::nullopt;
  }
  return elevation.TokenIsElevated != 0;
}

}  // namespace ui
