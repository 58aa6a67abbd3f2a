// The notice window's slide: one pixel per 10 ms tick of MainWindow's 时钟4,
// up to its rest 30 pixels above the screen's bottom or down out of sight.
// The slide timer stops once the window has arrived: later ticks would find
// nothing to do, and a stopped timer spares a hundred wake-ups a second.
#include "app/handlers.h"
#include "app/program.h"

namespace app {

namespace {

constexpr int kRestMargin = 30;

}  // namespace

void OnSlideTick(Program& program, const Event& event) {
  ui::Window* notice = program.Find("TaskDoneWindow");
  if (!notice) return;
  ui::Size screen = program.desktop.ScreenSize();
  int top = notice->screenRect.top;
  if (program.globals.slideUp == 1) {
    int rest = screen.height - notice->screenRect.height - kRestMargin;
    if (top > rest) {
      program.desktop.Move(*notice, std::nullopt, top - 1);
      return;
    }
  } else if (top < screen.height) {
    program.desktop.Move(*notice, std::nullopt, top + 1);
    return;
  }
#ifndef QH_BENCH_KEEP_SLIDE_TIMER  // a bench build measures the timer left running
  event.window->SetInterval(event.control, 0);
#endif
}

void OnTaskNoticeTick(Program& program, const Event&) {
  program.globals.slideUp = 0;
  if (ui::Window* main = program.Find("MainWindow")) main->SetInterval("时钟4", 10);
}

}  // namespace app
