// The process list and the end of the process on Windows.
#pragma once

#include "app/processes.h"

namespace app {

class Win32Processes final : public Processes {
 public:
  std::vector<ProcessEntry> RunningProcesses() override;
  std::string OwnExecutable() override;
  std::uint32_t OwnId() override;
  ProcessStart StartOf(std::uint32_t id) override;
  std::optional<std::uint32_t> SessionOf(std::uint32_t id) override;
  void EndProcess(int exitCode) override;
  void RegisterRestart(const std::string& arguments) override;
  void UnregisterRestart() override;
  // Runs when EndProcess ends the program, before the process goes.
  void SetAtEnd(void (*atEnd)()) { atEnd_ = atEnd; }

 private:
  void (*atEnd_)() = nullptr;
};

}  // namespace app
