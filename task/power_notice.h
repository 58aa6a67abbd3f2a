// What the user is told when a power action cannot be performed: the balloon
// after a failed firing, and the warning when hibernation is chosen on a
// system that cannot hibernate. Both go to the tray on the window thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "task/firing.h"
#include "task/power.h"

namespace task {

inline constexpr char kTaskNoticeTitle[] = "QuondaHalvix任务提示！";

// Names the action and the reason in plain words, and that the task stays
// armed. No error number: nothing else the program says shows one, and it
// tells a user nothing.
std::string PowerFailureText(PowerMode mode, PowerFailure failure);

// Why the program keeps the computer awake, for `powercfg /requests`:
// "QuondaHalvix：定时任务将于 18:30:00 重启电脑" (without the time for one
// the clock never shows).
std::string AwakeReason(TimeOfDay target, std::optional<PowerMode> mode);

inline constexpr char kHibernateUnavailableText[] =
    "已选择“休眠模式”，但本机的休眠功能已关闭或不可用，到时电脑将无法休眠。"
    "可用管理员命令 powercfg /h on 开启休眠。";

}  // namespace task
