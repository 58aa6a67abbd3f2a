// The notice window's slide: one pixel per 10 ms tick of MainWindow's 时钟4,
// up to its rest 30 pixels above the screen's bottom or down out of sight.
// The slide timer stops once the window has arrived: later ticks would find
// nothing to do, and a stopped timer spares a hundred wake-ups a second.
#include <algorithm>

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
  // The screen at the notice's own scale, asked at every step: the scale
  // may have changed since the last one.
  ui::Size screen = task.desktop.ScreenSize(notice);
  ui::Rect at = notice->ScreenRect();
  task.state.noticeRise = screen.height - at.top;
  if (task.state.slideUp == 1) {
    int rest = screen.height - at.height - kRestMargin;
    if (at.top > rest) {
      task.desktop.Move(*notice, std::nullopt, at.top - 1);
      ++task.state.noticeRise;
      return;
    }
  } else if (at.top < screen.height) {
    task.desktop.Move(*notice, std::nullopt, at.top + 1);
    --task.state.noticeRise;
    return;
  }
  if (!task.state.keepSlideTimer) event.window->SetInterval(event.control, 0);
}

void PlaceNotice(const TaskContext& task) {
  ui::Window* notice = task.desktop.Find(ui::task_done::TaskDoneWindow);
  if (!notice) return;
  // As far above the screen's bottom as it stood, parked, resting or halted
  // on its way, on the screen as it is now and at the notice's scale now:
  // kept from before, the old place mixed two scales and parked the notice
  // in view, or rested it below the screen.
  const ui::Size screen = task.desktop.ScreenSize(notice);
  const ui::Rect at = notice->ScreenRect();
  const int rest = screen.height - at.height - kRestMargin;
  const int top = std::clamp(screen.height - task.state.noticeRise, rest, screen.height);
  task.desktop.Move(*notice, screen.width - at.width, top);
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
