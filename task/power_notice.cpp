// The failure balloon of a power action. The worker that met the failure has
// handed it over to the window thread, where this runs; the task's state is
// left alone, so it fires again the next time the clock shows its time.
#include "task/power_notice.h"

#include "task/task_context.h"
#include "task/time_text.h"

namespace task {

namespace {

const char* ActionPhrase(PowerMode mode) {
  switch (mode) {
    case PowerMode::kShutDown: return "关闭电脑";
    case PowerMode::kRestart: return "重启电脑";
    case PowerMode::kLogOff: return "注销电脑";
    case PowerMode::kHibernate: return "让电脑休眠";
  }
  return "执行任务";
}

}  // namespace

std::string PowerFailureText(PowerMode mode, PowerFailure failure) {
  std::string reason;
  switch (failure) {
    case PowerFailure::kNoRight:
      reason = "当前帐户没有这项权限，或被管理员、组策略禁止";
      break;
    case PowerFailure::kHibernateUnavailable:
      reason = "本机的休眠功能已关闭或不可用（可用管理员命令 powercfg /h on 开启）";
      break;
    case PowerFailure::kNoWorker:
      reason = "系统资源不足，无法启动执行任务的线程";
      break;
    case PowerFailure::kNone:
    case PowerFailure::kRefused:
      reason = "系统拒绝了这项操作";
      break;
  }
  return std::string("QuondaHalvix未能") + ActionPhrase(mode) + "：" + reason +
         "。任务仍然有效，下次到达设定时间时会再试。";
}

std::string AwakeReason(TimeOfDay target, std::optional<PowerMode> mode) {
  const char* action = mode ? ActionPhrase(*mode) : "执行任务";
  if (!IsClockTime(target)) return std::string("QuondaHalvix：定时任务将") + action;
  return "QuondaHalvix：定时任务将于 " + TwoDigits(target.hour) + ":" + TwoDigits(target.minute) +
         ":" + TwoDigits(target.second) + " " + action;
}

void OnPowerActionFailed(const TaskContext& task, PowerMode mode, PowerFailure failure) {
  task.tray.Notify(kTaskNoticeTitle, PowerFailureText(mode, failure), shell::kInfoIcon);
}

}  // namespace task
