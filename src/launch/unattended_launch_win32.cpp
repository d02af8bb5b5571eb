#include "launch/unattended_launch_win32.h"

#include <windows.h>
#include <shlobj.h>

#include "common/folder_listing_plan.h"
#include "common/full_path_win32.h"
#include "common/path_characters.h"
#include "common/unique_handle_win32.h"
#include "launch/path_check_win32.h"

namespace tidewell {
namespace {

void AddKnownFolder(REFKNOWNFOLDERID id, std::vector<std::wstring>& folders) {
    PWSTR path = nullptr;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path)) && path) {
        if (const auto full = SystemFullPath(path)) folders.push_back(LongPathOf(*full));
    }
    ::CoTaskMemFree(path);
}

// Where the system's own variables lead, as the system says, never as this process's environment
// says: whoever starts Tidewell (a batch file) sets that.
SystemVariables SystemVariableValues() {
    SystemVariables values;
    wchar_t windows[MAX_PATH] = {};
    const UINT length = ::GetSystemWindowsDirectoryW(windows, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        values.emplace_back(L"SystemRoot", windows);
        values.emplace_back(L"windir", windows);
        values.emplace_back(L"SystemDrive", std::wstring(windows, 2));
    }
    const std::pair<const wchar_t*, REFKNOWNFOLDERID> folders[] = {
        {L"ProgramFiles", FOLDERID_ProgramFiles},
        {L"ProgramFiles(x86)", FOLDERID_ProgramFilesX86},
        {L"ProgramW6432", FOLDERID_ProgramFilesX64},
        {L"CommonProgramFiles", FOLDERID_ProgramFilesCommon},
        {L"CommonProgramFiles(x86)", FOLDERID_ProgramFilesCommonX86},
    };
    for (const auto& [name, id] : folders) {
        PWSTR path = nullptr;
        if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path)) && path) {
            values.emplace_back(name, path);
        }
        ::CoTaskMemFree(path);
    }
    return values;
}

// The default value of "App Paths\<name>" below HKEY_LOCAL_MACHINE, in one registry view. Read
// as stored (the system refuses to expand while it reads: RRF_RT_REG_EXPAND_SZ needs
// RRF_NOEXPAND), then expanded with the system's variables alone.
void AddRegisteredProgram(const wchar_t* name, REGSAM view, const SystemVariables& variables,
                          std::vector<std::wstring>& programs) {
    const std::wstring subKey =
        std::wstring(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\") + name;
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_QUERY_VALUE | view, &opened) !=
        ERROR_SUCCESS) {
        return;
    }
    const UniqueHKEY key(opened);
    constexpr DWORD kTypes = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD bytes = 0;
    if (::RegGetValueW(key.get(), nullptr, nullptr, kTypes, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        bytes > (kLongestPath + 1) * sizeof(wchar_t)) {
        return;
    }
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    DWORD type = 0;
    if (::RegGetValueW(key.get(), nullptr, nullptr, kTypes, &type, value.data(), &bytes) !=
        ERROR_SUCCESS) {
        return;
    }
    value.resize(value.find(L'\0'));
    if (type == REG_EXPAND_SZ) {
        std::optional<std::wstring> expanded = ExpandSystemVariables(value, variables);
        if (!expanded) return;
        value = std::move(*expanded);
    }
    // Installers often write the path between quotes.
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') {
        value = value.substr(1, value.size() - 2);
    }
    // Only a full path: a relative one would mean whatever the current folder holds.
    if (PathRoot(value).empty()) return;
    if (const auto checked = CheckProgram(value)) programs.push_back(checked->FullPath());
}

}  // namespace

InstalledPlaces SystemInstalledPlaces() {
    InstalledPlaces places;
    AddKnownFolder(FOLDERID_ProgramFiles, places.programFolders);
    AddKnownFolder(FOLDERID_ProgramFilesX86, places.programFolders);
    const SystemVariables variables = SystemVariableValues();
    for (const wchar_t* name : {L"POWERPNT.EXE", L"PPTVIEW.EXE"}) {
        for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            AddRegisteredProgram(name, view, variables, places.registeredPrograms);
        }
    }
    return places;
}

bool MayStartProgramUnattended(const CheckedProgram& program, const std::wstring& userChosen) {
    // The choice is stored as the full path that was checked. A text that is not full (stored by
    // an older version) names a different file from every other current folder: it counts for
    // nothing, and the program is asked about once more.
    const std::optional<CheckedProgram> chosen =
        PathRoot(userChosen).empty() ? std::nullopt : CheckProgram(userChosen);
    return MayStartUnattended(program.FullPath(), SystemInstalledPlaces(),
                              chosen ? chosen->FullPath() : std::wstring());
}

}  // namespace tidewell
