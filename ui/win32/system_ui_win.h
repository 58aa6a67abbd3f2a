// The system's own pop-ups and look, which the program asks for but does not
// draw: the pop-up menu at the mouse, the message box, and which parts of
// the program the visual style themes; and the rights the system gave it. UTF-8 in, the W APIs underneath.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <optional>
#include <string_view>
#include <vector>

namespace ui {

// Shows the items as a pop-up menu at the mouse position, owned by `owner`,
// and waits for the choice: the chosen index, or -1 when none was chosen.
int TrackMenuAtCursor(HWND owner, const std::vector<std::string_view>& items);

// MessageBoxW with the program's UTF-8 text; `owner` may be null.
int ShowMessageBoxFor(HWND owner, std::string_view text, int flags, std::string_view title);

// 1: themed controls and frames; 2 also lets embedded web content theme.
void ApplyThemeProperties(int code);

// Whether the process runs with an administrator's full token; nullopt when
// its token cannot be read. Each caller decides what an unknown answer means.
std::optional<bool> RunsElevated();

}  // namespace ui
