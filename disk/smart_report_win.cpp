// CollectSmartReport: locator, connection, query, the walk that keeps the last
// instance's property set, and the walk of that set for the attribute array.
// No step checks the one before: an empty holder makes every later call yield
// nothing, and the outcome of any failure is simply no line.
#include "disk/smart_report_win.h"

#include <cstdint>

#include "disk/smart_decode.h"

namespace disk {

using automation::AutomationObject;
using automation::AutomationValue;

namespace {

// One decode per array: the bytes start empty each time, so a second array
// cannot shift the records of the first or be cut by its header.
std::vector<std::string> DecodeVendorSpecific(const AutomationValue& value) {
  const std::size_t count = value.MemberCount();
  std::vector<std::uint8_t> bytes;
  bytes.reserve(count);
  for (std::size_t i = 1; i <= count; ++i) {
    // A member that is not a number still takes its place as 0, so the
    // records after it stay where they are.
    bytes.push_back(MemberToByte(value.MemberAsNumber(i).value_or(0.0)));
  }
  return DecodeSmartLines(bytes);
}

// The scripting objects' libraries are free-threaded: COM unloads such a
// library on the first CoFreeUnusedLibrariesEx at least this long after the
// one that found it unused, which gives threads of its own time to end.
constexpr DWORD kUnloadDelayMs = 1000;

void CALLBACK FreeUnusedLibrariesOnce(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  CoFreeUnusedLibrariesEx(kUnloadDelayMs, 0);
}

// Lets the libraries the query loaded go (several megabytes that would stay
// mapped for the whole run otherwise): this call marks those no longer in use,
// a thread timer makes the second once the delay is over. A library in use
// again meanwhile stays.
void LetUnusedLibrariesGo() {
  CoFreeUnusedLibrariesEx(kUnloadDelayMs, 0);
  SetTimer(nullptr, 0, kUnloadDelayMs + kUnloadDelayMs / 4, FreeUnusedLibrariesOnce);
}

}  // namespace

DiskReading WmiSmartReport::CollectSmartReport() {
  return ReadDiskHealth(ReadThroughWmi(), drives_);
}

WmiReading WmiSmartReport::ReadThroughWmi() {
  std::vector<std::string> lines;
  locator_ = automation::CreateAutomationObject("WbemScripting.SWbemLocator");
  service_ = automation::CallMethodForObject(locator_, "ConnectServer", {".", "root\\WMI"});
  resultSet_ = automation::CallMethodForObject(
      service_, "ExecQuery", {"Select * from MSStorageDriver_ATAPISmartData"});

  // Further disks come first; the one delivered last is reported.
  propertySet_.Clear();
  while (automation::NextMember(enumerators_, resultSet_, item_)) {
    const AutomationObject instance = item_.AsObject();
    propertySet_ = automation::GetObjectProperty(instance, "Properties_");
  }

  while (automation::NextMember(enumerators_, propertySet_, item_)) {
    const AutomationObject property = item_.AsObject();
    const AutomationValue value = automation::GetValueProperty(property, "Value");
    if (!value.IsArray()) continue;
    // Byte for byte: a property named "vendorspecific" is another property.
    if (automation::GetTextProperty(property, "Name") != "VendorSpecific") continue;
    for (std::string& line : DecodeVendorSpecific(value)) lines.push_back(std::move(line));
  }
  return {std::move(lines), WmiPredictsFailure()};
}

// Every drive WMI knows, not only the one reported: a failing second disk is
// the user's data at risk all the same. An instance without a readable
// "PredictFailure" says nothing.
bool WmiSmartReport::WmiPredictsFailure() {
  resultSet_ = automation::CallMethodForObject(
      service_, "ExecQuery", {"Select * from MSStorageDriver_FailurePredictStatus"});
  bool failing = false;
  AutomationValue property;
  while (automation::NextMember(enumerators_, resultSet_, item_)) {
    const AutomationObject properties = automation::GetObjectProperty(item_.AsObject(), "Properties_");
    while (automation::NextMember(enumerators_, properties, property)) {
      const AutomationObject named = property.AsObject();
      if (automation::GetTextProperty(named, "Name") != "PredictFailure") continue;
      failing = failing || automation::GetValueProperty(named, "Value").AsFlag().value_or(false);
    }
  }
  return failing;
}

void WmiSmartReport::ReleaseObjects() {
  locator_.Clear();
  service_.Clear();
  resultSet_.Clear();
  item_.Clear();
  propertySet_.Clear();
  enumerators_.ReleaseAll();  // walks cut short by the member bound
  LetUnusedLibrariesGo();
}

void WmiSmartReport::ReleaseEnumerators() { enumerators_.ReleaseAll(); }

}  // namespace disk
