#include "common/file_exists_win32.h"

#include "common/unique_handle_win32.h"

namespace tidewell {

bool FileExists(const std::wstring& path) {
    if (path.empty()) return false;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileW(path.c_str(), &data));
    return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace tidewell
