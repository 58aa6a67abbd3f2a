// The status-bar clock: rewritten at every tick of MainWindow's 时钟1.
#include "app/handlers.h"
#include "app/program.h"
#include "task/clock.h"

namespace app {

void OnClockTick(Program& program, const Event& event) {
  event.window->SetCaption("标签1", task::ClockCaption(program.platform.Now()));
}

}  // namespace app
