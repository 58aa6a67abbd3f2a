// What the program asks of the storage driver, as the bytes DeviceIoControl
// carries, and the one reply field it needs before it knows which question to
// ask next (the drive's bus). Written out by hand from the documented layouts
// rather than from the SDK's structures: those differ between SDK versions
// (the protocol data header grew from 28 to 40 bytes), and a request laid out
// wrongly is answered with nothing, which no tier under Wine could tell from a
// drive that keeps silent. All fields little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace disk {

// CTL_CODE(IOCTL_STORAGE_BASE 0x2D, function, METHOD_BUFFERED, FILE_ANY_ACCESS):
// no access right is needed, so a handle opened with none may ask.
inline constexpr std::uint32_t kIoctlStorageQueryProperty = 0x002D1400;    // function 0x500
inline constexpr std::uint32_t kIoctlStoragePredictFailure = 0x002D1100;  // function 0x440

struct StorageRequest {
  std::uint32_t code = 0;
  std::vector<std::uint8_t> input;  // the input buffer; the reply comes back in its own
  std::size_t replySize = 0;        // bytes offered for the reply
};

// STORAGE_PROPERTY_QUERY for StorageDeviceProperty: the device descriptor,
// whose BusType says how to ask for the rest.
StorageRequest DeviceDescriptorRequest();
// STORAGE_PROPERTY_QUERY for the NVMe SMART / health log (page 02h), with the
// protocol data header behind it and room for the 512-byte log, asked of the
// device (StorageDeviceProtocolSpecificProperty) or of its adapter.
StorageRequest NvmeHealthLogRequest(bool adapter);
// IOCTL_STORAGE_PREDICT_FAILURE takes no input; its reply is the 4-byte
// failure flag and the 512-byte SMART table (STORAGE_PREDICT_FAILURE).
StorageRequest PredictFailureRequest();
// STORAGE_PROPERTY_QUERY for StorageDeviceTemperatureProperty.
StorageRequest TemperatureRequest();

enum class Bus { kUnknown, kAta, kNvme, kOther };  // kAta: ATA and SATA

// The BusType of a STORAGE_DEVICE_DESCRIPTOR reply (bytes 28-31); kUnknown
// for a reply too short to hold it.
Bus DecodeBus(std::span<const std::uint8_t> descriptor);

}  // namespace disk
