#pragma once
// Reads what identifies each display monitor, from the display configuration (its target's device
// path, the EDID's name and codes) and from GDI (its device name and corner).
#include <windows.h>

#include "playback/monitor_identity.h"

namespace tidewell {

// The identity of the monitor `monitor`; what Windows does not give stays empty (no EDID under
// Wine or on a virtual display, no display configuration before Windows 7).
MonitorIdentity ReadMonitorIdentity(HMONITOR monitor);

}  // namespace tidewell
