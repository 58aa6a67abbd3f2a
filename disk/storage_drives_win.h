// StorageDrives on Windows: each request opens \\.\PhysicalDriveN with no
// access right at all and read/write sharing, which every user may do, and
// hands the request's bytes to the storage driver through DeviceIoControl.
#pragma once

#include "disk/storage_reading.h"

namespace disk {

class Win32StorageDrives final : public StorageDrives {
 public:
  bool Exists(int drive) override;
  std::vector<std::uint8_t> Ask(int drive, const StorageRequest& request) override;
  bool Elevated() override;
};

}  // namespace disk
