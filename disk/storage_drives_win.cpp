// See storage_drives_win.h. The requests are built, and the replies read, in
// the portable storage_requests.h and smart_decode.h; here they only travel.
#include "disk/storage_drives_win.h"

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "ui/win32/system_ui_win.h"
#include "ui/win_base/scoped_win.h"

namespace disk {
namespace {

// The hand-written layouts agree with this SDK's where both exist.
static_assert(kIoctlStorageQueryProperty == IOCTL_STORAGE_QUERY_PROPERTY);
static_assert(kIoctlStoragePredictFailure == IOCTL_STORAGE_PREDICT_FAILURE);
static_assert(sizeof(STORAGE_PROPERTY_QUERY) == 12);
static_assert(sizeof(STORAGE_PROTOCOL_SPECIFIC_DATA) == 40);
static_assert(offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType) == 28);
static_assert(sizeof(STORAGE_PREDICT_FAILURE) == 516);
static_assert(StorageDeviceTemperatureProperty == 52 && StorageAdapterProtocolSpecificProperty == 49);

// No access right: the queries ask for none, so no rights are needed to open
// the disk for them.
ui::UniqueKernelHandle OpenDrive(int drive) {
  const std::wstring path = L"\\\\.\\PhysicalDrive" + std::to_wstring(drive);
  return ui::UniqueKernelHandle(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
}

}  // namespace

BOOL RealDriverCall(HANDLE device, DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                    DWORD* written) {
  return DeviceIoControl(device, code, in, inSize, out, outSize, written, nullptr);
}

bool Win32StorageDrives::Exists(int drive) {
  if (OpenDrive(drive)) return true;
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

std::vector<std::uint8_t> Win32StorageDrives::Ask(int drive, const StorageRequest& request) {
  ui::UniqueKernelHandle file = OpenDrive(drive);
  if (!file) return {};
  // METHOD_BUFFERED: input and reply share one buffer, big enough for both.
  std::vector<std::uint8_t> reply(std::max(request.replySize, request.input.size()));
  if (reply.empty()) return {};
  std::copy(request.input.begin(), request.input.end(), reply.begin());
  DWORD written = 0;
  if (!call_(file.Get(), request.code, reply.data(), static_cast<DWORD>(request.input.size()), reply.data(),
             static_cast<DWORD>(reply.size()), &written)) {
    return {};
  }
  reply.resize(std::min<std::size_t>(written, reply.size()));
  return reply;
}

bool Win32StorageDrives::Elevated() { return ui::RunsElevated().value_or(false); }

}  // namespace disk
