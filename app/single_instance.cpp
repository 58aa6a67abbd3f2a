// See single_instance.h. The first entry of the list is never examined: on
// the systems the program was made for it is the system's idle process, and
// the rule is kept as it is so that counting stays what users of the program
// have always seen.
#include "app/single_instance.h"

#include "app/program.h"

namespace app {

int CountInstances(const std::vector<std::string>& executables, std::string_view own) {
  int count = 0;
  for (size_t i = 1; i < executables.size(); ++i) {
    if (executables[i] == own) ++count;
  }
  return count;
}

void CheckSingleInstance(Program& program) {
  Processes& processes = program.services.processes;
  std::vector<std::string> executables = processes.RunningExecutables();
  std::string own = processes.OwnExecutable();
  program.records.instanceCount += CountInstances(executables, own);
  if (program.records.instanceCount >= 2) {
    program.services.tray.Notify(kDuplicateTitle, kDuplicateText, shell::kInfoIcon);
    // The icon stays, so the notice remains readable after this copy is gone.
    processes.EndProcess(0);
  }
}

}  // namespace app
