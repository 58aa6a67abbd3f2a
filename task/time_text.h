// Text-to-integer conversion of the time fields. Total: any text gives a
// defined value and nothing overflows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace task {

// Leading blanks are skipped, then one optional sign, then decimal digits up
// to the first other character ("07" gives 7, " 12ab" 12, "-3" -3). Digits,
// signs and blanks count in their full-width forms too ("１８" gives 18): a
// Chinese input method in full-width mode types those. A value beyond the
// range of int is held at its limit. nullopt when no digit follows the blanks
// and the sign: there is no number to read.
std::optional<int> TextToNumber(std::string_view utf8);

// TextToNumber, with 0 where there is no number (the spin steps count up
// from there).
int TextToInt(std::string_view utf8);

// A plain decimal number without leading zeros ("9", not "09").
std::string IntToText(int value);

// A clock field's two digits, as the form writes them ("09"); `value` must
// lie in 0..99.
std::string TwoDigits(int value);

}  // namespace task
