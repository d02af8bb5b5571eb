#pragma once
// The reports' files as Windows reads them from a share that the screens write meanwhile.
#include "reporting/report_files.h"
#include "reporting/zone_rules.h"

namespace tidewell {

// One listing gives each file's last-write time with its name; a file is opened sharing read,
// write and delete with everyone, so that a screen's rename of its new status or log over the
// file never fails while a report reads it.
ReportFiles SharedReportFiles();

// The rules of Windows' time zones by their key, from the system's own table.
ZoneYearOf SystemZoneRules();

// The key of this computer's time zone ("W. Europe Standard Time"); empty when it has none.
std::wstring LocalZoneKey();

}  // namespace tidewell
