// StorageDrives on Windows: each request opens \\.\PhysicalDriveN with no
// access right at all and read/write sharing, which every user may do, and
// hands the request's bytes to the storage driver through DeviceIoControl.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "disk/storage_reading.h"

namespace disk {

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
  std::vector<std::uint8_t> Ask(int drive, const StorageRequest& request) override;
  bool Elevated() override;

 private:
  DriverCall call_;
};

}  // namespace disk
