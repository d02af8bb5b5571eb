#include "playback/unattended_launch.h"

#include <algorithm>

#include "common/text_rules.h"
#include "playback/switch_set.h"

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

}  // namespace

bool IsAbsoluteDrivePath(std::wstring_view path) {
    if (path.size() < 4 || UpperAscii(path[0]) < L'A' || UpperAscii(path[0]) > L'Z' ||
        path[1] != L':' || !IsSeparator(path[2])) {
        return false;
    }
    return path.find(L':', 2) == std::wstring_view::npos &&
           path.find(L'?') == std::wstring_view::npos && path.find(L'*') == std::wstring_view::npos;
}

bool SameProgramPath(std::wstring_view a, std::wstring_view b) {
    const std::wstring left = Comparable(a);
    return !left.empty() && left == Comparable(b);
}

bool MayStartUnattended(const ProgramToStart& program, std::wstring_view userChosenFullPath) {
    const std::wstring_view named = program.asNamed;
    if (IsPresentationProgramName(FileNamePart(named)) && IsAbsoluteDrivePath(named) &&
        program.onLocalDrive) {
        return true;
    }
    return SameProgramPath(program.fullPath, userChosenFullPath);
}

std::wstring UncheckedProgramMessage(std::wstring_view programPath) {
    return L"The setting file names \"" + std::wstring(programPath) +
           L"\" as the program that plays it. Tidewell did not start it: once you have checked "
           L"that this is the program you want, \"Play All\" starts it.";
}

}  // namespace tidewell
