#include "playlist/presentation_filter.h"

namespace tidewell {

std::wstring ExtensionOf(std::wstring_view path) {
    const auto dot = path.find_last_of(L".\\:");
    if (dot == std::wstring_view::npos || path[dot] != L'.') return {};
    return std::wstring(path.substr(dot));
}

std::wstring UpperAsciiLetters(std::wstring_view text) {
    std::wstring upper(text);
    for (wchar_t& c : upper) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return upper;
}

bool ExtensionMatchesFilter(std::wstring_view upperExtension, std::wstring_view upperFilter) {
    if (upperExtension.empty()) return false;
    std::wstring pattern = L"*";
    pattern += upperExtension;
    return upperFilter.find(pattern) != std::wstring_view::npos;
}

std::wstring WithoutTrailingBackslash(std::wstring_view folder) {
    if (!folder.empty() && folder.back() == L'\\') folder.remove_suffix(1);
    return std::wstring(folder);
}

bool ContainsLockFileMark(std::wstring_view path) {
    return path.find(L"~$") != std::wstring_view::npos;
}

}  // namespace tidewell
