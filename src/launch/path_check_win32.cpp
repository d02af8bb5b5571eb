#include "launch/path_check_win32.h"

#include "common/full_path_win32.h"
#include "common/path_characters.h"
#include "common/text_rules.h"

namespace tidewell {
namespace {

// Both the text and what the system made of it must be possible paths: folding ".." parts must
// not be what hides a quote.
std::optional<std::wstring> PossibleFullPath(const std::wstring& text) {
    if (text.empty() || !IsPossiblePath(text)) return std::nullopt;
    std::optional<std::wstring> full = SystemFullPath(text);
    if (!full || !IsPossiblePath(*full)) return std::nullopt;
    return full;
}

}  // namespace

std::optional<CheckedProgram> CheckProgram(std::wstring_view text) {
    const std::optional<std::wstring> full = PossibleFullPath(Trim(text));
    if (!full || !IsProgramPath(*full)) return std::nullopt;
    return CheckedProgram(LongPathOf(*full));
}

std::optional<CheckedPresentation> CheckPresentation(std::wstring_view text) {
    std::optional<std::wstring> full = PossibleFullPath(std::wstring(text));
    if (!full) return std::nullopt;
    return CheckedPresentation(std::move(*full));
}

}  // namespace tidewell
