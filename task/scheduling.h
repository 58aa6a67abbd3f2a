// The scheduled task as MainWindow's controls hold it: the command button's
// caption says whether a task is armed, the three fields hold the time, the
// checked option the action.
#pragma once

#include <optional>

#include "task/firing.h"
#include "task/power.h"
#include "ui/main_window/main_window_names.h"
#include "ui/model/window.h"

namespace task {

inline constexpr char kIdleCaption[] = "QuondaHalvix执行命令";
inline constexpr char kArmedCaption[] = "取消任务";

// The options in the order every reader tests them, with their modes.
struct ActionOption {
  ui::ControlName name;
  PowerMode mode;
};
inline constexpr ActionOption kActionOptions[] = {
    {ui::main_window::单选框1, PowerMode::kShutDown},
    {ui::main_window::单选框2, PowerMode::kRestart},
    {ui::main_window::单选框3, PowerMode::kLogOff},
    {ui::main_window::单选框4, PowerMode::kHibernate},
};

// The mode of the first checked option, if any.
std::optional<PowerMode> CheckedMode(const ui::Window& main);
// The time the fields hold; -1 for a field without a number.
TimeOfDay Target(const ui::Window& main);

}  // namespace task
