// The process list and the end of the process on Windows.
#pragma once

#include "app/processes.h"

namespace app {

class Win32Processes final : public Processes {
 public:
  std::vector<std::string> RunningExecutables() override;
  std::string OwnExecutable() override;
  void EndProcess(int exitCode) override;
  // Runs when EndProcess ends the program, before the process goes.
  void SetAtEnd(void (*atEnd)()) { atEnd_ = atEnd; }

 private:
  void (*atEnd_)() = nullptr;
};

}  // namespace app
