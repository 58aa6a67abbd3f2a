// See storage_reading.h.
#include "disk/storage_reading.h"

#include <algorithm>
#include <utility>

#include "disk/smart_decode.h"

namespace disk {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct DriveReading {
  std::vector<std::string> lines;
  bool failing = false;
};

DriveReading ReadDrive(StorageDrives& drives, int drive, Bus bus, bool wantLines) {
  DriveReading reading;
  Bytes nvme;
  if (bus != Bus::kAta) {
    nvme = drives.Ask(drive, NvmeHealthLogRequest(false));
    if (!NvmeLogOf(nvme)) nvme = drives.Ask(drive, NvmeHealthLogRequest(true));
  }
  // Every bus: an NVMe drive's driver answers the flag too, from the same
  // warnings; its table is not an ATA one and is not decoded.
  const Bytes predict = drives.Ask(drive, PredictFailureRequest());
  reading.failing = PredictFailureFlag(predict).value_or(false) || NvmePredictsFailure(nvme).value_or(false);
  if (!wantLines) return reading;

  reading.lines = DecodeNvmeHealthReply(nvme);
  if (reading.lines.empty() && bus != Bus::kNvme) reading.lines = DecodePredictFailure(predict);
  const bool hasTemperature = std::any_of(reading.lines.begin(), reading.lines.end(),
                                          [](const std::string& l) { return IsTemperatureLine(l); });
  if (!hasTemperature) {
    if (const auto celsius = DecodeTemperatureReply(drives.Ask(drive, TemperatureRequest()))) {
      reading.lines.push_back(TemperatureLine(*celsius));
    }
  }
  return reading;
}

}  // namespace

DiskReading ReadDiskHealth(WmiReading wmi, StorageDrives& drives) {
  DiskReading reading{std::move(wmi.lines)};
  reading.failing = wmi.failing;
  bool sata = false;
  for (int drive = 0; drive < kMaxDrives; ++drive) {
    if (!drives.Exists(drive)) continue;  // a gap, not the end
    const Bus bus = DecodeBus(drives.Ask(drive, DeviceDescriptorRequest()));
    sata = sata || bus == Bus::kAta;
    DriveReading found = ReadDrive(drives, drive, bus, reading.lines.empty());
    reading.failing = reading.failing || found.failing;
    if (reading.lines.empty()) reading.lines = std::move(found.lines);
  }
  if (reading.lines.empty()) {
    reading.why = sata && !drives.Elevated() ? Unread::kNeedsAdministrator : Unread::kDriveSilent;
  }
  return reading;
}

}  // namespace disk
