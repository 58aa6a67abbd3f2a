// The notice window's slide: one pixel per 10 ms tick of MainWindow's 时钟4,
// up to its rest 30 pixels above the screen's bottom or down out of sight.
// The slide timer stops once the window has arrived: later ticks would find
// nothing to do, and a stopped timer spares a hundred wake-ups a second.
#include "task/task_context.h"
#include "ui/main_window/main_window_names.h"
#include "ui/secondary_windows/task_done_names.h"

namespace task {

namespace {

constexpr int kRestMargin = 30;

}  // namespace

void OnSlideTick(const TaskContext& task, const ui::Event& event) {
  ui::Window* notice = task.desktop.Find(ui::task_done::TaskDoneWindow);
  if (!notice) return;
  ui::Size screen = task.desktop.ScreenSize();
  ui::Rect at = notice->ScreenRect();
  if (task.state.slideUp == 1) {
    int rest = screen.height - at.height - kRestMargin;
    if (at.top > rest) {
      task.desktop.Move(*notice, std::nullopt, at.top - 1);
      return;
    }
  } else if (at.top < screen.height) {
    task.desktop.Move(*notice, std::nullopt, at.top + 1);
    return;
  }
  if (!task.state.keepSlideTimer) event.window->SetInterval(event.control, 0);
}

void OnTaskNoticeTick(const TaskContext& task, const ui::Event&) {
  task.state.slideUp = 0;
  if (ui::Window* main = task.desktop.Find(ui::main_window::MainWindow)) {
    main->SetInterval(ui::main_window::时钟4, 10);
  }
}

void OnTaskNoticeClose(const TaskContext& task, const ui::Event& event) {
  task.desktop.SetVisible(*event.window, false);
  if (ui::Window* main = task.desktop.Find(ui::main_window::MainWindow)) {
    main->SetInterval(ui::main_window::时钟4, 0);
  }
}

ui::Point ParkedNoticePosition(ui::Size screen, ui::Size notice) {
  return {screen.width - notice.width, screen.height};
}

}  // namespace task
