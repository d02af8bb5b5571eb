#include "playback/unattended_launch.h"

#include <algorithm>

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

}  // namespace

bool MayStartUnattended(std::wstring_view programPath, std::wstring_view userChosenProgram) {
    return IsPresentationProgramName(FileNamePart(programPath)) ||
           (!programPath.empty() && programPath == userChosenProgram);
}

std::wstring UncheckedProgramMessage(std::wstring_view programPath) {
    return L"The setting file names \"" + std::wstring(programPath) +
           L"\" as the program that plays it. Tidewell did not start it: once you have checked "
           L"that this is the program you want, \"Play All\" starts it.";
}

}  // namespace tidewell
