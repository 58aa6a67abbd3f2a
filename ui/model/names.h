// Names of windows and controls as the forms declare them. Each form has a
// names header with one constant per control; the form table and every
// handler use those constants, so a misspelt or removed name is a compile
// error instead of a call that silently does nothing. A name the model does
// not know is a programming error: test builds stop on it (see
// SetStrictNames).
#pragma once

#include <string_view>

namespace ui {

struct ControlName {
  std::string_view text;
  constexpr operator std::string_view() const { return text; }
};

struct WindowName {
  std::string_view text;
  constexpr operator std::string_view() const { return text; }
};

// A menu item, named by its caption.
struct MenuItemName {
  std::string_view text;
  constexpr operator std::string_view() const { return text; }
};

// Whether looking up an unknown name aborts (debug and test builds) or is
// ignored (the shipped program, where a stray name must not end the user's
// session).
void SetStrictNames(bool strict);
void ReportUnknownName(std::string_view window, std::string_view name);

}  // namespace ui
