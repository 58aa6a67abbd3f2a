// Scheduling and cancelling with 按钮1, the selection rule of the four action
// options, the spin steps of the time fields, and the firing tick.
#include "task/scheduling.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "task/power_notice.h"
#include "task/task_context.h"
#include "task/time_text.h"
#include "ui/secondary_windows/task_done_names.h"

namespace task {

namespace {

using namespace ui::main_window;

constexpr ui::ControlName kStatusGroup = 分组框3;
constexpr char kCancelText[] = "QuondaHalvix任务已经成功取消，感谢您的使用！";
constexpr char kTimeMissingText[] = "Quonda任务执行的时间请填写完整，否则不能执行计划。";
constexpr char kTimeMissingTitle[] = "Quonda任务时间填写不完整";
constexpr char kNoActionText[] = "任务目标没选择，请选择个任务的目标！";
constexpr char kNoActionTitle[] = "Quonda任务目标不完整";

struct Spin {
  ui::ControlName spin;
  ui::ControlName field;
  int max;
};
constexpr Spin kSpins[] = {
    {调节器1, 编辑框1, 23},
    {调节器2, 编辑框2, 59},
    {调节器3, 编辑框3, 59},
};

constexpr ui::ControlName kTimeFields[] = {编辑框1, 编辑框2, 编辑框3};

void SetStatus(ui::Window& main, const char* text, ui::Color colour) {
  main.SetCaption(kStatusGroup, text);
  main.SetTextColor(kStatusGroup, colour);
}

void StartSlide(const TaskContext& task, ui::Window& main) {
  task.state.slideUp = 1;
  main.SetInterval(时钟4, 10);
}

// The request to stay awake follows the task: made when it is armed, made
// again when its time or action changes, which the fields and options allow
// while it waits, and its resume timer set again for each next occurrence:
// the one after a firing the task stays armed for, or after a sleep that
// passed the time.
void KeepAwakeFor(const TaskContext& task, const ui::Window& main) {
  const TimeOfDay target = Target(main);
  const LocalTime now = task.clock.Now();
  const std::int64_t due = MsUntil(now, target);
  const std::int64_t occurrence = IsClockTime(target) ? ToInstantMs(now) + due : -1;
  std::string reason = AwakeReason(target, CheckedMode(main));
  if (reason == task.state.awakeReason && occurrence == task.state.awakeFor) return;
  task.power.KeepAwake({reason, due});
  task.state.awakeReason = std::move(reason);
  task.state.awakeFor = occurrence;
}

void Cancel(const TaskContext& task, ui::Window& main) {
  task.tray.Notify(kTaskNoticeTitle, kCancelText, shell::kInfoIcon);
  SetStatus(main, "任务取消成功", ui::kRed);
  main.SetAnimating(图片框5, false);
  main.SetInterval(任务时钟, 0);
  task.power.KeepAwake({});
  task.state.awakeReason.clear();
  main.SetCaption(按钮1, kIdleCaption);
}

void Schedule(const TaskContext& task, ui::Window& main) {
  SetStatus(main, "任务成功执行", ui::kGreen);
  StartSlide(task, main);
  main.SetAnimating(图片框5, true);
  main.SetInterval(任务时钟, 1000);
  task.state.firing.Start(task.clock.Now());
  // Idle sleep would pass the target unseen, and the firing check rightly
  // does not make up a second it slept through.
  KeepAwakeFor(task, main);
  main.SetCaption(按钮1, kArmedCaption);
  if (CheckedMode(main) == PowerMode::kHibernate && !task.power.HibernateAvailable()) {
    task.tray.Notify(kTaskNoticeTitle, kHibernateUnavailableText, shell::kInfoIcon);
  }
}

}  // namespace

TimeOfDay Target(const ui::Window& main) {
  // A field without a number (blanks, letters) holds a time the clock never
  // shows; read as 0 it would fire at midnight.
  const auto field = [&](ui::ControlName name) {
    return TextToNumber(main.Get(name).caption).value_or(-1);
  };
  return {field(编辑框1), field(编辑框2), field(编辑框3)};
}

std::optional<PowerMode> CheckedMode(const ui::Window& main) {
  for (const ActionOption& option : kActionOptions) {
    if (main.Get(option.name).checked) return option.mode;
  }
  return std::nullopt;
}

void OnCommandButtonClick(const TaskContext& task, const ui::Event& event) {
  ui::Window& main = *event.window;
  if (main.Get(按钮1).caption == kArmedCaption) {
    Cancel(task, main);
  } else if (std::any_of(std::begin(kTimeFields), std::end(kTimeFields),
                         [&](ui::ControlName f) { return main.Get(f).caption.empty(); })) {
    // Owned by MainWindow, which the box disables while it shows: unowned,
    // the window stayed clickable and each click on 按钮1 stacked another.
    task.desktop.ShowMessageBox(kTimeMissingText, ui::kMessageOkInformation, kTimeMissingTitle,
                                &main);
  } else if (!CheckedMode(main)) {
    task.desktop.ShowMessageBox(kNoActionText, ui::kMessageOkInformation, kNoActionTitle, &main);
  } else {
    Schedule(task, main);
  }
  // Common ending: the slide runs on only when a task is armed now; after a
  // cancel or a failed check it stands still, halting a moving notice.
  StartSlide(task, main);
  if (main.Get(按钮1).caption == kIdleCaption) main.SetInterval(时钟4, 0);
  if (ui::Window* notice = task.desktop.Find(ui::task_done::TaskDoneWindow)) {
    for (const auto& option : kActionOptions) {
      const ui::Control& c = main.Get(option.name);
      if (c.checked) notice->SetCaption(ui::task_done::透明标签3, c.caption);
    }
  }
}

void OnActionOptionClick(const TaskContext&, const ui::Event& event) {
  ui::Window& main = *event.window;
  const std::string& clicked = main.At(event.control).name;
  main.SetChecked(event.control, true);
  // The four are one group although 单选框1 lies outside the tab page: every
  // other option is unchecked, and only the chosen caption is green.
  for (const auto& option : kActionOptions) {
    bool isClicked = clicked == option.name.text;
    if (!isClicked) main.SetChecked(option.name, false);
    main.SetTextColor(option.name, isClicked ? ui::kGreen : ui::kBlack);
  }
}

void OnTimeSpin(const TaskContext&, const ui::Event& event) {
  ui::Window& main = *event.window;
  const std::string& spin = main.At(event.control).name;
  for (const Spin& s : kSpins) {
    if (spin != s.spin.text) continue;
    int value = TextToInt(main.Get(s.field).caption);
    if (event.arg == 1 && value <= s.max - 1) {
      main.SetCaption(s.field, IntToText(value + 1));
    } else if (event.arg == -1 && value >= 1) {
      main.SetCaption(s.field, IntToText(value - 1));
    }
  }
}

void OnTaskClockTick(const TaskContext& task, const ui::Event& event) {
  ui::Window& main = *event.window;
  KeepAwakeFor(task, main);
  const TimeOfDay target = Target(main);
  if (!task.state.firing.Check(task.clock.Now(), target)) return;
  // The option checked at the firing moment is the one performed; the worker
  // gets the mode and never touches the controls.
  if (std::optional<PowerMode> mode = CheckedMode(main)) task.power.RunPowerAction(*mode);
}

}  // namespace task
