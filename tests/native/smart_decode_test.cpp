// The SMART decoder: the byte rule for every kind of double, the header and
// record cutting, and the two report lines with their edge values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "disk/smart_decode.h"

namespace {

using disk::DecodeSmartLines;
using disk::MemberToByte;

std::string Hours(unsigned h) { return "硬盘已经使用了:" + std::to_string(h) + "个小时\r\n"; }
std::string Temp(unsigned t) { return "硬盘当前温度:" + std::to_string(t) + "摄氏度\r\n"; }

// A table of `members` bytes (header 0x10 0x00) whose records are all ID 0
// except the given ones, placed at record positions counted from 0.
struct Rec {
  std::size_t index;
  std::uint8_t id;
  std::uint8_t b5;
  std::uint8_t b6 = 0;
  std::uint8_t b7 = 0;
};
std::vector<std::uint8_t> Table(std::size_t members, std::initializer_list<Rec> recs) {
  std::vector<std::uint8_t> bytes(members, 0);
  if (members > 0) bytes[0] = 0x10;
  for (const Rec& r : recs) {
    const std::size_t at = 2 + r.index * 12;
    if (at + 6 < members) {
      bytes[at] = r.id;
      bytes[at + 5] = r.b5;
      bytes[at + 6] = r.b6;
      if (at + 7 < members) bytes[at + 7] = r.b7;
    }
  }
  return bytes;
}

TEST(MemberToByte, DefinedForEveryDouble) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double member;
    int byte;
  } cases[] = {
      {0, 0},        {1, 1},          {136, 136},    {255, 255},    {256, 0},
      {392, 136},    {65791, 255},    {-1, 255},     {-256, 0},     {-255, 1},
      {0.4, 0},      {0.5, 0},        {1.5, 2},      {2.5, 2},      {3.5, 4},
      {35.4, 35},    {35.6, 36},      {-0.5, 0},     {-1.5, 254},   {-2.5, 254},
      {254.5, 254},  {255.5, 0},      {nan, 0},      {-nan, 0},     {inf, 0},
      {-inf, 0},     {1e300, 0},      {-1e300, 0},   {9223372036854775808.0, 0},
      {-9223372036854775808.0, 0},    // -2^63 fits: its low byte is 0
      {9223372036854774784.0, 0},     // the largest double below 2^63: low byte 0
      {4503599627370497.0, 1},        // 2^52 + 1: exact, odd
      {std::numeric_limits<double>::denorm_min(), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(MemberToByte(c.member), c.byte) << c.member;
}

TEST(DecodeSmartLines, StandardTableGivesBothLinesInRecordOrder) {
  // 362 members: 2-byte revision and 30 records; the last record counts too.
  auto bytes = Table(362, {{0, 1, 0xAA}, {3, 9, 0x88, 0x13}, {29, 194, 0x23}});
  EXPECT_EQ(DecodeSmartLines(bytes), (std::vector{Hours(5000), Temp(35)}));
  bytes = Table(362, {{2, 194, 40}, {7, 9, 1}});
  EXPECT_EQ(DecodeSmartLines(bytes), (std::vector{Temp(40), Hours(1)}));
}

TEST(DecodeSmartLines, CuttingRules) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"nothing", {}, {}},
      {"header only", Table(2, {}), {}},
      {"13 members: no whole record", Table(13, {{0, 9, 1}}), {}},
      {"14 members: one record", Table(14, {{0, 9, 7}}), {Hours(7)}},
      {"trailing partial record ignored", Table(2 + 12 + 11, {{0, 194, 30}, {1, 9, 5}}),
       {Temp(30)}},
      {"attribute present twice", Table(362, {{4, 9, 2}, {9, 9, 2}}), {Hours(2), Hours(2)}},
      {"65536 hours: raw 00 00 01", Table(362, {{0, 9, 0x00, 0x00, 0x01}}), {Hours(0)}},
      {"65791 hours: raw FF 00 01", Table(362, {{0, 9, 0xFF, 0x00, 0x01}}), {Hours(255)}},
      {"temperature 0 still a line", Table(362, {{0, 194, 0}}), {Temp(0)}},
      {"largest values", Table(362, {{0, 9, 0xFF, 0xFF}, {1, 194, 0xFF}}),
       {Hours(65535), Temp(255)}},
      {"other IDs give nothing", Table(362, {{0, 8, 1}, {1, 10, 1}, {2, 193, 1}, {3, 195, 1}}),
       {}},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeSmartLines(c.bytes), c.lines) << c.what;
}

TEST(DecodeSmartLines, HeaderIsDroppedBeforeRecordsAreCut) {
  // Record 1 starts at member 3 (offset 2). Records cut from offset 0 would
  // take the header byte 9 for an ID and miss both real records.
  std::vector<std::uint8_t> bytes(26, 0);
  bytes[0] = 9;          // header byte, not an attribute ID
  bytes[2] = 194;        // record 1, byte 0
  bytes[2 + 5] = 33;     // record 1, byte 5
  bytes[12] = 9;         // record 1, byte 10: not an ID
  bytes[14] = 9;         // record 2, byte 0
  bytes[14 + 5] = 0x1B;  // record 2, bytes 5 and 6: H = 27
  EXPECT_EQ(DecodeSmartLines(bytes), (std::vector{Temp(33), Hours(27)}));
}

TEST(DecodeSmartLines, LinesAreUtf8WithCrLf) {
  const auto lines = DecodeSmartLines(Table(14, {{0, 9, 0x88, 0x13}}));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "\xE7\xA1\xAC\xE7\x9B\x98\xE5\xB7\xB2\xE7\xBB\x8F\xE4\xBD\xBF\xE7\x94\xA8"
                      "\xE4\xBA\x86:5000\xE4\xB8\xAA\xE5\xB0\x8F\xE6\x97\xB6\r\n");
}

}  // namespace
