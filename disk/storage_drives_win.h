// StorageDrives on Windows: each query opens \\.\PhysicalDriveN with no
// access right at all and read/write sharing, which every user may do, and
// asks the storage driver through DeviceIoControl.
#pragma once

#include "disk/storage_reading.h"

namespace disk {

class Win32StorageDrives final : public StorageDrives {
 public:
  bool Exists(int drive) override;
  Bus BusOf(int drive) override;
  std::vector<std::uint8_t> NvmeHealthLog(int drive, bool adapter) override;
  std::vector<std::uint8_t> PredictFailure(int drive) override;
  std::vector<std::uint8_t> Temperature(int drive) override;
  bool Elevated() override;
};

}  // namespace disk
