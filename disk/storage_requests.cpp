// See storage_requests.h. Offsets and values are those of the platform's
// documentation of STORAGE_PROPERTY_QUERY, STORAGE_PROTOCOL_SPECIFIC_DATA
// and STORAGE_DEVICE_DESCRIPTOR.
#include "disk/storage_requests.h"

#include <utility>

namespace disk {
namespace {

// STORAGE_PROPERTY_ID and STORAGE_QUERY_TYPE values.
constexpr std::uint32_t kStorageDeviceProperty = 0;
constexpr std::uint32_t kStorageAdapterProtocolSpecificProperty = 49;
constexpr std::uint32_t kStorageDeviceProtocolSpecificProperty = 50;
constexpr std::uint32_t kStorageDeviceTemperatureProperty = 52;
constexpr std::uint32_t kPropertyStandardQuery = 0;

// STORAGE_PROPERTY_QUERY: PropertyId, QueryType, then AdditionalParameters;
// its size is 12 (one parameter byte, padded to the enums' alignment).
constexpr std::size_t kQuerySize = 12;
constexpr std::size_t kAdditionalParametersAt = 8;
// STORAGE_PROTOCOL_SPECIFIC_DATA: ten 4-byte fields.
constexpr std::size_t kProtocolDataSize = 40;
constexpr std::uint32_t kProtocolTypeNvme = 3;
constexpr std::uint32_t kNvmeDataTypeLogPage = 2;
constexpr std::uint32_t kNvmeHealthLogPage = 0x02;
constexpr std::uint32_t kNvmeLogSize = 512;

constexpr std::size_t kDeviceDescriptorSize = 40;  // STORAGE_DEVICE_DESCRIPTOR with one raw byte
constexpr std::size_t kBusTypeAt = 28;
constexpr std::size_t kPredictFailureSize = 4 + 512;
constexpr std::size_t kTemperatureReplySize = 1024;  // a few dozen sensors

// STORAGE_BUS_TYPE values.
constexpr std::uint32_t kBusTypeUnknown = 0x00;
constexpr std::uint32_t kBusTypeAta = 0x03;
constexpr std::uint32_t kBusTypeSata = 0x0B;
constexpr std::uint32_t kBusTypeNvme = 0x11;

void Put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::uint8_t> PropertyQuery(std::uint32_t property, std::size_t size = kQuerySize) {
  std::vector<std::uint8_t> bytes(size, 0);
  Put(bytes, 0, property);
  Put(bytes, 4, kPropertyStandardQuery);
  return bytes;
}

}  // namespace

StorageRequest DeviceDescriptorRequest() {
  return {kIoctlStorageQueryProperty, PropertyQuery(kStorageDeviceProperty), kDeviceDescriptorSize};
}

StorageRequest NvmeHealthLogRequest(bool adapter) {
  // The header sits where AdditionalParameters starts, the log right after
  // it: the offset counts from the header, and the reply (a descriptor: two
  // 4-byte fields, then the same header) says again where the log lies.
  const std::size_t size = kAdditionalParametersAt + kProtocolDataSize + kNvmeLogSize;
  std::vector<std::uint8_t> bytes = PropertyQuery(
      adapter ? kStorageAdapterProtocolSpecificProperty : kStorageDeviceProtocolSpecificProperty, size);
  constexpr std::size_t h = kAdditionalParametersAt;
  Put(bytes, h + 0, kProtocolTypeNvme);
  Put(bytes, h + 4, kNvmeDataTypeLogPage);
  Put(bytes, h + 8, kNvmeHealthLogPage);      // ProtocolDataRequestValue
  Put(bytes, h + 16, kProtocolDataSize);      // ProtocolDataOffset
  Put(bytes, h + 20, kNvmeLogSize);           // ProtocolDataLength
  return {kIoctlStorageQueryProperty, std::move(bytes), size};
}

StorageRequest PredictFailureRequest() { return {kIoctlStoragePredictFailure, {}, kPredictFailureSize}; }

StorageRequest TemperatureRequest() {
  return {kIoctlStorageQueryProperty, PropertyQuery(kStorageDeviceTemperatureProperty), kTemperatureReplySize};
}

Bus DecodeBus(std::span<const std::uint8_t> descriptor) {
  if (descriptor.size() < kBusTypeAt + 4) return Bus::kUnknown;
  std::uint32_t type = 0;
  for (std::size_t i = 4; i-- > 0;) type = (type << 8) | descriptor[kBusTypeAt + i];
  switch (type) {
    case kBusTypeUnknown: return Bus::kUnknown;
    case kBusTypeAta:
    case kBusTypeSata: return Bus::kAta;
    case kBusTypeNvme: return Bus::kNvme;
    default: return Bus::kOther;
  }
}

}  // namespace disk
