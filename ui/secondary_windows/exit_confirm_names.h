// Names of ExitConfirmWindow and its controls, in the order of the form.
#pragma once

#include "ui/model/names.h"

namespace ui::exit_confirm {

inline constexpr WindowName ExitConfirmWindow{"ExitConfirmWindow"};

inline constexpr ControlName 按钮2{"按钮2"};
inline constexpr ControlName 按钮1{"按钮1"};
inline constexpr ControlName 图形按钮1{"图形按钮1"};
inline constexpr ControlName 图片框1{"图片框1"};
inline constexpr ControlName 透明标签4{"透明标签4"};
inline constexpr ControlName 透明标签3{"透明标签3"};
inline constexpr ControlName 图形按钮3{"图形按钮3"};
inline constexpr ControlName 透明标签6{"透明标签6"};
inline constexpr ControlName 图形按钮2{"图形按钮2"};
inline constexpr ControlName 透明标签1{"透明标签1"};

}  // namespace ui::exit_confirm
