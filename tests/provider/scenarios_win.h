// The data the test provider serves, chosen by scenario name: disks, their properties, and the faults to play.
// Values are VARIANTs holding no object references, so a copy handed out keeps no provider object alive.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <string_view>
#include <vector>

namespace wmi_provider {

// A VARIANT owned for the lifetime of a scenario.
class OwnedVariant {
 public:
  OwnedVariant() { VariantInit(&v_); }
  OwnedVariant(const OwnedVariant&) = delete;
  OwnedVariant& operator=(const OwnedVariant&) = delete;
  ~OwnedVariant() { VariantClear(&v_); }
  VARIANT* Get() { return &v_; }
  const VARIANT* Get() const { return &v_; }

 private:
  VARIANT v_;
};

struct PropertyData {
  OwnedVariant name;
  OwnedVariant value;
};

struct DiskData {
  // A null entry is delivered as a null VT_DISPATCH member.
  std::vector<std::shared_ptr<const PropertyData>> properties;
};

enum class Fault {
  kNone,
  kNothingFetched,  // after one member: Next answers S_OK with nothing fetched
  kError,           // after one member: Next answers an error
  kEndless,         // after the real members, filler members forever
};

struct CollectionBehaviour {
  Fault fault = Fault::kNone;
  bool nullEnumerator = false;  // "_NewEnum" answers a null VT_UNKNOWN
};

struct Scenario {
  HRESULT connectResult = S_OK;
  HRESULT queryResult = S_OK;
  bool nullService = false;      // ConnectServer answers a null VT_DISPATCH
  bool nullResultSet = false;    // ExecQuery likewise
  bool nullPropertySet = false;  // Properties_ likewise
  CollectionBehaviour instances;
  CollectionBehaviour properties;
  // A null entry is delivered as a null VT_DISPATCH instance.
  std::vector<std::shared_ptr<const DiskData>> disks;
  // The instances of MSStorageDriver_FailurePredictStatus, one per disk.
  std::vector<std::shared_ptr<const DiskData>> verdicts;
  // What an endless property set delivers after its real members (an endless
  // result set repeats its last disk).
  std::shared_ptr<const PropertyData> filler;
};

// The scenario of that name ("two-disks" the default), or null for an unknown name.
std::shared_ptr<const Scenario> BuildScenario(std::string_view name);
// Every scenario's name, for tests that go through all of them.
std::vector<std::string_view> ScenarioNames();

// WBEM_E_INVALID_NAMESPACE and WBEM_E_INVALID_CLASS, as the real service answers.
constexpr HRESULT kInvalidNamespace = static_cast<HRESULT>(0x8004100E);
constexpr HRESULT kInvalidClass = static_cast<HRESULT>(0x80041010);

}  // namespace wmi_provider
