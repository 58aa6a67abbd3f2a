// What the task handlers work with: the windows, the services they call and
// the little state the task keeps besides its controls, and the handlers
// themselves.
#pragma once

#include <cstdint>
#include <string>

#include "shell/tray.h"
#include "task/clock.h"
#include "task/firing.h"
#include "task/power.h"
#include "ui/behaviour/desktop.h"

namespace task {

struct TaskState {
  FiringCheck firing;
  // 1 while the notice rises or rests, 0 once its 15-second tick sent it
  // down; program-wide, zero at start.
  int slideUp = 0;
  // How far the notice's top stands above the screen's bottom, in its
  // 96-DPI pixels: 0 parked, its height and 30 more at rest.
  int noticeRise = 0;
  // A benchmark build leaves the slide timer running after arrival, to
  // measure what stopping it saves.
  bool keepSlideTimer = false;
  // The reason of the request to stay awake standing; empty when none.
  std::string awakeReason;
  // The occurrence its resume timer is set for, on ToInstantMs's scale.
  std::int64_t awakeFor = 0;
};

struct TaskContext {
  ui::Desktop& desktop;
  shell::Tray& tray;
  Clock& clock;
  PowerActions& power;
  TaskState& state;
};

void OnActionOptionClick(const TaskContext& task, const ui::Event& event);
void OnTimeSpin(const TaskContext& task, const ui::Event& event);
void OnCommandButtonClick(const TaskContext& task, const ui::Event& event);
void OnTaskClockTick(const TaskContext& task, const ui::Event& event);
void OnClockTick(const TaskContext& task, const ui::Event& event);
void OnSlideTick(const TaskContext& task, const ui::Event& event);
void OnTaskNoticeTick(const TaskContext& task, const ui::Event& event);
void OnTaskNoticeClose(const TaskContext& task, const ui::Event& event);
// The notice placed again for the screen and scale as they are now: after a
// display change, and once it exists at start-up.
void PlaceNotice(const TaskContext& task);
// A power action the worker could not perform, handed back to the window
// thread: one balloon that says which and why; the task stays armed.
void OnPowerActionFailed(const TaskContext& task, PowerMode mode, PowerFailure failure);

// Where TaskDoneWindow rests out of sight: flush with the screen's right
// edge, just below its bottom edge.
ui::Point ParkedNoticePosition(ui::Size screen, ui::Size notice);

}  // namespace task
