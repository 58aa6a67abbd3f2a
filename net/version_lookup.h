// The latest-version lookup in VersionWindow: a click starts a six-second
// wait with the waiting animation and a green status line, or, with no
// network, says so in red and disables the button; every tick of the
// window's 时钟1 shows the framed page slot and stops the animation. The
// timer is never stopped, so later ticks show the slot again.
#pragma once

namespace net {

inline constexpr char kLookupWaiting[] = "正在获取版本信息...";
inline constexpr char kLookupNoNetwork[] = "网络异常！无法获取版本信息";
inline constexpr int kLookupPeriodMs = 6000;

}  // namespace net
