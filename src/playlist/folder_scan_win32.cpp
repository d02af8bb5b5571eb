#include "playlist/folder_scan_win32.h"

#include <windows.h>

#include "common/ansi_text_win32.h"
#include "common/unique_handle_win32.h"
#include "playlist/presentation_filter.h"

namespace tidewell {

namespace {

// Both sides of the extension test are judged in their 8-bit form in the thread's code page, with
// ASCII letters upper-cased: a name whose extension that code page cannot hold never matches, and
// one whose letters it maps to their best fit matches as those letters.
std::wstring UpperAnsi(const std::wstring& text) {
    return UpperAsciiLetters(AnsiRoundTrip(text, AnsiCodePage::Thread));
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
        const std::wstring extension = ExtensionOf(AnsiRoundTrip(path, AnsiCodePage::Thread));
        if (extension.empty()) continue;
        if (ExtensionMatchesFilter(UpperAnsi(extension), upperFilter)) {
            found.push_back(std::move(path));
        }
    } while (::FindNextFileW(listing.get(), &entry));
    return found;
}

}  // namespace tidewell
