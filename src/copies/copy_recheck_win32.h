#pragma once
// A copy written before Windows last started may not hold what its note says: a power cut can keep
// a rename on the disk and lose the bytes renamed (copies are now flushed first; older ones were
// not). Such a copy is checked once more at its first use after this program starts.
#include <string>

#include "copies/copy_record.h"

namespace tidewell {

// False when the copy was written before the last start of Windows and is not the whole
// presentation of its note's size; true when it was checked since this program started, was
// written since Windows started, or cannot be read now (its show holds it: it was read then).
bool CopyStillWhole(const std::wstring& copyFile, const CopyRecord& note);

}  // namespace tidewell
