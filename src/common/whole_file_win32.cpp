#include "common/whole_file_win32.h"

#include <windows.h>

#include "common/unique_handle_win32.h"

namespace tidewell {

bool ReplaceWholeFile(const std::wstring& target, std::string_view bytes) noexcept {
    try {
        // Same folder, so that the move is a rename; the process id and a counter keep two
        // writers (two runs, two threads) from sharing a temporary file.
        static volatile LONG counter = 0;
        const std::wstring temporary = target + L"." + std::to_wstring(::GetCurrentProcessId()) +
                                       L"-" + std::to_wstring(::InterlockedIncrement(&counter)) +
                                       L".tmp";
        bool written = false;
        {
            UniqueFileHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file) return false;
            DWORD count = 0;
            written = ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                  &count, nullptr) &&
                      count == bytes.size();
        }
        if (written && ::MoveFileExW(temporary.c_str(), target.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        ::DeleteFileW(temporary.c_str());
        return false;
    } catch (...) {
        return false;  // a name too long to copy: this update is lost, the next one may not be
    }
}

}  // namespace tidewell
