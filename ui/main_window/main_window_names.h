// Names of MainWindow and its controls, and the items of TrayMenu, in the order of the form.
#pragma once

#include "ui/model/names.h"

namespace ui::main_window {

inline constexpr WindowName MainWindow{"MainWindow"};

inline constexpr ControlName 单选框1{"单选框1"};
inline constexpr ControlName 图形按钮5{"图形按钮5"};
inline constexpr ControlName 选择夹1{"选择夹1"};
inline constexpr ControlName 图片框3{"图片框3"};
inline constexpr ControlName 图片框2{"图片框2"};
inline constexpr ControlName 图片框1{"图片框1"};
inline constexpr ControlName 时钟2{"时钟2"};
inline constexpr ControlName 图形按钮2{"图形按钮2"};
inline constexpr ControlName 透明标签6{"透明标签6"};
inline constexpr ControlName 透明标签3{"透明标签3"};
inline constexpr ControlName 图形按钮6{"图形按钮6"};
inline constexpr ControlName 透明标签4{"透明标签4"};
inline constexpr ControlName 时钟4{"时钟4"};
inline constexpr ControlName 图片框7{"图片框7"};
inline constexpr ControlName 透明标签2{"透明标签2"};
inline constexpr ControlName 透明标签1{"透明标签1"};
inline constexpr ControlName 透明标签10{"透明标签10"};
inline constexpr ControlName 超级按钮2{"超级按钮2"};
inline constexpr ControlName 时钟3{"时钟3"};
inline constexpr ControlName 调节器2{"调节器2"};
inline constexpr ControlName 单选框4{"单选框4"};
inline constexpr ControlName 单选框3{"单选框3"};
inline constexpr ControlName 单选框2{"单选框2"};
inline constexpr ControlName 编辑框3{"编辑框3"};
inline constexpr ControlName 编辑框2{"编辑框2"};
inline constexpr ControlName 标签4{"标签4"};
inline constexpr ControlName 标签3{"标签3"};
inline constexpr ControlName 分组框3{"分组框3"};
inline constexpr ControlName 图形按钮4{"图形按钮4"};
inline constexpr ControlName 时钟1{"时钟1"};
inline constexpr ControlName 图形按钮3{"图形按钮3"};
inline constexpr ControlName 透明标签9{"透明标签9"};
inline constexpr ControlName 编辑框8{"编辑框8"};
inline constexpr ControlName 超级按钮1{"超级按钮1"};
inline constexpr ControlName 进度条1{"进度条1"};
inline constexpr ControlName 透明标签8{"透明标签8"};
inline constexpr ControlName 分组框1{"分组框1"};
inline constexpr ControlName 图形按钮1{"图形按钮1"};
inline constexpr ControlName 透明标签5{"透明标签5"};
inline constexpr ControlName 图形按钮17{"图形按钮17"};
inline constexpr ControlName 图形按钮16{"图形按钮16"};
inline constexpr ControlName 图形按钮8{"图形按钮8"};
inline constexpr ControlName 调节器3{"调节器3"};
inline constexpr ControlName 调节器1{"调节器1"};
inline constexpr ControlName 任务时钟{"任务时钟"};
inline constexpr ControlName 按钮1{"按钮1"};
inline constexpr ControlName 标签2{"标签2"};
inline constexpr ControlName 编辑框1{"编辑框1"};
inline constexpr ControlName 图片框6{"图片框6"};
inline constexpr ControlName 图片框5{"图片框5"};
inline constexpr ControlName 透明标签17{"透明标签17"};
inline constexpr ControlName 图片框4{"图片框4"};
inline constexpr ControlName 标签1{"标签1"};
inline constexpr ControlName 透明标签7{"透明标签7"};

// TrayMenu, named by caption.
inline constexpr MenuItemName 官方网站{"官方网站"};
inline constexpr MenuItemName 显示主界面{"显示主界面"};
inline constexpr MenuItemName 关于本软件{"关于本软件"};
inline constexpr MenuItemName 用户意见反馈{"用户意见反馈"};
inline constexpr MenuItemName 退出本软件{"退出本软件"};

}  // namespace ui::main_window
