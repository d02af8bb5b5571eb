#pragma once
#include <windows.h>

#include <string>

namespace tidewell {

// The system's own text for an error code, without the trailing line break. FormatMessageW keeps
// the text wide; std::system_category() would hand it back in the ANSI code page under MinGW.
std::wstring SystemMessage(DWORD code);

}  // namespace tidewell
