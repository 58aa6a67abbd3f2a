// The process list and the end of the process, asked of the platform.
#pragma once

#include <string>
#include <vector>

namespace app {

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

}  // namespace app
