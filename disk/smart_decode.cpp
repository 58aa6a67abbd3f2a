// SMART attribute table to report lines; see smart_decode.h for the rules.
#include "disk/smart_decode.h"

#include <cmath>
#include <cstddef>

namespace disk {
namespace {

constexpr std::size_t kHeaderSize = 2;
constexpr std::size_t kRecordSize = 12;
constexpr std::uint8_t kPowerOnHours = 9;
constexpr std::uint8_t kTemperature = 194;

// 2^63 exactly; every double below it in magnitude converts to int64_t.
constexpr double kTwoPow63 = 9223372036854775808.0;

double RoundHalfToEven(double x) {
  const double nearest = std::round(x);  // halves away from zero
  if (std::fabs(x - std::trunc(x)) == 0.5 && std::fmod(nearest, 2.0) != 0.0) {
    return nearest - std::copysign(1.0, x);
  }
  return nearest;
}

}  // namespace

std::uint8_t MemberToByte(double member) {
  if (!std::isfinite(member)) return 0;
  const double rounded = RoundHalfToEven(member);
  // The range check comes before the conversion: converting an out-of-range
  // double to an integer is undefined, not merely wrapped.
  if (rounded < -kTwoPow63 || rounded >= kTwoPow63) return 0;
  const auto whole = static_cast<std::int64_t>(rounded);
  return static_cast<std::uint8_t>(static_cast<std::uint64_t>(whole) & 0xFFu);
}

std::vector<std::string> DecodeSmartLines(std::span<const std::uint8_t> attributeBytes) {
  std::vector<std::string> lines;
  if (attributeBytes.size() <= kHeaderSize) return lines;
  const auto records = attributeBytes.subspan(kHeaderSize);
  const std::size_t count = records.size() / kRecordSize;
  for (std::size_t j = 0; j < count; ++j) {
    const auto record = records.subspan(j * kRecordSize, kRecordSize);
    if (record[0] == kPowerOnHours) {
      const unsigned hours = record[5] + 256u * record[6];
      lines.push_back("硬盘已经使用了:" + std::to_string(hours) + "个小时\r\n");
    } else if (record[0] == kTemperature) {
      lines.push_back("硬盘当前温度:" + std::to_string(record[5]) + "摄氏度\r\n");
    }
  }
  return lines;
}

}  // namespace disk
