#include "launch/unattended_launch_win32.h"

#include <windows.h>
#include <shlobj.h>

#include "common/unique_handle_win32.h"
#include "launch/path_check_win32.h"

namespace tidewell {
namespace {

void AddKnownFolder(REFKNOWNFOLDERID id, std::vector<std::wstring>& folders) {
    PWSTR path = nullptr;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path)) && path) {
        if (const auto checked = CheckProgram(path)) folders.push_back(checked->FullPath());
    }
    ::CoTaskMemFree(path);
}

// The default value of "App Paths\<name>" below HKEY_LOCAL_MACHINE, in one registry view.
void AddRegisteredProgram(const wchar_t* name, REGSAM view, std::vector<std::wstring>& programs) {
    const std::wstring subKey =
        std::wstring(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\") + name;
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_QUERY_VALUE | view, &opened) !=
        ERROR_SUCCESS) {
        return;
    }
    const UniqueHKEY key(opened);
    constexpr DWORD kTypes = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ;
    DWORD bytes = 0;
    if (::RegGetValueW(key.get(), nullptr, nullptr, kTypes, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS) {
        return;
    }
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (::RegGetValueW(key.get(), nullptr, nullptr, kTypes, nullptr, value.data(), &bytes) !=
        ERROR_SUCCESS) {
        return;
    }
    value.resize(value.find(L'\0'));
    // Installers often write the path between quotes.
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') {
        value = value.substr(1, value.size() - 2);
    }
    if (const auto checked = CheckProgram(value)) programs.push_back(checked->FullPath());
}

}  // namespace

InstalledPlaces SystemInstalledPlaces() {
    InstalledPlaces places;
    AddKnownFolder(FOLDERID_ProgramFiles, places.programFolders);
    AddKnownFolder(FOLDERID_ProgramFilesX86, places.programFolders);
    for (const wchar_t* name : {L"POWERPNT.EXE", L"PPTVIEW.EXE"}) {
        for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            AddRegisteredProgram(name, view, places.registeredPrograms);
        }
    }
    return places;
}

bool MayStartProgramUnattended(const CheckedProgram& program, const std::wstring& userChosen) {
    const std::optional<CheckedProgram> chosen = CheckProgram(userChosen);
    return MayStartUnattended(program.FullPath(), SystemInstalledPlaces(),
                              chosen ? chosen->FullPath() : std::wstring());
}

}  // namespace tidewell
