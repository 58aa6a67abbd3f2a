// A two-disk machine and its variations. Only the last disk carries 5000 power-on hours and 35 degrees, so a
// report that picks the wrong instance or property shows numbers that give it away.
#include "tests/provider/scenarios_win.h"

#include <oleauto.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

namespace wmi_provider {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kStandardMembers = 362;  // 2-byte revision and 30 records

// An attribute table of `members` bytes: ID 9 with `hours` in record 1 (so
// that 14 members hold exactly that record), a few IDs that must give no line,
// and ID 194 with `temperature` in record 9.
Bytes SmartTable(std::size_t members, unsigned hours, unsigned temperature) {
  Bytes b(members, 0);
  const auto put = [&](std::size_t record, std::uint8_t id, unsigned raw) {
    const std::size_t at = 2 + record * 12;
    if (at + 12 > members) return;
    b[at] = id;
    b[at + 1] = 0x32;  // status flags
    b[at + 3] = 100;   // current and worst normalised values
    b[at + 4] = 100;
    b[at + 5] = static_cast<std::uint8_t>(raw);
    b[at + 6] = static_cast<std::uint8_t>(raw >> 8);
    b[at + 7] = static_cast<std::uint8_t>(raw >> 16);
  };
  if (members > 0) b[0] = 0x10;
  put(0, 9, hours);
  const std::uint8_t others[] = {1, 3, 4, 5, 7, 10, 12};
  for (std::size_t k = 0; k < std::size(others); ++k) put(1 + k, others[k], 0);
  put(8, 194, temperature | (15u << 16));  // min/max temperature in the raw bytes after
  put(9, 197, 0);
  put(10, 199, 0);
  return b;
}

void SetBstr(VARIANT* v, const std::wstring& text) {
  v->vt = VT_BSTR;
  v->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// Stores `array` of bytes into `v`, its data the first `size` of `bytes`.
void SetByteArray(VARIANT* v, SAFEARRAY* array, const Bytes& bytes, std::size_t size) {
  void* data = nullptr;
  if (array != nullptr && size > 0 && SUCCEEDED(SafeArrayAccessData(array, &data))) {
    std::memcpy(data, bytes.data(), size);
    SafeArrayUnaccessData(array);
  }
  v->vt = VT_ARRAY | VT_UI1;
  v->parray = array;
}

void SetBytes(VARIANT* v, const Bytes& bytes) {
  SetByteArray(v, SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size())), bytes, bytes.size());
}

void SetBstrArray(VARIANT* v, const Bytes& bytes) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(bytes.size()));
  for (LONG i = 0; i < static_cast<LONG>(bytes.size()); ++i) {
    // One member that is not a number, in a record that gives no line.
    const std::wstring text = i == 2 + 3 * 12 + 5 ? L"abc" : std::to_wstring(bytes[i]);
    BSTR element = SysAllocString(text.c_str());
    SafeArrayPutElement(array, &i, element);  // copies
    SysFreeString(element);
  }
  v->vt = VT_ARRAY | VT_BSTR;
  v->parray = array;
}

// Members of every kind a VARIANT array may hold: the bytes of the hours and
// the temperature arrive as other number types and as text, and members that
// are not numbers sit where they give no line.
void SetVariantArray(VARIANT* v, const Bytes& bytes) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(bytes.size()));
  for (LONG i = 0; i < static_cast<LONG>(bytes.size()); ++i) {
    VARIANT element;
    VariantInit(&element);
    element.vt = VT_UI1;
    element.bVal = bytes[i];
    if (i == 2 + 5) {  // hours, low byte 0x88 as 392 (392 mod 256 = 136)
      element.vt = VT_I4;
      element.lVal = bytes[i] + 256;
    } else if (i == 2 + 6) {  // hours, high byte 0x13 as text
      SetBstr(&element, std::to_wstring(bytes[i]));
    } else if (i == 2 + 8 * 12 + 5) {  // temperature, a fraction that rounds down
      element.vt = VT_R8;
      element.dblVal = bytes[i] + 0.4;
    } else if (i == 2 + 2 * 12 + 5) {
      element.vt = VT_NULL;
    } else if (i == 2 + 2 * 12 + 6) {
      element.vt = VT_DISPATCH;  // a null object
      element.pdispVal = nullptr;
    } else if (i == 2 + 3 * 12 + 5) {
      SetBytes(&element, {1, 2, 3});  // an array inside the array
    } else if (i == 2 + 3 * 12 + 6) {
      element.vt = VT_BOOL;
      element.boolVal = VARIANT_TRUE;
    } else if (i == 2 + 4 * 12 + 5) {
      element.vt = VT_EMPTY;
    }
    SafeArrayPutElement(array, &i, &element);  // copies
    VariantClear(&element);
  }
  v->vt = VT_ARRAY | VT_VARIANT;
  v->parray = array;
}

void Set2dBytes(VARIANT* v, const Bytes& bytes) {
  SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(bytes.size() / 2), 0}, {2, 0}};
  SetByteArray(v, SafeArrayCreate(VT_UI1, 2, bounds), bytes, bytes.size() / 2 * 2);
}

using ValueSetter = std::function<void(VARIANT*)>;

std::shared_ptr<PropertyData> Property(const std::wstring& name, const ValueSetter& value) {
  auto p = std::make_shared<PropertyData>();
  SetBstr(p->name.Get(), name);
  value(p->value.Get());
  return p;
}

ValueSetter Scalar(VARTYPE type, LONG number) {
  return [=](VARIANT* v) {
    v->vt = VT_I4;
    v->lVal = number;
    VariantChangeType(v, v, 0, type);
  };
}

ValueSetter Table(unsigned hours, unsigned temperature) {
  return [=](VARIANT* v) { SetBytes(v, SmartTable(kStandardMembers, hours, temperature)); };
}

// One disk's properties, in the order the property set delivers them. Array
// decoys surround the real one: "vendorspecific" differs only in case.
std::shared_ptr<DiskData> Disk(int number, unsigned hours, unsigned temperature,
                               unsigned decoyHours, unsigned decoyTemperature) {
  auto disk = std::make_shared<DiskData>();
  auto& p = disk->properties;
  p.push_back(Property(L"Active", [](VARIANT* v) {
    v->vt = VT_BOOL;
    v->boolVal = VARIANT_TRUE;
  }));
  p.push_back(Property(L"Checksum", Scalar(VT_UI1, 0x5A)));
  p.push_back(Property(L"vendorspecific", Table(decoyHours, decoyTemperature)));
  p.push_back(Property(L"ErrorLogCapability", Scalar(VT_UI1, 1)));
  p.push_back(Property(L"InstanceName", [number](VARIANT* v) {
    SetBstr(v, L"IDE\\DiskQH_TEST_DISK_" + std::to_wstring(number) + L"\\4&0&0.0.0_0");
  }));
  p.push_back(Property(L"Length", Scalar(VT_I4, 512)));
  p.push_back(Property(L"VendorSpecific", Table(hours, temperature)));
  p.push_back(Property(L"Reserved", Table(decoyHours + 1, decoyTemperature + 1)));
  p.push_back(Property(L"VendorSpecific2", Table(decoyHours + 2, decoyTemperature + 2)));
  p.push_back(Property(L"SelfTestStatus", Scalar(VT_UI1, 0)));
  return disk;
}

constexpr std::size_t kVendorSpecificAt = 6;  // position in Disk()'s list

std::shared_ptr<DiskData> Verdict(int number, bool failing) {
  auto disk = std::make_shared<DiskData>();
  disk->properties.push_back(Property(L"Active", Scalar(VT_BOOL, 1)));
  disk->properties.push_back(Property(L"InstanceName", [number](VARIANT* v) {
    SetBstr(v, L"IDE\\DiskQH_TEST_DISK_" + std::to_wstring(number) + L"\\4&0&0.0.0_0");
  }));
  disk->properties.push_back(Property(L"PredictFailure", Scalar(VT_BOOL, failing ? 1 : 0)));
  disk->properties.push_back(Property(L"Reason", Scalar(VT_UI4, failing ? 5 : 0)));
  return disk;
}

std::shared_ptr<Scenario> TwoDisks() {
  auto s = std::make_shared<Scenario>();
  s->disks.push_back(Disk(1, 1234, 41, 1111, 11));
  s->disks.push_back(Disk(2, 5000, 35, 7777, 77));
  s->verdicts = {Verdict(1, false), Verdict(2, false)};
  s->filler = Property(L"Filler", Scalar(VT_I4, 0));
  return s;
}

// The two-disk scenario with the last disk's VendorSpecific value replaced.
std::shared_ptr<Scenario> LastValue(const ValueSetter& value) {
  auto s = TwoDisks();
  auto last = std::make_shared<DiskData>(*s->disks.back());
  last->properties[kVendorSpecificAt] = Property(L"VendorSpecific", value);
  s->disks.back() = last;
  return s;
}

std::shared_ptr<Scenario> TruncatedArray(std::size_t members) {
  return LastValue([members](VARIANT* v) { SetBytes(v, SmartTable(members, 5000, 35)); });
}

// 100000 members: the standard table, then zeros up to one more temperature
// record as the last whole record, then a 2-byte partial record that would
// read as ID 9 if it were not ignored.
std::shared_ptr<Scenario> HugeArray() {
  return LastValue([](VARIANT* v) {
    Bytes b = SmartTable(100000, 5000, 35);
    const std::size_t lastRecord = (100000 - 2) / 12 - 1;
    b[2 + lastRecord * 12] = 194;
    b[2 + lastRecord * 12 + 5] = 40;
    b[2 + (lastRecord + 1) * 12] = 9;
    b[2 + (lastRecord + 1) * 12 + 1] = 0xFF;
    SetBytes(v, b);
  });
}

// The standard table on the last disk, stored by `store` (another array
// shape or element type).
std::function<std::shared_ptr<Scenario>()> StandardTableAs(void (*store)(VARIANT*, const Bytes&)) {
  return [store] {
    return LastValue([store](VARIANT* v) { store(v, SmartTable(kStandardMembers, 5000, 35)); });
  };
}

// The two standard disks with one thing changed.
std::function<std::shared_ptr<Scenario>()> TwoDisksWith(std::function<void(Scenario&)> change) {
  return [change] {
    auto s = TwoDisks();
    change(*s);
    return s;
  };
}

// The two standard disks with the last disk's data changed.
std::function<std::shared_ptr<Scenario>()> LastDiskWith(std::function<void(DiskData&)> change) {
  return TwoDisksWith([change](Scenario& s) {
    auto last = std::make_shared<DiskData>(*s.disks.back());
    change(*last);
    s.disks.back() = last;
  });
}

struct Entry {
  std::string_view name;
  std::function<std::shared_ptr<Scenario>()> build;
};

const std::vector<Entry>& Entries() {
  static const std::vector<Entry> entries = {
      {"two-disks", TwoDisks},
      {"failing", TwoDisksWith([](Scenario& s) { s.verdicts.front() = Verdict(1, true); })},
      {"connect-fails", TwoDisksWith([](Scenario& s) { s.connectResult = kInvalidNamespace; })},
      {"query-fails", TwoDisksWith([](Scenario& s) { s.queryResult = kInvalidClass; })},
      {"empty", TwoDisksWith([](Scenario& s) { s.disks.clear(); })},
      {"array-0", [] { return TruncatedArray(0); }},
      {"array-1", [] { return TruncatedArray(1); }},
      {"array-2", [] { return TruncatedArray(2); }},
      {"array-13", [] { return TruncatedArray(13); }},
      {"array-14", [] { return TruncatedArray(14); }},
      {"array-100000", HugeArray},
      {"array-2d", StandardTableAs(Set2dBytes)},
      {"array-bstr", StandardTableAs(SetBstrArray)},
      {"array-variant", StandardTableAs(SetVariantArray)},
      {"value-not-array", [] { return LastValue(Scalar(VT_I4, 5000)); }},
      {"name-not-text", LastDiskWith([](DiskData& d) {
         auto p = Property(L"", Table(5000, 35));
         VariantClear(p->name.Get());
         p->name.Get()->vt = VT_I4;
         p->name.Get()->lVal = 42;
         d.properties[kVendorSpecificAt] = p;
       })},
      {"vendorspecific-twice", LastDiskWith([](DiskData& d) {
         d.properties.push_back(Property(L"VendorSpecific", Table(6000, 36)));
       })},
      {"instances-nothing-fetched",
       TwoDisksWith([](Scenario& s) { s.instances.fault = Fault::kNothingFetched; })},
      {"instances-next-error",
       TwoDisksWith([](Scenario& s) { s.instances.fault = Fault::kError; })},
      {"instances-endless", TwoDisksWith([](Scenario& s) { s.instances.fault = Fault::kEndless; })},
      {"properties-nothing-fetched",
       TwoDisksWith([](Scenario& s) { s.properties.fault = Fault::kNothingFetched; })},
      {"properties-next-error",
       TwoDisksWith([](Scenario& s) { s.properties.fault = Fault::kError; })},
      {"properties-endless",
       TwoDisksWith([](Scenario& s) { s.properties.fault = Fault::kEndless; })},
      {"null-service", TwoDisksWith([](Scenario& s) { s.nullService = true; })},
      {"null-result-set", TwoDisksWith([](Scenario& s) { s.nullResultSet = true; })},
      {"null-enumerator", TwoDisksWith([](Scenario& s) { s.instances.nullEnumerator = true; })},
      {"null-instance",
       TwoDisksWith([](Scenario& s) { s.disks.insert(s.disks.begin() + 1, nullptr); })},
      {"null-property-set", TwoDisksWith([](Scenario& s) { s.nullPropertySet = true; })},
      {"null-property",
       LastDiskWith([](DiskData& d) { d.properties.insert(d.properties.begin(), nullptr); })},
  };
  return entries;
}

}  // namespace

std::shared_ptr<const Scenario> BuildScenario(std::string_view name) {
  for (const Entry& e : Entries()) {
    if (e.name == name) return e.build();
  }
  return nullptr;
}

std::vector<std::string_view> ScenarioNames() {
  std::vector<std::string_view> names;
  for (const Entry& e : Entries()) names.push_back(e.name);
  return names;
}

}  // namespace wmi_provider
