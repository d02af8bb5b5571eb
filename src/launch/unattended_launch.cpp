#include "launch/unattended_launch.h"

#include <algorithm>

#include "common/text_rules.h"
#include "launch/switch_set.h"

namespace tidewell {
namespace {

wchar_t UpperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c;
}

bool IsPresentationProgramName(std::wstring_view fileName) {
    for (const std::wstring_view known : {L"POWERPNT.EXE", L"PPTVIEW.EXE"}) {
        if (std::ranges::equal(fileName, known, {}, UpperAscii)) return true;
    }
    return false;
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Upper case, one kind of separator, no repeats after the first two (which may start a share).
std::wstring Comparable(std::wstring_view path) {
    const std::wstring trimmed = Trim(path);
    std::wstring result;
    result.reserve(trimmed.size());
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        const wchar_t c = trimmed[i];
        if (IsSeparator(c)) {
            if (i >= 2 && !result.empty() && result.back() == L'\\') continue;
            result += L'\\';
        } else {
            result += UpperAscii(c);
        }
    }
    return result;
}

// Below the folder, at any depth; "C:\Program Files Extra" is not below "C:\Program Files".
bool IsInside(std::wstring_view path, std::wstring_view folder) {
    std::wstring prefix = Comparable(folder);
    if (prefix.empty()) return false;
    if (prefix.back() != L'\\') prefix += L'\\';
    return Comparable(path).starts_with(prefix);
}

}  // namespace

std::optional<std::wstring> ExpandSystemVariables(std::wstring_view text,
                                                  const SystemVariables& variables) {
    std::wstring result;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t open = text.find(L'%', at);
        result += text.substr(at, open - at);
        if (open == std::wstring_view::npos) break;
        const std::size_t close = text.find(L'%', open + 1);
        if (close == std::wstring_view::npos) return std::nullopt;
        const std::wstring_view name = text.substr(open + 1, close - open - 1);
        const auto found = std::ranges::find_if(variables, [&](const auto& variable) {
            return std::ranges::equal(variable.first, name, {}, UpperAscii, UpperAscii);
        });
        if (found == variables.end()) return std::nullopt;
        result += found->second;
        at = close + 1;
    }
    return result;
}

bool SameProgramPath(std::wstring_view a, std::wstring_view b) {
    const std::wstring left = Comparable(a);
    return !left.empty() && left == Comparable(b);
}

bool MayStartUnattended(std::wstring_view programFullPath, const InstalledPlaces& places,
                        std::wstring_view userChosenFullPath) {
    if (IsPresentationProgramName(FileNamePart(programFullPath))) {
        const auto inside = [&](const std::wstring& folder) {
            return IsInside(programFullPath, folder);
        };
        const auto registered = [&](const std::wstring& path) {
            return SameProgramPath(programFullPath, path);
        };
        if (std::ranges::any_of(places.programFolders, inside) ||
            std::ranges::any_of(places.registeredPrograms, registered)) {
            return true;
        }
    }
    return SameProgramPath(programFullPath, userChosenFullPath);
}

std::wstring UncheckedProgramMessage(std::wstring_view programPath) {
    return L"The setting file names \"" + std::wstring(programPath) +
           L"\" as the program that plays it. Tidewell did not start it: once you have checked "
           L"that this is the program you want, \"Play All\" starts it.";
}

std::wstring UnchosenProgramQuestion(std::wstring_view programPath, std::wstring_view settingFile) {
    std::wstring text =
        L"\"" + std::wstring(programPath) + L"\" is not the presentation program you chose.";
    if (!settingFile.empty()) {
        text += L" The setting file \"" + std::wstring(settingFile) + L"\" names it.";
    }
    return text + L"\n\nStart it, and make it your presentation program?";
}

}  // namespace tidewell
