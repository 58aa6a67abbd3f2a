// The test provider of the WMI scripting objects the disk report uses:
// a locator whose ConnectServer gives a service, whose ExecQuery gives a
// result set of disk instances, each with a property set of named
// properties. The objects live in this process (linked into the Windows-side
// tests) or in qh_wmi_provider.dll; either way the class factory below makes
// the locator, and the scenario selects the data it serves.
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

// The locator's class, {BA2609D2-25B2-4EF9-A980-99CA03975ECD}.
extern const CLSID kLocatorClsid;

// The class object for kLocatorClsid (IClassFactory); CLASS_E_CLASSNOTAVAILABLE
// for any other class.
HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);

// Selects the scenario of locators created from now on (see scenarios_win.h
// for the names); false, and no change, for an unknown name. Without a call,
// a new locator takes the name in the environment variable QH_WMI_SCENARIO,
// or "two-disks" when it is unset.
bool SetScenario(std::string_view name);

// Provider objects alive now (the class factory is not counted).
long LiveObjects();

// Whether the module may be unloaded: no live objects, no server locks and
// no outstanding reference to the class factory.
bool CanUnload();

// The calls the locator and the services received, oldest first, as
// "ConnectServer(arg|arg)" with the arguments as passed, and clears the list.
std::vector<std::wstring> TakeCalls();

}  // namespace wmi_provider
