// The status-bar clock: rewritten at every tick of MainWindow's 时钟1.
#include "task/clock.h"
#include "task/task_context.h"
#include "ui/main_window/main_window_names.h"

namespace task {

void OnClockTick(const TaskContext& task, const ui::Event& event) {
  event.window->SetCaption(ui::main_window::标签1, ClockCaption(task.clock.Now()));
}

}  // namespace task
