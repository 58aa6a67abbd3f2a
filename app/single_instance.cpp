// See single_instance.h. The first entry of the list is never examined: on
// the systems the program was made for it is the system's idle process, and
// the rule is kept as it is so that counting stays what users of the program
// have always seen. Only copies started before this one count against it: two
// copies started together each used to count the other at once and both
// ended, leaving none running. Only copies in this log-on session count: a
// second user on the PC (fast user switching, Remote Desktop) used to be kept
// out for as long as the first user's copy ran.
#include "app/single_instance.h"

#include <string_view>

#include "app/program.h"

namespace app {

namespace {

// File names as the file system compares them: ordinally, ignoring the case
// of letters. Only ASCII letters are folded, byte by byte (no byte of a
// multi-byte UTF-8 character is an ASCII one); other letters compare exactly,
// and the program's own name is ASCII.
bool SameFileName(std::string_view a, std::string_view b) {
  auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

}  // namespace

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
  const std::optional<std::uint32_t> ownSession = processes.SessionOf(ownId);
  int count = 0;
  for (size_t i = 1; i < list.size(); ++i) {
    if (!SameFileName(list[i].executable, own)) continue;
    if (list[i].id == ownId) {
      ++count;
      continue;
    }
    // Counted only when shown to run in this session: another user's copy
    // cannot be asked, and counting it would keep this user out.
    const std::optional<std::uint32_t> session = processes.SessionOf(list[i].id);
    if (!session || session != ownSession) continue;
    if (StartedBefore(list[i].id, processes.StartOf(list[i].id), ownId, ownTicks)) ++count;
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
