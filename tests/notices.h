// Every balloon notice the program shows, by caller, as the user reads it:
// the native tests check the texts fit the shell's buffers, the Windows-side
// tests that each reaches the shell's record intact.
#pragma once

namespace tests {

struct NoticeText {
  const char* title;
  const char* text;
};

inline constexpr NoticeText kNotices[] = {
    {"Quonda硬盘检测结果提示！",
     "您的计算机硬盘使用时间和温度已经成功提取请查看！注：30-50度硬盘正常！70度以上硬盘危险温度过高！"},
    {"Quonda硬盘检测结果提示！",
     "未能读取硬盘使用时间和温度！请以管理员身份运行本软件后重试。注：部分硬盘不提供此信息。"},
    {"QuondaHalvix任务提示！", "QuondaHalvix任务已经成功取消，感谢您的使用！"},
    {"Quonda云服务器中心提示！", "检测到网络异常！请检查网络是否已成功连接..."},
    {"Quonda云服务器中心提示！",
     "检测到网络正常！Quonda云服务器成功连接...程序关闭后右下角图标会晚窗口消失，鼠标划过图标即可消失，感谢使用！"},
    {"Quonda程序重复！！", "已经运行一个QuondaHalvix！不得重复运行。"},
};

}  // namespace tests
