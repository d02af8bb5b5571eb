#include "common/path_characters.h"

namespace tidewell {
namespace {

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

}  // namespace

bool IsPossiblePath(std::wstring_view path) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        const wchar_t c = path[i];
        if (c < L' ' || std::wstring_view(L"\"<>|*?").find(c) != std::wstring_view::npos) {
            return false;
        }
        if (c == L':' && (i != 1 || !IsDriveLetter(path[0]))) return false;
    }
    return true;
}

}  // namespace tidewell
