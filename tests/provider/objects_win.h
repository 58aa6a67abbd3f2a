// The provider's object model behind the class factory: only the locator is
// created from outside; everything else is handed out by the objects.
#pragma once

#include <memory>
#include <string>

#include "tests/provider/scenarios_win.h"

namespace wmi_provider {

// A new locator serving `scenario`, with one reference for the caller.
IDispatch* NewLocator(std::shared_ptr<const Scenario> scenario);

// Appends to the list TakeCalls() returns.
void RecordCall(std::wstring call);

}  // namespace wmi_provider
