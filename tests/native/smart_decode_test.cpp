// The SMART decoder, the storage driver's requests and replies, and the
// reading that tries each source in turn.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "disk/smart_decode.h"
#include "disk/storage_reading.h"

namespace {

using disk::DecodeSmartLines;
using disk::MemberToByte;

std::string Hours(unsigned h) { return "硬盘已经使用了:" + std::to_string(h) + "个小时\r\n"; }
std::string Temp(int t) { return "硬盘当前温度:" + std::to_string(t) + "摄氏度\r\n"; }

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
      // Records cut from offset 0 took the header byte 9 for an ID and missed both.
      {"header dropped before the cut", [] {
         auto b = Table(26, {{0, 194, 33}, {1, 9, 0x1B}});
         b[0] = b[12] = 9;  // the header, and byte 10 of record 1
         return b;
       }(), {Temp(33), Hours(27)}},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeSmartLines(c.bytes), c.lines) << c.what;
}

// Whatever the compiler's execution character set.
TEST(DecodeSmartLines, LinesAreUtf8WithCrLf) {
  EXPECT_EQ(DecodeSmartLines(Table(14, {{0, 9, 0x88, 0x13}})),
            std::vector<std::string>{"\xE7\xA1\xAC\xE7\x9B\x98\xE5\xB7\xB2\xE7\xBB\x8F\xE4\xBD\xBF\xE7\x94\xA8"
                                     "\xE4\xBA\x86:5000\xE4\xB8\xAA\xE5\xB0\x8F\xE6\x97\xB6\r\n"});
}

using Bytes = std::vector<std::uint8_t>;

// Little-endian values written into a buffer of `size` zero bytes.
Bytes Buffer(std::size_t size, std::initializer_list<std::pair<std::size_t, std::uint64_t>> at,
             std::size_t width = 4) {
  Bytes b(size);
  for (auto [offset, value] : at) {
    for (std::size_t i = 0; i < width && offset + i < size; ++i) b[offset + i] = (value >> (8 * i)) & 0xFF;
  }
  return b;
}
// A health log: 35 degrees (308 K) and 5000 hours; an NVMe reply holding it.
Bytes Log(std::size_t size = 512) { return Buffer(size, {{1, 308}, {128, 5000}}, 2); }
Bytes Reply(std::uint32_t version, std::uint32_t offset, std::uint32_t length, std::size_t size = 560) {
  Bytes r = Buffer(size, {{0, version}, {4, 48}, {24, offset}, {28, length}});
  const Bytes log = Log();
  if (8 + std::size_t{offset} + 512 <= size) std::copy(log.begin(), log.end(), r.begin() + 8 + offset);
  return r;
}

// Short or malformed replies give nothing rather than a 0 that was never read.
TEST(StorageReplies, ReadWhatTheyHoldAndNothingElse) {
  const std::vector<std::string> both{Hours(5000), Temp(35)};
  EXPECT_EQ(disk::DecodeNvmeHealthLog(Log()), both);
  EXPECT_TRUE(disk::DecodeNvmeHealthLog(Log(511)).empty());
  Bytes big = Buffer(512, {{128, 0}, {136, 1}}, 8);  // 2^64 hours, temperature not reported
  EXPECT_EQ(disk::DecodeNvmeHealthLog(big), std::vector<std::string>{"硬盘已经使用了:18446744073709551616个小时\r\n"});
  EXPECT_EQ(disk::DecodeNvmeHealthReply(Reply(48, 40, 512)), both);
  for (const Bytes& bad : {Reply(44, 40, 512), Reply(48, 20, 512), Reply(48, 40, 511),
                           Reply(48, 40, 512, 559), Reply(48, 0xFFFFFFF0, 512), Bytes(35)}) {
    EXPECT_TRUE(disk::DecodeNvmeHealthReply(bad).empty());
  }
  Bytes predict = Table(4 + 512, {{0, 9, 0x88, 0x13}, {1, 194, 35}});  // the table after a 4-byte flag
  predict.insert(predict.begin(), 4, 0);
  predict.resize(4 + 512);
  EXPECT_EQ(disk::DecodePredictFailure(predict), both);
  // The page's bytes after its 30 records are no attributes: 374 = 9 and
  // 386 = 0xC2 made a "0 hours" and a "77 degrees" line.
  predict[4 + 374] = 9;
  predict[4 + 386] = 0xC2;
  predict[4 + 386 + 5] = 77;
  EXPECT_EQ(disk::DecodePredictFailure(predict), both);
  predict.pop_back();
  EXPECT_TRUE(disk::DecodePredictFailure(predict).empty());
  EXPECT_EQ(disk::DecodeTemperatureReply(Buffer(40, {{12, 1}, {26, 0xFFFB}}, 2)), -5);
  EXPECT_EQ(disk::DecodeTemperatureReply(Buffer(40, {{26, 40}}, 2)), std::nullopt);  // no sensor
  EXPECT_EQ(disk::DecodeTemperatureReply(Buffer(39, {{12, 1}, {26, 40}}, 2)), std::nullopt);
}

// The requests as the platform documents them: STORAGE_PROPERTY_QUERY
// (PropertyId, QueryType, padding to 12), and for the NVMe log the protocol
// data header after it (NVMe 3, log page 2, page 02h, the log 40 bytes after
// the header, 512 long). A wrong byte is a query the driver refuses, which
// under Wine looks like a silent drive.
TEST(StorageRequests, LaidOutAsDocumented) {
  Bytes nvme = Buffer(560, {{8, 3}, {12, 2}, {16, 2}, {24, 40}, {28, 512}});
  const struct {
    disk::StorageRequest request;
    std::uint32_t code;
    Bytes input;
    std::size_t replySize;
  } cases[] = {{disk::DeviceDescriptorRequest(), 0x002D1400, Bytes(12, 0), 40},
               {disk::TemperatureRequest(), 0x002D1400, Buffer(12, {{0, 52}}), 1024},
               {disk::PredictFailureRequest(), 0x002D1100, {}, 516},
               {disk::NvmeHealthLogRequest(false), 0x002D1400, (nvme[0] = 50, nvme), 560},
               {disk::NvmeHealthLogRequest(true), 0x002D1400, (nvme[0] = 49, nvme), 560}};
  for (const auto& c : cases) {
    EXPECT_EQ(std::tie(c.request.code, c.request.input, c.request.replySize),
              std::tie(c.code, c.input, c.replySize));
  }
}

// The drive's own verdict, from each source, failing and healthy.
TEST(StorageReplies, VerdictOfEachSource) {
  using V = std::optional<bool>;
  EXPECT_EQ(disk::PredictFailureFlag(Bytes{0, 0, 0}), V());
  EXPECT_EQ(disk::PredictFailureFlag(Bytes(516, 0)), V(false));
  EXPECT_EQ(disk::PredictFailureFlag(Bytes{0, 0, 0, 1}), V(true));
  EXPECT_EQ(disk::NvmePredictsFailure(Reply(48, 40, 511)), V());
  // Critical Warning bits (byte 0; bit 5 is not one of wear or failure), Percentage Used (byte 5).
  for (auto [at, value, failing] : {std::tuple{0, 0x01, true}, {0, 0x02, true}, {0, 0x04, true}, {0, 0x08, true},
                                    {0, 0x10, true}, {0, 0x20, false}, {5, 99, false}, {5, 100, true}, {5, 255, true}}) {
    Bytes reply = Reply(48, 40, 512);
    reply[48 + at] = static_cast<std::uint8_t>(value);
    EXPECT_EQ(disk::NvmePredictsFailure(reply), V(failing)) << at << " " << value;
  }
}

// Drives by number with their STORAGE_BUS_TYPE, replies by query and drive
// ("predict0", "adapter1"), and what it was asked, in order.
struct FakeDrives : disk::StorageDrives {
  std::map<int, std::uint32_t> buses;
  std::map<std::string, Bytes> replies;
  bool elevated = false;
  std::string asked;
  bool Exists(int d) override { return buses.contains(d); }
  Bytes Ask(int d, const disk::StorageRequest& r) override {
    const int property = r.input.empty() ? -1 : r.input[0];
    if (property == 0) return Buffer(40, {{28, buses[d]}});
    const char* query = property == 49 ? "adapter" : property == 50 ? "device" : property == 52 ? "temperature" : "predict";
    asked += query + std::to_string(d) + " ";
    return replies[query + std::to_string(d)];
  }
  bool Elevated() override { return elevated; }
};

TEST(StorageReading, WmiFirstThenEachDriveByItsBusAndTheTemperatureLast) {
  FakeDrives drives;
  drives.buses = {{0, 0x0B}, {2, 0x11}, {3, 0x11}};  // SATA, a gap, two NVMe
  EXPECT_EQ(disk::ReadDiskHealth({{Hours(1)}}, drives).lines, std::vector<std::string>{Hours(1)});
  EXPECT_EQ(drives.asked, "predict0 device2 adapter2 predict2 device3 adapter3 predict3 ");  // verdicts only
  drives.asked.clear();
  drives.replies["adapter2"] = Reply(48, 40, 512);
  drives.replies["adapter2"][49] = drives.replies["adapter2"][50] = 0;  // no composite temperature
  drives.replies["temperature2"] = Buffer(40, {{12, 1}, {26, 41}}, 2);
  EXPECT_EQ(disk::ReadDiskHealth({}, drives).lines, (std::vector<std::string>{Hours(5000), Temp(41)}));
  EXPECT_EQ(drives.asked, "predict0 temperature0 device2 adapter2 predict2 temperature2 device3 adapter3 predict3 ");
  // Nothing anywhere: a SATA drive without elevation is a matter of rights.
  drives.replies.clear();
  EXPECT_EQ(disk::ReadDiskHealth({}, drives).why, disk::Unread::kNeedsAdministrator);
  drives.elevated = true;
  EXPECT_EQ(disk::ReadDiskHealth({}, drives).why, disk::Unread::kDriveSilent);
  drives.buses = {{0, 0x11}};
  drives.elevated = false;
  EXPECT_EQ(disk::ReadDiskHealth({}, drives).why, disk::Unread::kDriveSilent);
}

TEST(StorageReading, AnyDiskThatPredictsItsFailureIsTold) {
  Bytes worn = Reply(48, 40, 512);
  worn[48 + 5] = 100;  // Percentage Used
  for (const auto& [wmi, replies, failing] : std::initializer_list<std::tuple<bool, std::map<std::string, Bytes>, bool>>{
           {false, {{"predict0", Bytes(516, 0)}, {"device1", Reply(48, 40, 512)}}, false},  // all healthy
           {true, {}, true},                                                               // WMI's verdict
           {false, {{"predict5", Bytes{1, 0, 0, 0}}}, true},  // the flag of a disk behind a gap
           {false, {{"predict0", Bytes(516, 0)}, {"device1", worn}}, true}}) {
    FakeDrives drives;
    drives.buses = {{0, 0x0B}, {1, 0x11}, {5, 0x0B}};
    drives.replies = replies;
    EXPECT_EQ(disk::ReadDiskHealth({{Hours(1)}, wmi}, drives).failing, failing) << wmi << replies.size();
  }
}

}  // namespace
