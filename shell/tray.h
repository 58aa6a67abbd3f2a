// The notification-area icon as the program uses it: added once at start-up
// with its tip, balloon notices on it (the ShowTrayNotice operation), and
// removed at the exit. Mouse actions on the icon reach the owner window as
// tray events with the action codes below.
#pragma once

#include <cstddef>
#include <string_view>

namespace ui {
class Window;
}

namespace shell {

inline constexpr char kTrayTip[] = "QuondaHalvix正版 软件正在运行...";
inline constexpr int kInfoIcon = 1;  // the information icon, the only kind used

// Action codes of the owner's tray event.
inline constexpr int kTrayRestore = 2;  // left button released on the icon
inline constexpr int kTrayMenu = 3;     // right button released on the icon

class Tray {
 public:
  virtual ~Tray() = default;
  // Adds the program's icon with its tip, owned by `owner`, whose tray event
  // then receives the mouse actions on it.
  virtual void AddIcon(ui::Window& owner, std::string_view tip) = 0;
  // ShowTrayNotice: a balloon with this title, text and icon kind on the
  // program's icon. Does nothing before AddIcon or after RemoveIcon; while
  // the shell has not taken the icon yet, the latest notice waits for it.
  virtual void Notify(std::string_view title, std::string_view text, int iconKind) = 0;
  virtual void RemoveIcon() = 0;
};

// The longest prefix of GBK text that fits `maxBytes` without splitting a
// two-byte character. The shell reads fixed-size buffers; a lone lead byte
// at the end would show as garbage.
std::string_view CutGbk(std::string_view gbk, size_t maxBytes);

}  // namespace shell
