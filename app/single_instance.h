// The single-instance guard: a second copy of the program says so in a tray
// notice and ends before it loads anything else.
#pragma once

#include <cstdint>
#include <optional>

#include "app/processes.h"

namespace app {

class Program;

inline constexpr char kDuplicateTitle[] = "Quonda程序重复！！";
inline constexpr char kDuplicateText[] = "已经运行一个QuondaHalvix！不得重复运行。";

// Whether another copy came before this one: it started earlier, or on the
// same tick with the lower id (the start time's tick is coarse, and copies
// started together often share one). Every copy sees the same order, so of
// copies racing through start-up exactly one, the first, finds none before
// it. A copy that has ended does not count; one whose start cannot be asked
// does, as every same-named process did before the order was known. Only
// copies in this copy's log-on session are asked (see CountInstances).
bool StartedBefore(std::uint32_t otherId, const ProcessStart& other, std::uint32_t ownId,
                   std::optional<std::uint64_t> ownTicks);

// Entries of the process list, from the second on, whose executable name is
// the program's own, compared as the file system does (ordinal, ignoring
// case), and which are this copy or copies that run in this copy's log-on
// session and started before it. A copy whose session cannot be read does
// not count: it is another user's, or it has ended.
int CountInstances(Processes& processes);

// Adds the count to InstanceCount; at 2 or more shows the notice and ends the
// process with exit code 0.
void CheckSingleInstance(Program& program);

}  // namespace app
