// The locator's class factory, the scenario selection and the call journal.
// The factory is a static object; its references and the server locks are
// counted so that DllCanUnloadNow can tell when nothing refers to the module.
#include <atomic>
#include <mutex>
#include <utility>

#include "tests/provider/com_object_win.h"
#include "tests/provider/objects_win.h"
#include "tests/provider/wmi_provider_win.h"

namespace wmi_provider {

// {BA2609D2-25B2-4EF9-A980-99CA03975ECD}
const CLSID kLocatorClsid = {
    0xba2609d2, 0x25b2, 0x4ef9, {0xa9, 0x80, 0x99, 0xca, 0x03, 0x97, 0x5e, 0xcd}};

namespace {

std::atomic<long> serverLocks{0};
std::atomic<long> factoryReferences{0};

std::mutex stateMutex;
std::shared_ptr<const Scenario> selected;  // set by SetScenario
std::vector<std::wstring> calls;

std::shared_ptr<const Scenario> ScenarioForNewLocator() {
  {
    std::lock_guard lock(stateMutex);
    if (selected) return selected;
  }
  // GetEnvironmentVariableW, not getenv: the C runtime's copy of the
  // environment does not see variables a test sets after start-up.
  wchar_t name[64] = {};
  const DWORD length = GetEnvironmentVariableW(L"QH_WMI_SCENARIO", name, 64);
  if (length == 0 || length >= 64) return BuildScenario("two-disks");
  std::string narrow;
  for (DWORD i = 0; i < length; ++i) narrow += static_cast<char>(name[i] < 128 ? name[i] : '?');
  return BuildScenario(narrow);
}

class LocatorFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return QueryOne<IClassFactory>(this, IID_IClassFactory, iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++factoryReferences); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--factoryReferences); }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    auto scenario = ScenarioForNewLocator();
    // An unknown scenario name creates nothing rather than guessing.
    if (!scenario) return CLASS_E_CLASSNOTAVAILABLE;
    IDispatch* locator = NewLocator(std::move(scenario));
    const HRESULT hr = locator->QueryInterface(iid, out);
    locator->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) ++serverLocks;
    else --serverLocks;
    return S_OK;
  }
};

LocatorFactory factory;

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, kLocatorClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, out);
}

bool SetScenario(std::string_view name) {
  auto scenario = BuildScenario(name);
  if (!scenario) return false;
  std::lock_guard lock(stateMutex);
  selected = std::move(scenario);
  return true;
}

bool CanUnload() {
  return LiveObjects() == 0 && serverLocks.load() == 0 && factoryReferences.load() == 0;
}

void RecordCall(std::wstring call) {
  std::lock_guard lock(stateMutex);
  calls.push_back(std::move(call));
}

std::vector<std::wstring> TakeCalls() {
  std::lock_guard lock(stateMutex);
  return std::exchange(calls, {});
}

}  // namespace wmi_provider
