// See restart.h.
#include "app/restart.h"

#include <sstream>

#include "app/program.h"
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

void OnSessionEndQuery(Program& program, bool installerClose) {
  // Registered only now, while the installer asks, the last moment Windows
  // documents for it. Held at any other time, even without arguments, the
  // registration would have Windows start the program again at the next
  // sign-in after an ordinary shutdown ("restart apps"), and the task with
  // it, to force the machine off at an hour the user has long forgotten.
  if (!installerClose) return;
  const ui::Window* main = program.desktop.Find(ui::main_window::MainWindow);
  if (main == nullptr || main->IsClosed()) return;
  program.services.processes.RegisterRestart(RestartArguments(ArmedTaskOf(*main)));
  program.records.restartRegistered = true;
}

void OnSessionEnd(Program& program, bool ending, bool installerClose) {
  if (!ending) {
    // Another program refused, or the installer gave up: the program runs on
    // and is on no restart list.
    if (program.records.restartRegistered) program.services.processes.UnregisterRestart();
    program.records.restartRegistered = false;
    return;
  }
  // A log-off or shutdown is left to the system.
  if (installerClose) EndProgram(program);
}

}  // namespace app
