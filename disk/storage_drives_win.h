// StorageDrives on Windows: each query opens \\.\PhysicalDriveN with no
// access right at all and read/write sharing, which every user may do, and
// asks the storage driver through DeviceIoControl.
#pragma once

#include <cstdint>
#include <vector>

#include "disk/storage_reading.h"

namespace disk {

// What NvmeHealthLog sends: the protocol-specific property query of the
// device or of its adapter, asking for the health log page, with room for
// the page behind it (only a real NVMe driver ever reads it).
std::vector<std::uint8_t> NvmeHealthLogRequest(bool adapter);

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
