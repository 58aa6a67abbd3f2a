// Decoding of the disk's SMART attribute table into the report lines. The
// table arrives as the members of an automation array, one number per byte:
// a 2-byte revision header followed by 12-byte attribute records. Only the
// power-on hours (attribute 9) and the temperature (attribute 194) are shown.
// Everything here takes bytes or numbers and returns values; any input, however
// malformed, gives a defined result.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
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
// rest is cut into 12-byte records (a trailing partial record is ignored, and
// so is everything after the 30th record: the attribute area of the SMART
// page ends there, and the page's later bytes are no attributes), and
// each record with ID 9 or 194 gives one line, in record order:
//   9   -> "硬盘已经使用了:" H "个小时"  with H = byte 5 + 256 x byte 6
//   194 -> "硬盘当前温度:" T "摄氏度"    with T = byte 5
// Every line ends with CR LF. The text is UTF-8.
std::vector<std::string> DecodeSmartLines(std::span<const std::uint8_t> attributeBytes);

// The two report lines, whichever way the values were read.
std::string HoursLine(std::string_view hours);
std::string TemperatureLine(long long celsius);
bool IsTemperatureLine(std::string_view line);

// The storage driver's replies (IOCTL_STORAGE_QUERY_PROPERTY and
// IOCTL_STORAGE_PREDICT_FAILURE), read from their bytes, little-endian as
// the platform lays them out. A reply too short for what it says it holds,
// or whose parts point outside it, gives nothing; no value that was not in
// the reply is ever given as 0.

// The NVMe SMART / health log (page 02h, 512 bytes): the power-on hours
// (bytes 128-143, a 128-bit count, written in full) and then the composite
// temperature (bytes 1-2, kelvin; 0 means the drive does not report it). A
// log shorter than 512 bytes gives nothing.
std::vector<std::string> DecodeNvmeHealthLog(std::span<const std::uint8_t> log);
// A protocol-specific query's reply: the descriptor (Version and Size, both
// its own size, then the protocol data header, whose offset, counted from
// that header, and length say where the log lies) and the log.
std::vector<std::string> DecodeNvmeHealthReply(std::span<const std::uint8_t> reply);
// The reply's 512-byte health log, where the descriptor says it lies.
std::optional<std::span<const std::uint8_t>> NvmeLogOf(std::span<const std::uint8_t> reply);
// The drive's own verdict in that log: true when a Critical Warning bit of
// wear or failure is set (spare, temperature, reliability, read-only,
// volatile memory backup) or Percentage Used has reached 100; nullopt
// without a log.
std::optional<bool> NvmePredictsFailure(std::span<const std::uint8_t> reply);
// The predict-failure reply's verdict: its first 4 bytes, the driver's
// PredictFailure flag, non-zero when the drive predicts its failure; nullopt
// for a reply shorter than that.
std::optional<bool> PredictFailureFlag(std::span<const std::uint8_t> reply);
// The predict-failure reply: a 4-byte flag, then the drive's 512-byte SMART
// attribute table as WMI carries it, decoded by DecodeSmartLines.
std::vector<std::string> DecodePredictFailure(std::span<const std::uint8_t> reply);
// The temperature query's reply: a 24-byte descriptor whose count (bytes
// 12-13) says how many 16-byte sensor records follow; the first sensor's
// temperature (bytes 2-3 of its record, signed, Celsius).
std::optional<int> DecodeTemperatureReply(std::span<const std::uint8_t> reply);

}  // namespace disk
