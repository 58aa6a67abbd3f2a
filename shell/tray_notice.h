// The tray icon's tip and balloon notices: ShowTrayNotice fills the one
// program-wide balloon record and hands it to the shell.
#pragma once

#include <string>
#include <string_view>

#include "app/globals.h"

namespace app {
class Program;
}

namespace ui {
class Window;
}

namespace shell {

inline constexpr char kTrayTip[] = "QuondaHalvix正版 软件正在运行...";
inline constexpr int kInfoIcon = 1;  // the information icon, the only kind used
inline constexpr std::uint32_t kBalloonInfoFlag = 0x10;

// The longest GBK prefix of `gbk` that fits `maxBytes` without splitting a
// two-byte character.
std::string_view CutGbk(std::string_view gbk, size_t maxBytes);

// Fills the record's balloon fields: flags, title and text (GBK, cut to fit,
// each followed by a NUL) and the icon kind. The tip, icon and callback
// fields are left as they are.
void FillBalloon(app::TrayRecord& record, std::string_view titleGbk, std::string_view textGbk,
                 int iconKind);

// Shows a balloon notice on the program's tray icon. Does nothing before the
// icon exists.
void ShowTrayNotice(app::Program& program, std::string_view title, std::string_view text,
                    int iconKind);

// Adds the program's icon to the notification area, owned by `owner`.
void AddTrayIcon(app::Program& program, ui::Window& owner);

}  // namespace shell
