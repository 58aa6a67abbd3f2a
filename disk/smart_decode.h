// Decoding of the disk's SMART attribute table into the report lines. The
// table arrives as the members of an automation array, one number per byte:
// a 2-byte revision header followed by 12-byte attribute records. Only the
// power-on hours (attribute 9) and the temperature (attribute 194) are shown.
// Everything here takes bytes or numbers and returns values; any input, however
// malformed, gives a defined result.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace disk {

// One array member, read as a number, turned into one byte. Automation hands
// members over as doubles, and converting a double that does not fit straight
// to an integer type is undefined behaviour, so the rule is spelled out:
//   - NaN, either infinity, and any value whose rounded form lies outside the
//     signed 64-bit range give 0;
//   - otherwise the value is rounded to the nearest integer, halves to the even
//     neighbour (the rounding automation's own number conversions use), and
//     the byte is that integer modulo 256 (two's complement, so -1 gives 255).
std::uint8_t MemberToByte(double member);

// The report lines of one attribute table. The 2-byte header is dropped, the
// rest is cut into 12-byte records (a trailing partial record is ignored), and
// each record with ID 9 or 194 gives one line, in record order:
//   9   -> "硬盘已经使用了:" H "个小时"  with H = byte 5 + 256 x byte 6
//   194 -> "硬盘当前温度:" T "摄氏度"    with T = byte 5
// Every line ends with CR LF. The text is UTF-8.
std::vector<std::string> DecodeSmartLines(std::span<const std::uint8_t> attributeBytes);

}  // namespace disk
