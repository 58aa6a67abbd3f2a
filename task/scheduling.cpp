// Scheduling and cancelling with 按钮1, the selection rule of the four action
// options, the spin steps of the time fields, and the firing tick.
#include "task/scheduling.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "app/handlers.h"
#include "app/program.h"
#include "shell/tray_notice.h"
#include "task/time_text.h"

namespace task {

namespace {

constexpr char kStatusGroup[] = "分组框3";
constexpr char kCancelTitle[] = "QuondaHalvix任务提示！";
constexpr char kCancelText[] = "QuondaHalvix任务已经成功取消，感谢您的使用！";
constexpr char kTimeMissingText[] = "Quonda任务执行的时间请填写完整，否则不能执行计划。";
constexpr char kTimeMissingTitle[] = "Quonda任务时间填写不完整";
constexpr char kNoActionText[] = "任务目标没选择，请选择个任务的目标！";
constexpr char kNoActionTitle[] = "Quonda任务目标不完整";

struct Spin {
  const char* spin;
  const char* field;
  int max;
};
constexpr Spin kSpins[] = {
    {"调节器1", "编辑框1", 23},
    {"调节器2", "编辑框2", 59},
    {"调节器3", "编辑框3", 59},
};

constexpr const char* kTimeFields[] = {"编辑框1", "编辑框2", "编辑框3"};

void SetStatus(ui::Window& main, const char* text, ui::Color colour) {
  main.SetCaption(kStatusGroup, text);
  main.SetTextColor(kStatusGroup, colour);
}

void StartSlide(app::Program& program, ui::Window& main) {
  program.globals.slideUp = 1;
  main.SetInterval("时钟4", 10);
}

void Cancel(app::Program& program, ui::Window& main) {
  shell::ShowTrayNotice(program, kCancelTitle, kCancelText, shell::kInfoIcon);
  SetStatus(main, "任务取消成功", ui::kRed);
  main.SetAnimating("图片框5", false);
  main.SetInterval("任务时钟", 0);
  main.SetCaption("按钮1", kIdleCaption);
}

void Schedule(app::Program& program, ui::Window& main) {
  SetStatus(main, "任务成功执行", ui::kGreen);
  StartSlide(program, main);
  main.SetAnimating("图片框5", true);
  main.SetInterval("任务时钟", 1000);
  program.firing.Start(program.platform.Now());
  main.SetCaption("按钮1", kArmedCaption);
}

}  // namespace

std::optional<PowerMode> CheckedMode(const ui::Window& main) {
  for (const ActionOption& option : kActionOptions) {
    const ui::Control* c = main.Get(option.name);
    if (c && c->checked) return option.mode;
  }
  return std::nullopt;
}

}  // namespace task

namespace app {

using task::kActionOptions;

void OnCommandButtonClick(Program& program, const Event& event) {
  ui::Window& main = *event.window;
  if (main.Get("按钮1")->caption == task::kArmedCaption) {
    task::Cancel(program, main);
  } else if (std::any_of(std::begin(task::kTimeFields), std::end(task::kTimeFields),
                         [&](const char* f) { return main.Get(f)->caption.empty(); })) {
    program.desktop.ShowMessageBox(task::kTimeMissingText, ui::kMessageOkInformation,
                                   task::kTimeMissingTitle, nullptr);
  } else if (!task::CheckedMode(main)) {
    program.desktop.ShowMessageBox(task::kNoActionText, ui::kMessageOkInformation,
                                   task::kNoActionTitle, nullptr);
  } else {
    task::Schedule(program, main);
  }
  // Common ending: the slide runs on only when a task is armed now; after a
  // cancel or a failed check it stands still, halting a moving notice.
  task::StartSlide(program, main);
  if (main.Get("按钮1")->caption == task::kIdleCaption) main.SetInterval("时钟4", 0);
  if (ui::Window* notice = program.Find("TaskDoneWindow")) {
    for (const auto& option : kActionOptions) {
      const ui::Control* c = main.Get(option.name);
      if (c && c->checked) notice->SetCaption("透明标签3", c->caption);
    }
  }
}

void OnActionOptionClick(Program&, const Event& event) {
  ui::Window& main = *event.window;
  const std::string& clicked = main.At(event.control).name;
  main.SetChecked(event.control, true);
  // The four are one group although 单选框1 lies outside the tab page: every
  // other option is unchecked, and only the chosen caption is green.
  for (const auto& option : kActionOptions) {
    bool isClicked = clicked == option.name;
    if (!isClicked) main.SetChecked(option.name, false);
    main.SetTextColor(option.name, isClicked ? ui::kGreen : ui::kBlack);
  }
}

void OnTimeSpin(Program&, const Event& event) {
  ui::Window& main = *event.window;
  const std::string& spin = main.At(event.control).name;
  for (const task::Spin& s : task::kSpins) {
    if (spin != s.spin) continue;
    int value = task::TextToInt(main.Get(s.field)->caption);
    if (event.arg == 1 && value <= s.max - 1) {
      main.SetCaption(s.field, task::IntToText(value + 1));
    } else if (event.arg == -1 && value >= 1) {
      main.SetCaption(s.field, task::IntToText(value - 1));
    }
  }
}

void OnTaskClockTick(Program& program, const Event& event) {
  ui::Window& main = *event.window;
  task::TimeOfDay target{task::TextToInt(main.Get("编辑框1")->caption),
                         task::TextToInt(main.Get("编辑框2")->caption),
                         task::TextToInt(main.Get("编辑框3")->caption)};
  if (!program.firing.Check(program.platform.Now(), target)) return;
  // The option checked at the firing moment is the one performed; the worker
  // gets the mode and never touches the controls.
  if (std::optional<task::PowerMode> mode = task::CheckedMode(main)) {
    program.platform.RunPowerAction(*mode);
  }
}

}  // namespace app
