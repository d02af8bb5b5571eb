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

// `text`'s first `length` code units, followed by "…" unless that is all of it; a surrogate pair
// is never split.
std::wstring Shortened(std::wstring_view text, std::size_t length) {
    std::wstring shortened(text.substr(0, length));
    if (length == text.size()) return shortened;
    if (length > 0 && IsHighSurrogate(shortened.back())) shortened.pop_back();
    shortened += kEllipsis;
    return shortened;
}

// How much of `text`, shortened, fits after `before`: 0 when only a bare "…" would. Widths only
// grow with length. The search first doubles a length that fits and then halves the range
// between, so that what is measured stays near the length that is shown, however long the text
// is: a name of 60,000 characters costs a few short measures, not many long ones.
std::size_t FittingLength(std::wstring_view before, std::wstring_view text, int maxWidth,
                          const TextWidth& widthOf) {
    std::wstring drawn(before);
    const auto fitsAt = [&](std::size_t length) {
        drawn.resize(before.size());
        drawn += Shortened(text, length);
        return widthOf(drawn) <= maxWidth;
    };
    std::size_t fits = 0;
    std::size_t tooLong = text.size() + 1;
    for (std::size_t length = 1; length < tooLong; length *= 2) {
        if (!fitsAt(length)) {
            tooLong = length;
            break;
        }
        fits = length;
    }
    while (tooLong - fits > 1) {
        const std::size_t middle = fits + (tooLong - fits) / 2;
        (fitsAt(middle) ? fits : tooLong) = middle;
    }
    return fits;
}

// `text` when it fits, else its longest start that fits followed by "…" (a bare "…" is the least
// there is to show).
std::wstring EndEllipsis(std::wstring_view text, int maxWidth, const TextWidth& widthOf) {
    return Shortened(text, FittingLength({}, text, maxWidth, widthOf));
}

}  // namespace

std::wstring CompactPath(std::wstring_view path, int maxWidth, const TextWidth& widthOf) {
    if (widthOf(path) <= maxWidth) return std::wstring(path);
    const std::size_t last = path.find_last_of(L"\\/");
    if (last == std::wstring_view::npos) return EndEllipsis(path, maxWidth, widthOf);
    const std::wstring_view tail = path.substr(last);  // the separator and the file name
    std::wstring nameOnly(1, kEllipsis);
    nameOnly += tail;
    // No start fits beside a file name that does not fit alone.
    if (widthOf(nameOnly) > maxWidth) return EndEllipsis(path.substr(last + 1), maxWidth, widthOf);
    // Folders nearest the file name go first: the start that remains is the most that fits. The
    // starts are tried from the shortest, up to the first that does not fit, so that only starts
    // about as long as a row is wide are measured, whatever the path's length.
    std::wstring best = std::move(nameOnly);
    for (std::size_t cut = FirstCutAt(path); cut != std::wstring_view::npos && cut < last;
         cut = path.find_first_of(L"\\/", cut + 1)) {
        std::wstring shortened(path.substr(0, cut + 1));
        shortened += kEllipsis;
        shortened += tail;
        if (widthOf(shortened) > maxWidth) break;
        best = std::move(shortened);
    }
    return best;
}

std::wstring CompactRowLabel(std::wstring_view path, std::wstring_view summary, int maxWidth,
                             const TextWidth& widthOf) {
    std::wstring shown = CompactPath(path, maxWidth, widthOf);
    if (summary.empty()) return shown;
    const std::wstring before = shown + kSummarySeparator;
    const std::size_t length = FittingLength(before, summary, maxWidth, widthOf);
    const std::wstring kept = Shortened(summary, length);
    // A lone "…" says nothing about the settings; the dialog and the tip still show them.
    if (kept.size() <= 1 && length < summary.size()) return shown;
    return before + kept;
}

}  // namespace tidewell
