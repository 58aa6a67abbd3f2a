// The process list and the end of the process, asked of the platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

struct ProcessEntry {
  std::string executable;  // file name with extension, no directory
  std::uint32_t id = 0;
};

// When a listed process started, for telling which of two copies came first.
struct ProcessStart {
  // False once the process has ended: a copy that gave way between the list
  // and this question no longer counts.
  bool running = true;
  // In the platform's 100-ns ticks; nullopt for a running process this one
  // may not ask (one run as another user).
  std::optional<std::uint64_t> ticks;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // The running processes, in the system's order.
  virtual std::vector<ProcessEntry> RunningProcesses() = 0;
  // The program's own executable file name with extension, no directory.
  virtual std::string OwnExecutable() = 0;
  virtual std::uint32_t OwnId() = 0;
  virtual ProcessStart StartOf(std::uint32_t id) = 0;
  // The log-on session the process runs in (console, fast user switching,
  // Remote Desktop); nullopt when it cannot be read: another user's process,
  // or one that has ended.
  virtual std::optional<std::uint32_t> SessionOf(std::uint32_t id) = 0;
  // Ends the process at once; the program-wide records are still released.
  virtual void EndProcess(int exitCode) = 0;
  // Registers the program to be started again, with these arguments (empty
  // for none), once an installer has closed it to replace it (Restart
  // Manager). Not after a crash, a hang or a reboot.
  virtual void RegisterRestart(const std::string& arguments) = 0;
  // Takes the registration back: the program is on no restart list at all.
  virtual void UnregisterRestart() = 0;
};

}  // namespace app
