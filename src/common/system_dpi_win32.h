#pragma once
#include <windows.h>

namespace tidewell {

// The system's dots per inch; sizes are given at 96 and scaled by this.
int SystemDpi();

}  // namespace tidewell
