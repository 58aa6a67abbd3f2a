// SMART attribute table to report lines; see smart_decode.h for the rules.
#include "disk/smart_decode.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace disk {
namespace {

constexpr std::size_t kHeaderSize = 2;
constexpr std::size_t kRecordSize = 12;
// The attribute area is bytes 2-361 of the 512-byte SMART page: 30 records.
// What follows (off-line status, self-test times, vendor bytes) is no
// attribute, whatever its bytes look like.
constexpr std::size_t kMaxRecords = 30;
constexpr std::uint8_t kPowerOnHours = 9;
constexpr std::uint8_t kTemperature = 194;

constexpr char kHoursPrefix[] = "硬盘已经使用了:";
constexpr char kTemperaturePrefix[] = "硬盘当前温度:";

constexpr std::size_t kNvmeLogSize = 512;
constexpr std::size_t kNvmeHoursAt = 128;
constexpr std::size_t kNvmeHoursSize = 16;
constexpr long long kKelvinOffset = 273;
// The descriptor's own header (Version, Size) and the protocol data header
// as the first systems with the query laid it out (seven 4-byte fields).
constexpr std::size_t kDescriptorHeader = 8;
constexpr std::size_t kProtocolHeader = 28;
constexpr std::size_t kProtocolOffsetAt = kDescriptorHeader + 16;
constexpr std::size_t kProtocolLengthAt = kDescriptorHeader + 20;
constexpr std::size_t kPredictFlagSize = 4;
constexpr std::size_t kSmartTableSize = 512;
constexpr std::size_t kTemperatureHeader = 24;
// The health log's Critical Warning bits the drive sets when it is wearing
// out or failing: spare below its threshold, temperature beyond one,
// reliability degraded, media read-only, volatile memory backup failed.
constexpr std::uint8_t kCriticalWarnings = 0x1F;
constexpr std::size_t kPercentageUsedAt = 5;
constexpr std::uint8_t kWornOut = 100;
constexpr std::size_t kTemperatureCountAt = 12;
constexpr std::size_t kSensorSize = 16;

std::uint32_t Le(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = size; i-- > 0;) value = (value << 8) | bytes[at + i];
  return value;
}

// A little-endian count of any width, in decimal: divided by ten again and
// again, most significant byte first.
std::string LittleEndianDecimal(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> number(bytes.rbegin(), bytes.rend());
  std::string digits;
  while (std::any_of(number.begin(), number.end(), [](std::uint8_t b) { return b != 0; })) {
    unsigned remainder = 0;
    for (std::uint8_t& b : number) {
      const unsigned current = remainder * 256 + b;
      b = static_cast<std::uint8_t>(current / 10);
      remainder = current % 10;
    }
    digits.push_back(static_cast<char>('0' + remainder));
  }
  if (digits.empty()) return std::string(1, '0');
  return std::string(digits.rbegin(), digits.rend());
}

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
  const std::size_t count = std::min(records.size() / kRecordSize, kMaxRecords);
  for (std::size_t j = 0; j < count; ++j) {
    const auto record = records.subspan(j * kRecordSize, kRecordSize);
    if (record[0] == kPowerOnHours) {
      lines.push_back(HoursLine(std::to_string(record[5] + 256u * record[6])));
    } else if (record[0] == kTemperature) {
      lines.push_back(TemperatureLine(record[5]));
    }
  }
  return lines;
}

std::string HoursLine(std::string_view hours) {
  std::string line = kHoursPrefix;
  line.append(hours).append("个小时\r\n");
  return line;
}

std::string TemperatureLine(long long celsius) {
  std::string line = kTemperaturePrefix;
  line.append(std::to_string(celsius)).append("摄氏度\r\n");
  return line;
}

bool IsTemperatureLine(std::string_view line) { return line.starts_with(kTemperaturePrefix); }

std::vector<std::string> DecodeNvmeHealthLog(std::span<const std::uint8_t> log) {
  if (log.size() < kNvmeLogSize) return {};
  std::vector<std::string> lines{HoursLine(LittleEndianDecimal(log.subspan(kNvmeHoursAt, kNvmeHoursSize)))};
  if (const std::uint32_t kelvin = Le(log, 1, 2); kelvin != 0) {
    lines.push_back(TemperatureLine(static_cast<long long>(kelvin) - kKelvinOffset));
  }
  return lines;
}

std::optional<std::span<const std::uint8_t>> NvmeLogOf(std::span<const std::uint8_t> reply) {
  if (reply.size() < kDescriptorHeader + kProtocolHeader) return std::nullopt;
  const std::uint32_t version = Le(reply, 0, 4);
  const std::uint32_t size = Le(reply, 4, 4);
  if (version != size || size < kDescriptorHeader + kProtocolHeader || size > reply.size()) {
    return std::nullopt;
  }
  const std::size_t offset = Le(reply, kProtocolOffsetAt, 4);
  const std::size_t length = Le(reply, kProtocolLengthAt, 4);
  if (offset < kProtocolHeader || length < kNvmeLogSize) return std::nullopt;
  const std::size_t start = kDescriptorHeader + offset;  // the offset counts from the header
  if (start > reply.size() || reply.size() - start < kNvmeLogSize) return std::nullopt;
  return reply.subspan(start, kNvmeLogSize);
}

std::vector<std::string> DecodeNvmeHealthReply(std::span<const std::uint8_t> reply) {
  const auto log = NvmeLogOf(reply);
  return log ? DecodeNvmeHealthLog(*log) : std::vector<std::string>{};
}

std::optional<bool> NvmePredictsFailure(std::span<const std::uint8_t> reply) {
  const auto log = NvmeLogOf(reply);
  if (!log) return std::nullopt;
  return ((*log)[0] & kCriticalWarnings) != 0 || (*log)[kPercentageUsedAt] >= kWornOut;
}

std::optional<bool> PredictFailureFlag(std::span<const std::uint8_t> reply) {
  if (reply.size() < kPredictFlagSize) return std::nullopt;
  return Le(reply, 0, kPredictFlagSize) != 0;
}

std::vector<std::string> DecodePredictFailure(std::span<const std::uint8_t> reply) {
  if (reply.size() < kPredictFlagSize + kSmartTableSize) return {};
  return DecodeSmartLines(reply.subspan(kPredictFlagSize, kSmartTableSize));
}

std::optional<int> DecodeTemperatureReply(std::span<const std::uint8_t> reply) {
  if (reply.size() < kTemperatureHeader + kSensorSize) return std::nullopt;
  if (Le(reply, kTemperatureCountAt, 2) == 0) return std::nullopt;
  return static_cast<std::int16_t>(Le(reply, kTemperatureHeader + 2, 2));
}

}  // namespace disk
