// See single_instance.h. The first entry of the list is never examined: on
// the systems the program was made for it is the system's idle process, and
// the rule is kept as it is so that counting stays what users of the program
// have always seen. Only copies started before this one count against it: two
// copies started together each used to count the other at once and both
// ended, leaving none running.
#include "app/single_instance.h"

#include "app/program.h"

namespace app {

bool StartedBefore(std::uint32_t otherId, const ProcessStart& other, std::uint32_t ownId,
                   std::optional<std::uint64_t> ownTicks) {
  if (!other.running) return false;
  if (!other.ticks || !ownTicks) return true;
  if (*other.ticks != *ownTicks) return *other.ticks < *ownTicks;
  return otherId < ownId;
}

int CountInstances(Processes& processes) {
  std::vector<ProcessEntry> list = processes.RunningProcesses();
  const std::string own = processes.OwnExecutable();
  const std::uint32_t ownId = processes.OwnId();
  const std::optional<std::uint64_t> ownTicks = processes.StartOf(ownId).ticks;
  int count = 0;
  for (size_t i = 1; i < list.size(); ++i) {
    if (list[i].executable != own) continue;
    if (list[i].id == ownId ||
        StartedBefore(list[i].id, processes.StartOf(list[i].id), ownId, ownTicks)) {
      ++count;
    }
  }
  return count;
}

void CheckSingleInstance(Program& program) {
  Processes& processes = program.services.processes;
  program.records.instanceCount += CountInstances(processes);
  if (program.records.instanceCount >= 2) {
    program.services.tray.Notify(kDuplicateTitle, kDuplicateText, shell::kInfoIcon);
    // The icon stays, so the notice remains readable after this copy is gone.
    processes.EndProcess(0);
  }
}

}  // namespace app
