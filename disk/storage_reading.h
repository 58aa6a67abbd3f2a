// The disk's hours and temperature read through the storage driver, for
// when WMI yields neither: its data classes answer administrators only, and
// only for drives that answer ATA SMART (not NVMe, not USB). A handle to a
// physical disk opened without any access right is enough for these
// queries, so they work for every user.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "disk/smart_report.h"

namespace disk {

// The storage driver's replies for \\.\PhysicalDriveN, as raw bytes (empty
// when the query fails). The Win32 implementation is storage_drives_win.h;
// tests fake it.
class StorageDrives {
 public:
  enum class Bus { kUnknown, kAta, kNvme, kOther };  // kAta: ATA and SATA

  virtual ~StorageDrives() = default;
  // Whether the drive exists; reading stops at the first that does not.
  virtual bool Exists(int drive) = 0;
  virtual Bus BusOf(int drive) = 0;
  // The NVMe health log (page 02h), asked of the device or of its adapter.
  virtual std::vector<std::uint8_t> NvmeHealthLog(int drive, bool adapter) = 0;
  virtual std::vector<std::uint8_t> PredictFailure(int drive) = 0;
  virtual std::vector<std::uint8_t> Temperature(int drive) = 0;
  // Whether the program runs with an administrator's full rights.
  virtual bool Elevated() = 0;
};

// WMI's lines when it gave any; otherwise the first drive, from drive 0 up,
// that gives a reading: an NVMe drive its health log (the device, then the
// adapter), an ATA drive its predict-failure table, any drive the
// temperature query where the temperature is still missing. A drive on
// another bus, or one that does not say, is asked both ways: behind a RAID
// or SCSI controller either kind may answer. The lines are those WMI would give, in
// its order. With no reading, why: not elevated with a SATA drive present
// is a matter of rights, anything else the drive's.
DiskReading ReadDiskHealth(std::vector<std::string> wmiLines, StorageDrives& drives);

}  // namespace disk
