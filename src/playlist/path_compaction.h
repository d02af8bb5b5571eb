#pragma once
// A path shortened to a width by leaving out folders from its middle, so that where it starts (the
// drive or the server) and what it names (the file) both stay readable: "C:\users\…\Welcome.pptx".
#include <functional>
#include <string>
#include <string_view>

namespace tidewell {

// How wide a text is drawn, in whatever unit `maxWidth` is given in.
using TextWidth = std::function<int(std::wstring_view)>;

inline constexpr wchar_t kEllipsis = L'\u2026';
// Between a path and the summary of its entry's settings.
inline constexpr wchar_t kSummarySeparator[] = L"   ";

// `path` itself when it fits. Otherwise the most of its start that fits, cut after a separator,
// then "…" and the last separator with the file name; then "…" with the file name; then the file
// name alone; and when even that is too wide, as much of the file name as fits, ended by "…".
std::wstring CompactPath(std::wstring_view path, int maxWidth, const TextWidth& widthOf);

// A playlist row: `path` shortened as CompactPath shortens it in the whole width, so that it keeps
// its folder as a row without a summary does; then `summary` after kSummarySeparator in the room
// that is left, cut at its end with "…", and left out when not even its first character fits.
std::wstring CompactRowLabel(std::wstring_view path, std::wstring_view summary, int maxWidth,
                             const TextWidth& widthOf);

}  // namespace tidewell
