#pragma once
// Local copies made to look as if no list had named them for longer than copies are kept.
// Header-only, for the in-process tests.
#include <windows.h>

#include <cstdint>
#include <string>

#include "common/file_time_win32.h"
#include "common/unique_handle_win32.h"
#include "copies/copy_record.h"

namespace tidewell::testing {

// Dates a copy's note (made when missing) a day past the time after which an unnamed copy goes.
inline bool AgeCopyNote(const std::wstring& note) {
    UniqueFileHandle file(
        ::CreateFileW(note.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
    const FILETIME stamp =
        FileTimeOf(FileTimeNow() - kUnnamedCopyLifetime - 24ULL * 3600 * 10'000'000);
    return file && ::SetFileTime(file.get(), nullptr, nullptr, &stamp);
}

}  // namespace tidewell::testing
