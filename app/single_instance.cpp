// See single_instance.h. The first entry of the list is never examined: on
// the systems the program was made for it is the system's idle process, and
// the rule is kept as it is so that counting stays what users of the program
// have always seen.
#include "app/single_instance.h"

#include "app/program.h"
#include "shell/tray_notice.h"

namespace app {

int CountInstances(const std::vector<std::string>& executables, std::string_view own) {
  int count = 0;
  for (size_t i = 1; i < executables.size(); ++i) {
    if (executables[i] == own) ++count;
  }
  return count;
}

void CheckSingleInstance(Program& program) {
  std::vector<std::string> executables = program.platform.RunningExecutables();
  std::string own = program.platform.OwnExecutable();
  program.globals.instanceCount += CountInstances(executables, own);
  if (program.globals.instanceCount >= 2) {
    shell::ShowTrayNotice(program, kDuplicateTitle, kDuplicateText, shell::kInfoIcon);
    // The icon stays, so the notice remains readable after this copy is gone.
    program.platform.EndProcess(0);
  }
}

}  // namespace app
