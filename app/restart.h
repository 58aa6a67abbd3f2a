// An armed task carried across the restart an installer asks for: when
// Restart Manager closes the program to replace it, the system starts it
// again with the command line the program registered as it was asked, which
// names the task's time and action while one is armed, and nothing while
// none is. At no other time is the program registered (program.h,
// OnSessionEndQuery).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "task/firing.h"
#include "task/power.h"
#include "ui/model/window.h"

namespace app {

struct ArmedTask {
  task::TimeOfDay time;
  task::PowerMode mode = task::PowerMode::kShutDown;
};

// "/armed 18:30:00 2": the switch, the time and the mode's number.
inline constexpr char kArmedSwitch[] = "/armed";
std::string RestartArguments(const std::optional<ArmedTask>& task);
// The task the arguments name; nullopt for any other command line, or one
// that names a time the clock never shows or an action there is not.
std::optional<ArmedTask> ParseRestartArguments(std::string_view arguments);

// The task MainWindow has armed, as it would fire now; nullopt when none is,
// or when its time is one the clock never shows.
std::optional<ArmedTask> ArmedTaskOf(const ui::Window& main);

}  // namespace app
