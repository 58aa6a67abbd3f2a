// The disk report as start-up sees it: collect the report lines once, then
// release what the collection held. The Win32 implementation reads the SMART
// attribute table through WMI (smart_report_win.h), and where that yields
// nothing, through the storage driver (storage_reading.h); tests and other
// platforms put their own behind this interface.
#pragma once

#include <string>
#include <vector>

namespace disk {

// Why a check read nothing, which decides what the user is told to do.
enum class Unread {
  kDriveSilent,         // the drive or its driver does not report the values
  kNeedsAdministrator,  // a SATA drive that WMI would read for an administrator
};

struct DiskReading {
  // "硬盘已经使用了:" and "硬盘当前温度:" lines, each ending with CR LF;
  // none when nothing could be read.
  std::vector<std::string> lines;
  Unread why = Unread::kDriveSilent;  // when there are none
  // A disk predicts its own failure. False when every verdict read says it
  // is healthy and when none could be read: only a drive's own word warns.
  bool failing = false;
};

class SmartReport {
 public:
  virtual ~SmartReport() = default;
  // Creation step 1: the report lines of the disk the result set delivers
  // last, in record order, each ending with CR LF; none on any failure.
  virtual DiskReading CollectSmartReport() = 0;
  // Creation step 10: releases the locator, service, result set, item and
  // property set and every enumerator a walk left, and lets the libraries
  // the query loaded be unloaded.
  virtual void ReleaseObjects() = 0;
  // At the end of the program: every enumerator still in the table (none
  // once ReleaseObjects has run).
  virtual void ReleaseEnumerators() = 0;
};

}  // namespace disk
