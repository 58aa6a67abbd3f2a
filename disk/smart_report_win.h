// The SMART report read through WMI's scripting objects: the locator connects
// to root\WMI on the local computer, the query returns one instance per
// SMART-capable disk, and the "VendorSpecific" property of the last instance
// holds the attribute table that smart_decode.h turns into lines. The same
// service says whether a drive predicts its failure
// (MSStorageDriver_FailurePredictStatus). The storage driver is asked too
// (storage_reading.h): for the lines where WMI gives none, and every drive
// for its own verdict.
#pragma once

#include "disk/automation/automation_win.h"
#include "disk/automation/next_member_win.h"
#include "disk/smart_report.h"
#include "disk/storage_drives_win.h"

namespace disk {

// Holds COM references between CollectSmartReport and the two releases, so
// COM must be initialised (apartment-threaded) on the calling thread before
// CollectSmartReport, and ReleaseObjects and ReleaseEnumerators must run
// before that thread uninitialises COM: a Release after CoUninitialize calls
// into an unloaded server. Destroying the object releases whatever is still
// held, so destroying it before CoUninitialize is equally fine.
// ReleaseObjects leaves a one-shot thread timer behind: the thread's message
// loop makes the second CoFreeUnusedLibrariesEx that unloads the libraries.
class WmiSmartReport final : public SmartReport {
 public:
  DiskReading CollectSmartReport() override;
  void ReleaseObjects() override;
  void ReleaseEnumerators() override;

 private:
  WmiReading ReadThroughWmi();
  bool WmiPredictsFailure();

  Win32StorageDrives drives_;
  automation::EnumeratorTable enumerators_;
  automation::AutomationObject locator_;
  automation::AutomationObject service_;
  automation::AutomationObject resultSet_;
  automation::AutomationValue item_;
  automation::AutomationObject propertySet_;
};

}  // namespace disk
