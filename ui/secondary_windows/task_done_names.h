// Names of TaskDoneWindow and its controls, in the order of the form.
#pragma once

#include "ui/model/names.h"

namespace ui::task_done {

inline constexpr WindowName TaskDoneWindow{"TaskDoneWindow"};

inline constexpr ControlName 透明标签3{"透明标签3"};
inline constexpr ControlName 透明标签2{"透明标签2"};
inline constexpr ControlName 透明标签1{"透明标签1"};
inline constexpr ControlName 图片框2{"图片框2"};
inline constexpr ControlName 图片框1{"图片框1"};
inline constexpr ControlName 透明标签4{"透明标签4"};
inline constexpr ControlName 透明标签6{"透明标签6"};
inline constexpr ControlName 图形按钮1{"图形按钮1"};
inline constexpr ControlName 时钟1{"时钟1"};

}  // namespace ui::task_done
