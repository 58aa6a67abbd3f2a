// The disk's hours and temperature read through the storage driver, for
// when WMI yields neither: its data classes answer administrators only, and
// only for drives that answer ATA SMART (not NVMe, not USB). A handle to a
// physical disk opened without any access right is enough for these
// queries, so they work for every user. Every drive is also asked whether it
// predicts its own failure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "disk/smart_report.h"
#include "disk/storage_requests.h"

namespace disk {

// The storage driver of \\.\PhysicalDriveN. The Win32 implementation is
// storage_drives_win.h; tests fake it and see every request.
class StorageDrives {
 public:
  virtual ~StorageDrives() = default;
  // Whether the drive number names a drive; numbers have gaps where a
  // removable disk was taken out, so one that does not is skipped.
  virtual bool Exists(int drive) = 0;
  // The reply's bytes, cut to what the driver wrote; empty when the call fails.
  virtual std::vector<std::uint8_t> Ask(int drive, const StorageRequest& request) = 0;
  // Whether the program runs with an administrator's full rights.
  virtual bool Elevated() = 0;
};

// More physical disks than any machine has: a driver that answers for every
// number cannot keep the reading going.
inline constexpr int kMaxDrives = 64;

// What WMI gave: its report lines, and whether any drive it knows predicts
// its failure.
struct WmiReading {
  std::vector<std::string> lines;
  bool failing = false;
};

// The lines: WMI's when it gave any; otherwise the first drive, from drive 0
// up, that gives a reading: an NVMe drive its health log (the device, then
// the adapter), an ATA drive its predict-failure table, any drive the
// temperature query where the temperature is still missing. A drive on
// another bus, or one that does not say, is asked both ways: behind a RAID
// or SCSI controller either kind may answer. The lines are those WMI would
// give, in its order. With no reading, why: not elevated with a SATA drive
// present is a matter of rights, anything else the drive's.
// Failing: WMI's verdict, or any drive's own (the predict-failure flag, the
// NVMe health log's warnings): a failing disk is told of whichever disk's
// values the report shows.
DiskReading ReadDiskHealth(WmiReading wmi, StorageDrives& drives);

}  // namespace disk
