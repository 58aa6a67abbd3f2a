// Text-to-integer conversion of the time fields. Total: any text gives a
// defined value and nothing overflows.
#pragma once

#include <string>
#include <string_view>

namespace task {

// Leading blanks are skipped, then one optional sign, then decimal digits up
// to the first other character ("07" gives 7, " 12ab" 12, "-3" -3). No digits
// give 0; a value beyond the range of int is held at its limit.
int TextToInt(std::string_view text);

// A plain decimal number without leading zeros ("9", not "09").
std::string IntToText(int value);

}  // namespace task
