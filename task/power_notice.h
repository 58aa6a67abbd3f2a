// What the user is told when a power action cannot be performed: the balloon
// after a failed firing, and the warning when hibernation is chosen on a
// system that cannot hibernate. Both go to the tray on the window thread.
#pragma once

#include <cstdint>
#include <string>

#include "task/power.h"

namespace task {

inline constexpr char kTaskNoticeTitle[] = "QuondaHalvix任务提示！";

// Names the action and the reason in plain words, and that the task stays
// armed.
std::string PowerFailureText(PowerMode mode, PowerFailure failure, std::uint32_t error);

inline constexpr char kHibernateUnavailableText[] =
    "已选择“休眠模式”，但本机的休眠功能已关闭或不可用，到时电脑将无法休眠。"
    "可用管理员命令 powercfg /h on 开启休眠。";

}  // namespace task
