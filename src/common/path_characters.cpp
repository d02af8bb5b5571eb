#include "common/path_characters.h"

namespace tidewell {
namespace {

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

wchar_t UpperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

}  // namespace

bool IsProgramPath(std::wstring_view path) {
    constexpr std::wstring_view kExtension = L".EXE";
    const std::size_t cut = path.find_last_of(L"\\/:");
    const std::wstring_view name = cut == std::wstring_view::npos ? path : path.substr(cut + 1);
    if (name.size() <= kExtension.size()) return false;
    const std::wstring_view end = name.substr(name.size() - kExtension.size());
    for (std::size_t i = 0; i < end.size(); ++i) {
        if (UpperAscii(end[i]) != kExtension[i]) return false;
    }
    return true;
}

bool IsPossiblePath(std::wstring_view path) {
    // The quote's look-alikes of the best-fit tables; the curly quotes are not among them, since
    // the ANSI code pages hold them as themselves.
    if (path.size() > kLongestPath) return false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const wchar_t c = path[i];
        if (c < L' ') return false;
        switch (c) {
            case L'"':
            case L'<':
            case L'>':
            case L'|':
            case L'*':
            case L'?':
            case L'\u02BA':
            case L'\u030E':
            case L'\uFF02':
                return false;
            case L':':
                if (i != 1 || !IsDriveLetter(path[0])) return false;
                break;
            default:
                break;
        }
    }
    return true;
}

}  // namespace tidewell
