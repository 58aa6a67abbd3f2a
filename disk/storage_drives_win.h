// StorageDrives on Windows: each query opens \\.\PhysicalDriveN with no
// access right at all and read/write sharing, which every user may do, and
// asks the storage driver through DeviceIoControl.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "disk/storage_reading.h"

namespace disk {

// What NvmeHealthLog sends: the protocol-specific property query of the
// device or of its adapter, asking for the health log page, with room for
// the page behind it (only a real NVMe driver ever reads it).
std::vector<std::uint8_t> NvmeHealthLogRequest(bool adapter);

// DeviceIoControl without overlapped I/O: the one call that reaches the
// storage driver. A test answers in its place; Wine's driver answers none.
using DriverCall = BOOL (*)(HANDLE device, DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                            DWORD* written);
BOOL RealDriverCall(HANDLE device, DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                    DWORD* written);

class Win32StorageDrives final : public StorageDrives {
 public:
  explicit Win32StorageDrives(DriverCall call = &RealDriverCall) : call_(call) {}
  bool Exists(int drive) override;
  Bus BusOf(int drive) override;
  std::vector<std::uint8_t> NvmeHealthLog(int drive, bool adapter) override;
  std::vector<std::uint8_t> PredictFailure(int drive) override;
  std::vector<std::uint8_t> Temperature(int drive) override;
  bool Elevated() override;

 private:
  DriverCall call_;
};

}  // namespace disk
