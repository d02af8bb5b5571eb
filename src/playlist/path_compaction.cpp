#include "playlist/path_compaction.h"

#include <cstddef>

namespace tidewell {
namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// The first separator that may end a shortened path's start: after the server's name for
// "\\server\share\...", otherwise the first one ("C:\").
std::size_t FirstCutAt(std::wstring_view path) {
    std::size_t from = 0;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) from = 2;
    for (std::size_t i = from; i < path.size(); ++i)
        if (IsSeparator(path[i])) return i;
    return std::wstring_view::npos;
}

// `text` when it fits, else its longest start that fits followed by "…". Widths only grow with
// length, so the search halves the range each time; a surrogate pair is never split.
std::wstring EndEllipsis(std::wstring_view text, int maxWidth, const TextWidth& widthOf) {
    const auto withEllipsis = [&](std::size_t length) {
        std::wstring shortened(text.substr(0, length));
        if (length == text.size()) return shortened;
        if (length > 0 && IsHighSurrogate(shortened.back())) shortened.pop_back();
        shortened += kEllipsis;
        return shortened;
    };
    std::size_t fits = 0;  // a bare "…" is the least there is to show
    std::size_t tooLong = text.size() + 1;
    while (tooLong - fits > 1) {
        const std::size_t middle = fits + (tooLong - fits) / 2;
        if (widthOf(withEllipsis(middle)) <= maxWidth) {
            fits = middle;
        } else {
            tooLong = middle;
        }
    }
    return withEllipsis(fits);
}

}  // namespace

std::wstring CompactPath(std::wstring_view path, int maxWidth, const TextWidth& widthOf) {
    if (widthOf(path) <= maxWidth) return std::wstring(path);
    const std::size_t last = path.find_last_of(L"\\/");
    if (last == std::wstring_view::npos) return EndEllipsis(path, maxWidth, widthOf);
    const std::wstring_view tail = path.substr(last);  // the separator and the file name
    const std::size_t first = FirstCutAt(path);
    // Folders nearest the file name go first: the start that remains is the most that fits.
    for (std::size_t cut = last; cut > first && cut != std::wstring_view::npos;) {
        cut = path.find_last_of(L"\\/", cut - 1);
        if (cut == std::wstring_view::npos || cut < first) break;
        std::wstring shortened(path.substr(0, cut + 1));
        shortened += kEllipsis;
        shortened += tail;
        if (widthOf(shortened) <= maxWidth) return shortened;
    }
    std::wstring nameOnly(1, kEllipsis);
    nameOnly += tail;
    if (widthOf(nameOnly) <= maxWidth) return nameOnly;
    return EndEllipsis(path.substr(last + 1), maxWidth, widthOf);
}

}  // namespace tidewell
