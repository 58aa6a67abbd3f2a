// The single-instance guard: a second copy of the program says so in a tray
// notice and ends before it loads anything else.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

class Program;

inline constexpr char kDuplicateTitle[] = "Quonda程序重复！！";
inline constexpr char kDuplicateText[] = "已经运行一个QuondaHalvix！不得重复运行。";

// Entries of the process list, from the second on, whose executable name is
// exactly (byte for byte, case-sensitive) the program's own.
int CountInstances(const std::vector<std::string>& executables, std::string_view own);

// Adds the count to InstanceCount; at 2 or more shows the notice and ends the
// process with exit code 0.
void CheckSingleInstance(Program& program);

}  // namespace app
