#include "persistence/preferences_win32.h"

#include <windows.h>

#include <system_error>
#include <vector>

#include "common/file_exists_win32.h"
#include "common/path_characters.h"
#include "common/text_rules.h"
#include "persistence/kept_entries_win32.h"
#include "persistence/monitor_number.h"
#include "persistence/preference_values.h"
#include "persistence/preferences_key.h"
#include "persistence/registry_strings_win32.h"

namespace tidewell {
namespace {

KeptEntries StoredEntriesNotGone(HKEY key) {
    // Text that no file name can be is left out as a file that is gone is.
    std::vector<PlaylistEntry> stored =
        SplitStoredPlaylist(ReadRegistryString(key, kFilesValueName));
    std::erase_if(stored, [](const PlaylistEntry& entry) { return !IsPossiblePath(entry.path); });
    return EntriesNotGone(std::move(stored));
}

// Monitors are this computer's: the preferences may roam with the user to another one.
std::wstring MonitorsValueName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(name, &size)) size = 0;
    return RememberedMonitorsValueName(std::wstring_view(name, size));
}

}  // namespace

std::future<KeptEntries> ReadStoredEntriesAhead(const std::wstring& keyPath) {
    auto read = [keyPath] {
        // Reading creates the key, empty, on a first start.
        const UniqueHKEY key = OpenPreferencesKey(keyPath);
        return key ? StoredEntriesNotGone(key.get()) : KeptEntries{};
    };
    try {
        return std::async(std::launch::async, read);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, read);  // no thread: read when taken
    }
}

Preferences::Preferences(std::wstring keyPath, PlaylistRows& playlist, ProgramField& program,
                         MonitorSelector& monitor)
    : keyPath_(std::move(keyPath)), playlist_(playlist), program_(program), monitor_(monitor) {}

void Preferences::Load(std::future<KeptEntries> storedAhead) {
    // Reading creates the key, empty, on a first start.
    const UniqueHKEY key = OpenPreferencesKey(keyPath_);
    if (!key) return;

    KeptEntries restored =
        storedAhead.valid() ? storedAhead.get() : StoredEntriesNotGone(key.get());
    if (!restored.kept.empty()) {
        playlist_.SetUnreachable(std::move(restored.unreachable));
        playlist_.AppendEntries(std::move(restored.kept));
        // Selecting raises the selection event, which applies the command-enable rule.
        playlist_.SetSelectedIndex(0);
    }

    const std::wstring program = Trim(ReadRegistryString(key.get(), kProgramValueName));
    if (IsPossiblePath(program) && PresenceOf(program) != Presence::Gone) {
        program_.SetProgramPath(program);
    }

    const std::wstring monitorText = ReadRegistryString(key.get(), kMonitorValueName);
    const auto monitor = ParseMonitorNumber(monitorText, monitor_.MonitorCount());
    if (monitor) monitor_.SetMonitorNumber(*monitor);
    absentMonitor_ = AbsentMonitorNumber(monitorText, monitor_.MonitorCount());

    chosenProgram_ = Trim(ReadRegistryString(key.get(), kChosenProgramValueName));
    monitors_ =
        RememberedMonitors::Decode(ReadRegistryString(key.get(), MonitorsValueName().c_str()));
}

void Preferences::Save() {
    const std::wstring files = JoinPlaylistForStore(playlist_.Entries());
    const UniqueHKEY key = OpenPreferencesKey(keyPath_);
    if (!key) return;
    WriteRegistryString(key.get(), kFilesValueName, files);
    WriteRegistryString(key.get(), kProgramValueName, program_.ProgramPath());
    WriteRegistryString(key.get(), kMonitorValueName,
                        MonitorNumberText(absentMonitor_.value_or(monitor_.MonitorNumber())));
    WriteRegistryString(key.get(), kChosenProgramValueName, chosenProgram_);
    WriteRegistryString(key.get(), MonitorsValueName().c_str(), monitors_.Encode());
}

std::wstring PreferencesKeyFromEnvironment() {
    const DWORD needed = ::GetEnvironmentVariableW(kPreferencesKeyVariable, nullptr, 0);
    std::wstring value;
    if (needed > 1) {
        value.resize(needed);
        value.resize(::GetEnvironmentVariableW(kPreferencesKeyVariable, value.data(), needed));
    }
    return ChoosePreferencesKey(value);
}

}  // namespace tidewell
