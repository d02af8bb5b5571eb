#include "playlist/folder_scan_win32.h"

#include <windows.h>

#include "common/unique_handle_win32.h"
#include "playlist/ansi_text_win32.h"
#include "playlist/presentation_filter.h"

namespace tidewell {

namespace {

// Both sides of the extension test are judged in their 8-bit form with ASCII letters upper-cased,
// so a name whose extension the code page cannot hold never matches.
std::wstring UpperAnsi(const std::wstring& text) {
    return UpperAsciiLetters(AnsiRoundTrip(text));
}

}  // namespace

std::vector<std::wstring> ScanFolderForPresentations(const std::wstring& folder,
                                                     const std::wstring& filter) {
    std::vector<std::wstring> found;
    const std::wstring upperFilter = UpperAnsi(filter);
    WIN32_FIND_DATAW entry{};
    UniqueFindHandle listing(::FindFirstFileW((folder + L"\\*.*").c_str(), &entry));
    if (!listing) return found;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::wstring path = folder + L"\\" + entry.cFileName;
        if (ContainsLockFileMark(path)) continue;
        const std::wstring extension = ExtensionOf(AnsiRoundTrip(path));
        if (extension.empty()) continue;
        if (ExtensionMatchesFilter(UpperAnsi(extension), upperFilter)) {
            found.push_back(std::move(path));
        }
    } while (::FindNextFileW(listing.get(), &entry));
    return found;
}

}  // namespace tidewell
