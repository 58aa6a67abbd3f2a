// The test provider of the WMI scripting objects the disk report uses (locator, service, result set, instances,
// property sets), linked into the Windows-side tests or loaded as qh_wmi_provider.dll.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <objbase.h>

#include <string>
#include <string_view>
#include <vector>

namespace wmi_provider {

// The locator's class.
extern const CLSID kLocatorClsid;

// The class object for kLocatorClsid (IClassFactory); CLASS_E_CLASSNOTAVAILABLE
// for any other class.
HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);

// Selects the scenario of locators created from now on; false, and no change, for an unknown name. Without a
// call, a new locator takes QH_WMI_SCENARIO's, or "two-disks" when it is unset.
bool SetScenario(std::string_view name);

// Provider objects alive now (the class factory is not counted).
long LiveObjects();

// No live objects, no server locks and no reference to the class factory: the module may be unloaded.
bool CanUnload();

// The calls the locator and services received, oldest first, as "ConnectServer(arg|arg)"; clears the list.
std::vector<std::wstring> TakeCalls();

}  // namespace wmi_provider
