// See storage_drives_win.h. The requests follow the platform's documented
// layouts; the replies go back as bytes, for smart_decode.h to read.
#include "disk/storage_drives_win.h"

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "ui/scoped_win.h"
#include "ui/system_ui_win.h"

namespace disk {
namespace {

constexpr DWORD kNvmeHealthLogPage = 0x02;
constexpr DWORD kNvmeLogSize = 512;
// Room for a temperature descriptor with a few dozen sensors.
constexpr DWORD kTemperatureReplySize = 1024;

// No access right: the queries below ask for none, so no rights are needed
// to open the disk for them.
ui::UniqueKernelHandle OpenDrive(int drive) {
  const std::wstring path = L"\\\\.\\PhysicalDrive" + std::to_wstring(drive);
  return ui::UniqueKernelHandle(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
}

// The reply, cut to what the driver wrote; empty when the call fails.
std::vector<std::uint8_t> Ask(DriverCall call, int drive, DWORD code, std::vector<std::uint8_t> request,
                              DWORD replySize) {
  ui::UniqueKernelHandle file = OpenDrive(drive);
  if (!file) return {};
  std::vector<std::uint8_t> reply(std::max<std::size_t>(replySize, request.size()));
  std::memcpy(reply.data(), request.data(), request.size());
  DWORD written = 0;
  if (!call(file.Get(), code, reply.data(), static_cast<DWORD>(request.size()), reply.data(),
            static_cast<DWORD>(reply.size()), &written)) {
    return {};
  }
  reply.resize(std::min<std::size_t>(written, reply.size()));
  return reply;
}

std::vector<std::uint8_t> PropertyQuery(STORAGE_PROPERTY_ID property) {
  STORAGE_PROPERTY_QUERY query{};
  query.PropertyId = property;
  query.QueryType = PropertyStandardQuery;
  std::vector<std::uint8_t> bytes(sizeof query);
  std::memcpy(bytes.data(), &query, sizeof query);
  return bytes;
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

StorageDrives::Bus Win32StorageDrives::BusOf(int drive) {
  const std::vector<std::uint8_t> reply =
      Ask(call_, drive, IOCTL_STORAGE_QUERY_PROPERTY, PropertyQuery(StorageDeviceProperty),
          sizeof(STORAGE_DEVICE_DESCRIPTOR));
  if (reply.size() < offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType) + sizeof(STORAGE_BUS_TYPE)) {
    return Bus::kUnknown;
  }
  STORAGE_BUS_TYPE bus{};
  std::memcpy(&bus, reply.data() + offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType), sizeof bus);
  switch (bus) {
    case BusTypeAta:
    case BusTypeSata: return Bus::kAta;
    case BusTypeNvme: return Bus::kNvme;
    case BusTypeUnknown: return Bus::kUnknown;
    default: return Bus::kOther;
  }
}

std::vector<std::uint8_t> NvmeHealthLogRequest(bool adapter) {
  // The query, then the protocol data header it carries, then room for the
  // log: the reply comes back in the same buffer, as a descriptor.
  constexpr std::size_t kHeaderAt = offsetof(STORAGE_PROPERTY_QUERY, AdditionalParameters);
  std::vector<std::uint8_t> request =
      PropertyQuery(adapter ? StorageAdapterProtocolSpecificProperty : StorageDeviceProtocolSpecificProperty);
  request.resize(kHeaderAt + sizeof(STORAGE_PROTOCOL_SPECIFIC_DATA) + kNvmeLogSize);
  STORAGE_PROTOCOL_SPECIFIC_DATA data{};
  data.ProtocolType = ProtocolTypeNvme;
  data.DataType = NVMeDataTypeLogPage;
  data.ProtocolDataRequestValue = kNvmeHealthLogPage;
  data.ProtocolDataOffset = sizeof(STORAGE_PROTOCOL_SPECIFIC_DATA);
  data.ProtocolDataLength = kNvmeLogSize;
  std::memcpy(request.data() + kHeaderAt, &data, sizeof data);
  return request;
}

std::vector<std::uint8_t> Win32StorageDrives::NvmeHealthLog(int drive, bool adapter) {
  std::vector<std::uint8_t> request = NvmeHealthLogRequest(adapter);
  const DWORD size = static_cast<DWORD>(request.size());
  return Ask(call_, drive, IOCTL_STORAGE_QUERY_PROPERTY, std::move(request), size);
}

std::vector<std::uint8_t> Win32StorageDrives::PredictFailure(int drive) {
  return Ask(call_, drive, IOCTL_STORAGE_PREDICT_FAILURE, {}, sizeof(STORAGE_PREDICT_FAILURE));
}

std::vector<std::uint8_t> Win32StorageDrives::Temperature(int drive) {
  return Ask(call_, drive, IOCTL_STORAGE_QUERY_PROPERTY, PropertyQuery(StorageDeviceTemperatureProperty),
             kTemperatureReplySize);
}

bool Win32StorageDrives::Elevated() { return ui::RunsElevated().value_or(false); }

}  // namespace disk
