// The start-up reachability display and notice: one probe of the network
// connection, shown in the status bar and as one tray notice.
#pragma once

#include "net/network.h"
#include "shell/tray.h"
#include "ui/model/window.h"

namespace net {

inline constexpr char kConnectedCaption[] = "已成功连接到Quonda云服务器中心...";
inline constexpr char kDisconnectedCaption[] = "网络异常！与QuondaHalvix云云服务器中心断开连接";
inline constexpr char kNoticeTitle[] = "Quonda云服务器中心提示！";
inline constexpr char kConnectedNotice[] =
    "检测到网络正常！Quonda云服务器成功连接...程序关闭后右下角图标会晚窗口消失，鼠标划过图标即可消失，感谢使用！";
inline constexpr char kDisconnectedNotice[] = "检测到网络异常！请检查网络是否已成功连接...";

// Probes once and sets the status caption, its colour and the status picture;
// returns the answer for the notice.
bool ShowReachability(Network& network, ui::Window& main);
void ShowReachabilityNotice(shell::Tray& tray, bool connected);

}  // namespace net
