// Names of VersionWindow and its controls, in the order of the form.
#pragma once

#include "ui/model/names.h"

namespace ui::version {

inline constexpr WindowName VersionWindow{"VersionWindow"};

inline constexpr ControlName 图片框9{"图片框9"};
inline constexpr ControlName 图片框8{"图片框8"};
inline constexpr ControlName 图片框7{"图片框7"};
inline constexpr ControlName 图片框6{"图片框6"};
inline constexpr ControlName 图片框10{"图片框10"};
inline constexpr ControlName 图片框2{"图片框2"};
inline constexpr ControlName 超文本浏览框1{"超文本浏览框1"};
inline constexpr ControlName 图片框3{"图片框3"};
inline constexpr ControlName 透明标签8{"透明标签8"};
inline constexpr ControlName 透明标签7{"透明标签7"};
inline constexpr ControlName 透明标签5{"透明标签5"};
inline constexpr ControlName 时钟1{"时钟1"};
inline constexpr ControlName 透明标签3{"透明标签3"};
inline constexpr ControlName 透明标签2{"透明标签2"};
inline constexpr ControlName 透明标签1{"透明标签1"};
inline constexpr ControlName 按钮1{"按钮1"};
inline constexpr ControlName 图片框4{"图片框4"};
inline constexpr ControlName 图片框5{"图片框5"};
inline constexpr ControlName 图片框1{"图片框1"};
inline constexpr ControlName 透明标签6{"透明标签6"};
inline constexpr ControlName 图形按钮2{"图形按钮2"};
inline constexpr ControlName 透明标签4{"透明标签4"};

}  // namespace ui::version
