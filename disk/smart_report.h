// The disk report as start-up sees it: collect the report lines once, then
// release what the collection held. The Win32 implementation reads the SMART
// attribute table through WMI (smart_report_win.h); tests and other platforms
// put their own behind this interface.
#pragma once

#include <string>
#include <vector>

namespace disk {

class SmartReport {
 public:
  virtual ~SmartReport() = default;
  // Creation step 1: the report lines of the disk the result set delivers
  // last, in record order, each ending with CR LF; none on any failure.
  virtual std::vector<std::string> CollectSmartReport() = 0;
  // Creation step 10: releases the locator, service, result set, item and
  // property set and every enumerator a walk left, and lets the libraries
  // the query loaded be unloaded.
  virtual void ReleaseObjects() = 0;
  // At the end of the program: every enumerator still in the table (none
  // once ReleaseObjects has run).
  virtual void ReleaseEnumerators() = 0;
};

}  // namespace disk
