#include "launch/switch_set.h"

#include <algorithm>

namespace tidewell {
namespace {

// The system's upper-casing of the characters that can matter for the
// comparison with "PPTVIEW.EXE": ASCII letters, and the dotless i, whose
// upper case is a plain 'I'. No other character upper-cases into ASCII
// letters, so nothing else needs mapping for this test.
wchar_t UpperForComparison(wchar_t c) {
    if (c >= L'a' && c <= L'z') {
        return static_cast<wchar_t>(c - L'a' + L'A');
    }
    if (c == L'\u0131') {
        return L'I';
    }
    return c;
}

}  // namespace

std::wstring_view FileNamePart(std::wstring_view path) {
    const auto cut = path.find_last_of(L"\\:");
    return cut == std::wstring_view::npos ? path : path.substr(cut + 1);
}

std::wstring_view ChooseSwitchSet(std::wstring_view programPath) {
    constexpr std::wstring_view kViewerFileName = L"PPTVIEW.EXE";
    const std::wstring_view name = FileNamePart(programPath);
    const bool isViewer = std::ranges::equal(name, kViewerFileName, {}, UpperForComparison);
    return isViewer ? kViewerSwitchSet : kPowerPointSwitchSet;
}

}  // namespace tidewell
