// The operating-system services handlers use besides the window operations,
// in small groups. The Windows program implements them for real; tests fake
// them by recording calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "task/local_time.h"
#include "task/power.h"

namespace ui {
class Window;
}

namespace app {

struct TrayRecord;

class Clock {
 public:
  virtual ~Clock() = default;
  virtual task::LocalTime Now() = 0;
};

// What names the program's icon to the shell, as the adding call left it.
struct TrayIdentity {
  std::uint32_t recordSize = 0;  // cbSize of the shell's balloon record
  std::uint64_t window = 0;
  std::uint32_t id = 0;
};

class TrayShell {
 public:
  virtual ~TrayShell() = default;
  // Adds the program's icon with its tip, owned by `owner`, whose tray event
  // then receives the mouse actions on it.
  virtual TrayIdentity AddTrayIcon(ui::Window& owner, std::string_view tip) = 0;
  // Hands the balloon record to the shell (modify). The UTF-8 title and text
  // are the record's own, for shells that cannot read the record's code page.
  virtual void NotifyTray(const TrayRecord& record, std::string_view title,
                          std::string_view text) = 0;
  virtual void RemoveTrayIcon() = 0;
  // UTF-8 to the GBK bytes (code page 936) of the shell's record.
  virtual std::string ToGbk(std::string_view utf8) = 0;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Executable file names of the running processes, in the system's order.
  virtual std::vector<std::string> RunningExecutables() = 0;
  // The program's own executable file name with extension, no directory.
  virtual std::string OwnExecutable() = 0;
  // Ends the process at once; the program-wide records are still released.
  virtual void EndProcess(int exitCode) = 0;
};

class Network {
 public:
  virtual ~Network() = default;
  // Whether the computer is connected to a network; no server is contacted.
  virtual bool ProbeNetwork() = 0;
};

class Platform : public Clock,
                 public TrayShell,
                 public Processes,
                 public Network,
                 public task::PowerActions {};

}  // namespace app
