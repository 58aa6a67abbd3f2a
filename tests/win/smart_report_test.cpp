// The SMART report through real COM against the test provider (registered for this process only), Wine's own
// WMI, and the storage driver queries.
#include "disk/smart_report_win.h"
#include "disk/storage_drives_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/provider/scenarios_win.h"
#include "tests/provider/wmi_provider_win.h"

namespace {

using Lines = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

std::string Hours(unsigned h) { return "硬盘已经使用了:" + std::to_string(h) + "个小时\r\n"; }
std::string Temp(unsigned t) { return "硬盘当前温度:" + std::to_string(t) + "摄氏度\r\n"; }

namespace a = disk::automation;

// The result set of `wql` in `space`, asked as the report asks.
a::AutomationObject Query(const char* space, const char* wql) {
  const auto locator = a::CreateAutomationObject("WbemScripting.SWbemLocator");
  return a::CallMethodForObject(a::CallMethodForObject(locator, "ConnectServer", {".", space}), "ExecQuery", {wql});
}

struct ComApartment {
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ~ComApartment() { SUCCEEDED(hr) ? CoUninitialize() : void(); }
};

// The provider's locator served under the CLSID of "WbemScripting.SWbemLocator"; nothing written to the registry.
class SmartReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(com_.hr));
    wmi_provider::GetClassObject(wmi_provider::kLocatorClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory_));
    ASSERT_NE(factory_, nullptr);
    CLSID clsid{};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"WbemScripting.SWbemLocator", &clsid));
    ASSERT_HRESULT_SUCCEEDED(
        CoRegisterClassObject(clsid, factory_, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_));
    wmi_provider::TakeCalls();
  }
  void TearDown() override {
    if (cookie_ != 0) CoRevokeClassObject(cookie_);
    if (factory_ != nullptr) factory_->Release();
  }

  // Collects, releases both ways, and checks nothing of the provider is left.
  disk::DiskReading Collect(const char* scenario) {
    EXPECT_TRUE(wmi_provider::SetScenario(scenario)) << scenario;
    disk::WmiSmartReport report;
    disk::DiskReading reading = report.CollectSmartReport();
    report.ReleaseObjects();
    report.ReleaseEnumerators();
    EXPECT_EQ(wmi_provider::LiveObjects(), 0) << scenario;
    return reading;
  }

  ComApartment com_;
  IClassFactory* factory_ = nullptr;
  DWORD cookie_ = 0;
};

TEST_F(SmartReportTest, OnlyTheLastDiskIsReported) {
  EXPECT_EQ(Collect("two-disks").lines, (Lines{"硬盘已经使用了:5000个小时\r\n", "硬盘当前温度:35摄氏度\r\n"}));
  // In the given order, nothing passed for the optional parameters.
  EXPECT_EQ(wmi_provider::TakeCalls(),
            (std::vector<std::wstring>{L"ConnectServer(.|root\\WMI)",
                                       L"ExecQuery(Select * from MSStorageDriver_ATAPISmartData)",
                                       L"ExecQuery(Select * from MSStorageDriver_FailurePredictStatus)"}));
}

TEST_F(SmartReportTest, EveryScenarioGivesDefinedLinesAndReleasesEverything) {
  // The last disk: 5000 h, 35 degrees; the first 1234 h, 41; decoy arrays 7777 h and up (the wrong property read).
  const Lines last{Hours(5000), Temp(35)};
  const Lines first{Hours(1234), Temp(41)};
  // Any disk WMI knows to predict its failure is told, here not the one shown.
  const struct { const char* scenario; Lines lines; bool failing = false; } cases[] = {
      {"two-disks", last},
      {"connect-fails", {}},
      {"query-fails", {}},
      {"empty", {}},
      {"array-0", {}},
      {"array-1", {}},
      {"array-2", {}},
      {"array-13", {}},
      {"array-14", {Hours(5000)}},
      {"array-100000", last},  // the table ends after 30 records
      {"failing", last, true},
      {"array-2d", {}},
      {"array-bstr", last},
      {"array-variant", last},
      {"value-not-array", {}},
      {"name-not-text", {}},
      // Bytes left from the first array must not shift the records of the second.
      {"vendorspecific-twice", {Hours(5000), Temp(35), Hours(6000), Temp(36)}},
      // The walk of the result set ends at the fault, after the first disk.
      {"instances-nothing-fetched", first},
      {"instances-next-error", first},
      {"instances-endless", last},
      // The walk of the properties ends at the fault, before VendorSpecific.
      {"properties-nothing-fetched", {}},
      {"properties-next-error", {}},
      {"properties-endless", last},
      {"null-service", {}},
      {"null-result-set", {}},
      {"null-enumerator", {}},
      {"null-instance", last},
      {"null-property-set", {}},
      {"null-property", last},
  };
  std::vector<std::string_view> covered;
  for (const auto& c : cases) {
    const auto start = Clock::now();
    const disk::DiskReading reading = Collect(c.scenario);
    EXPECT_EQ(reading.lines, c.lines) << c.scenario;
    EXPECT_EQ(reading.failing, c.failing) << c.scenario;
    // Endless enumerators are cut off by the walk bound, well within this.
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5)) << c.scenario;
    covered.push_back(c.scenario);
  }
  for (std::string_view name : wmi_provider::ScenarioNames()) {
    EXPECT_NE(std::find(covered.begin(), covered.end(), name), covered.end()) << name;
  }
}

// Collected again, every walk starts afresh; destroyed, the report lets go of what it held.
TEST_F(SmartReportTest, CollectingAgainStartsAfreshAndTheReportReleasesWhatItHeld) {
  ASSERT_TRUE(wmi_provider::SetScenario("two-disks"));
  {
    disk::WmiSmartReport report;
    const Lines lines = report.CollectSmartReport().lines;
    EXPECT_EQ(report.CollectSmartReport().lines, lines);
    EXPECT_GT(wmi_provider::LiveObjects(), 0);  // the locator and the rest, until released
  }
  EXPECT_EQ(wmi_provider::LiveObjects(), 0);
}

TEST_F(SmartReportTest, AbandonedWalkKeepsItsEnumeratorUntilReleased) {
  ASSERT_TRUE(wmi_provider::SetScenario("two-disks"));
  a::EnumeratorTable table;
  {
    a::AutomationValue item;
    const auto results = Query("root\\WMI", "Select * from MSStorageDriver_ATAPISmartData");
    const a::AutomationObject sameResults = results;  // another holder of one pointer
    ASSERT_TRUE(a::NextMember(table, results, item));
    const auto first = item.AsObject();
    ASSERT_TRUE(a::NextMember(table, sameResults, item));  // the same walk, one step on
    EXPECT_NE(item.AsObject().Key(), first.Key());
    EXPECT_EQ(table.Size(), 1u);
    EXPECT_FALSE(a::NextMember(table, sameResults, item));
    EXPECT_EQ(table.Size(), 0u);

    ASSERT_TRUE(a::NextMember(table, results, item));  // a new walk, then abandoned
    EXPECT_EQ(table.Size(), 1u);
    item.Clear();
  }
  // Only the table's enumerator (and the result set it walks) is alive now.
  EXPECT_EQ(wmi_provider::LiveObjects(), 2);
  table.ReleaseAll();
  EXPECT_EQ(wmi_provider::LiveObjects(), 0);
}

// Wine's WMI has no SMART instances: no line, no error, no hang; the walk steps its enumerator through another class.
TEST(SmartReportRealWmi, GivesNoLine) {
  ComApartment com;
  ASSERT_TRUE(SUCCEEDED(com.hr));
  disk::WmiSmartReport report;
  EXPECT_EQ(report.CollectSmartReport().lines, Lines{});
  EXPECT_EQ(report.CollectSmartReport().lines, Lines{});
  report.ReleaseObjects();
  report.ReleaseEnumerators();

  const auto smart = Query("root\\WMI", "Select * from MSStorageDriver_ATAPISmartData");
  ASSERT_FALSE(smart.IsEmpty());
  const auto count = a::GetValueProperty(smart, "Count");
  EXPECT_EQ(count.Variant().vt, VT_I4);
  EXPECT_EQ(count.Variant().lVal, 0);

  const auto drives = Query("root\\cimv2", "Select * from Win32_DiskDrive");
  a::EnumeratorTable table;
  a::AutomationValue item;
  std::vector<std::string> names;
  while (a::NextMember(table, drives, item)) names.push_back(a::GetTextProperty(item.AsObject(), "DeviceId"));
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_FALSE(names.empty());
  for (const std::string& name : names) EXPECT_FALSE(name.empty());
}

// Wine's disk answers the device descriptor (a SCSI bus) and none of the health queries.
TEST(StorageDrivesUnderWine, TheDescriptorIsAnswered) {
  disk::Win32StorageDrives drives;
  EXPECT_EQ(disk::DecodeBus(drives.Ask(0, disk::DeviceDescriptorRequest())), disk::Bus::kOther);
  EXPECT_TRUE(drives.Ask(0, disk::PredictFailureRequest()).empty());
  EXPECT_FALSE(drives.Exists(63));
}

}  // namespace

// A stand-in driver (Wine's answers none): the reply cut to the bytes written, none on failure; the request as built.
std::vector<std::uint8_t> gRequest;
DWORD gWritten = 0;
BOOL gAnswer = TRUE;
BOOL FakeDriver(HANDLE, DWORD, void* in, DWORD inSize, void* out, DWORD outSize, DWORD* written) {
  gRequest.assign(static_cast<std::uint8_t*>(in), static_cast<std::uint8_t*>(in) + inSize);
  std::memset(out, 0xAB, std::min(gWritten, outSize));
  *written = gWritten;
  return gAnswer;
}

TEST(StorageDrives, RepliesAreCutToWhatTheDriverWrote) {
  disk::Win32StorageDrives drives(&FakeDriver);
  ASSERT_TRUE(drives.Exists(0));  // Wine has a PhysicalDrive0
  const struct { BOOL answer; DWORD written; std::size_t size; } cases[] = {
      {TRUE, 100, 100}, {TRUE, 0, 0}, {FALSE, 100, 0}};
  for (const auto& c : cases) {
    gAnswer = c.answer;
    gWritten = c.written;
    EXPECT_EQ(drives.Ask(0, disk::PredictFailureRequest()), std::vector<std::uint8_t>(c.size, 0xAB))
        << c.answer << c.written;
  }
  drives.Ask(0, disk::NvmeHealthLogRequest(true));
  EXPECT_EQ(gRequest, disk::NvmeHealthLogRequest(true).input);
}
