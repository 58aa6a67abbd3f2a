// See restart.h.
#include "app/restart.h"

#include <sstream>

#include "task/scheduling.h"
#include "task/time_text.h"
#include "ui/main_window/main_window_names.h"

namespace app {
namespace {

using namespace ui::main_window;

bool IsMode(int number) {
  return number >= static_cast<int>(task::PowerMode::kShutDown) &&
         number <= static_cast<int>(task::PowerMode::kHibernate);
}

}  // namespace

std::string RestartArguments(const std::optional<ArmedTask>& task) {
  if (!task) return {};
  const task::TimeOfDay t = task->time;
  return std::string(kArmedSwitch) + " " + task::TwoDigits(t.hour) + ":" +
         task::TwoDigits(t.minute) + ":" + task::TwoDigits(t.second) + " " +
         std::to_string(static_cast<int>(task->mode));
}

std::optional<ArmedTask> ParseRestartArguments(std::string_view arguments) {
  std::istringstream in{std::string(arguments)};
  std::string word, time, extra;
  int mode = 0;
  char colon1 = 0, colon2 = 0;
  ArmedTask task;
  if (!(in >> word) || word != kArmedSwitch || !(in >> time >> mode) || (in >> extra)) {
    return std::nullopt;
  }
  std::istringstream clock(time);
  if (!(clock >> task.time.hour >> colon1 >> task.time.minute >> colon2 >> task.time.second) ||
      colon1 != ':' || colon2 != ':' || !(clock >> std::ws).eof() ||
      !task::IsClockTime(task.time) || !IsMode(mode)) {
    return std::nullopt;
  }
  task.mode = static_cast<task::PowerMode>(mode);
  return task;
}

std::optional<ArmedTask> ArmedTaskOf(const ui::Window& main) {
  if (main.Get(按钮1).caption != task::kArmedCaption) return std::nullopt;
  const task::TimeOfDay time = task::Target(main);
  const std::optional<task::PowerMode> mode = task::CheckedMode(main);
  if (!mode || !task::IsClockTime(time)) return std::nullopt;
  return ArmedTask{time, *mode};
}

}  // namespace app
