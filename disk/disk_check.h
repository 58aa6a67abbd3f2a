// The disk check: a click on 超级按钮1 plays the progress bar for about two
// seconds (101 ticks of 时钟3 at 20 ms), then reveals the report box with the
// lines collected at start-up, the hint label and the result icon, and says
// so in a tray notice. The check queries nothing itself and runs at most once.
#pragma once

#include "disk/smart_report.h"
#include "shell/tray.h"
#include "ui/window.h"

namespace disk {

inline constexpr int kCheckTickMs = 20;
inline constexpr char kCheckTitle[] = "Quonda硬盘检测结果提示！";
inline constexpr char kCheckText[] =
    "您的计算机硬盘使用时间和温度已经成功提取请查看！注：30-50度硬盘正常！70度以上硬盘危险温度过高！";
// When nothing could be read: saying the values were extracted would report a
// failure as success. The report box says why in two lines, and the notice
// what to do: run as administrator where that would help, nothing otherwise.
inline constexpr char kNeedsAdministratorLines[] =
    "未能读取硬盘信息：需要管理员权限。\r\n请右键本软件，选择“以管理员身份运行”后重试。\r\n";
inline constexpr char kDriveSilentLines[] =
    "未能读取硬盘信息：硬盘或驱动（RAID、USB硬盘盒等）\r\n不向系统提供使用时间和温度，定时关机不受影响。\r\n";
inline constexpr char kCheckFailedText[] =
    "未能读取硬盘使用时间和温度！请以管理员身份运行本软件后重试。注：部分硬盘不提供此信息。";
inline constexpr char kCheckSilentText[] =
    "未能读取硬盘使用时间和温度！此硬盘或其驱动不向系统提供此信息，定时关机不受影响。";

// A disk that predicts its own failure: the report keeps its lines and says
// so in one more, the box grows upward by a line to show all three (into the
// empty strip under the progress bar, so the hint below stays), the result
// icon is the warning and the notice says the same.
inline constexpr char kFailingLine[] = "警告：硬盘自检报告即将发生故障，请立即备份重要数据！\r\n";
inline constexpr char kCheckFailingText[] =
    "警告：您的计算机硬盘报告即将发生故障！请立即备份重要数据！硬盘使用时间和温度已经提取请查看！";

// What start-up found: why nothing was read, when nothing was, and whether a
// disk predicts its failure.
struct DiskFindings {
  Unread why = Unread::kDriveSilent;
  bool failing = false;
};

void OnDiskCheckClick(const ui::Event& event);
void OnDiskCheckTick(shell::Tray& tray, DiskFindings found, const ui::Event& event);

}  // namespace disk
