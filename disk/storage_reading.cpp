// See storage_reading.h.
#include "disk/storage_reading.h"

#include <algorithm>
#include <utility>

#include "disk/smart_decode.h"

namespace disk {
namespace {

// More physical disks than any machine has: a driver that answers for every
// number cannot keep the reading going.
constexpr int kMaxDrives = 64;

std::vector<std::string> ReadDrive(StorageDrives& drives, int drive, StorageDrives::Bus bus) {
  using Bus = StorageDrives::Bus;
  std::vector<std::string> lines;
  if (bus != Bus::kAta) {
    lines = DecodeNvmeHealthReply(drives.NvmeHealthLog(drive, false));
    if (lines.empty()) lines = DecodeNvmeHealthReply(drives.NvmeHealthLog(drive, true));
  }
  if (lines.empty() && bus != Bus::kNvme) {
    lines = DecodePredictFailure(drives.PredictFailure(drive));
  }
  const bool hasTemperature =
      std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return IsTemperatureLine(l); });
  if (!hasTemperature) {
    if (const auto celsius = DecodeTemperatureReply(drives.Temperature(drive))) {
      lines.push_back(TemperatureLine(*celsius));
    }
  }
  return lines;
}

}  // namespace

DiskReading ReadDiskHealth(std::vector<std::string> wmiLines, StorageDrives& drives) {
  if (!wmiLines.empty()) return {std::move(wmiLines)};
  bool sata = false;
  for (int drive = 0; drive < kMaxDrives && drives.Exists(drive); ++drive) {
    const StorageDrives::Bus bus = drives.BusOf(drive);
    sata = sata || bus == StorageDrives::Bus::kAta;
    if (std::vector<std::string> lines = ReadDrive(drives, drive, bus); !lines.empty()) {
      return {std::move(lines)};
    }
  }
  return {{}, sata && !drives.Elevated() ? Unread::kNeedsAdministrator : Unread::kDriveSilent};
}

}  // namespace disk
