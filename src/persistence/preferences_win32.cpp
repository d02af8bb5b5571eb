// Stored preferences: restored once while the main window is created, stored at every close.
#include <vector>

#include "app/form1_win32.h"
#include "common/file_exists_win32.h"
#include "common/text_rules.h"
#include "persistence/monitor_number.h"
#include "persistence/preference_values.h"
#include "persistence/registry_strings_win32.h"
#include "playlist/playlist_view_win32.h"

namespace tidewell {

void TForm1::LoadPreferences() {
    // Reading creates the key, empty, on a first start; a key that cannot be opened means a
    // start with defaults and no message.
    const UniqueHKEY key = OpenPreferencesKey(PreferencesKeyPath());
    if (!key) return;

    std::vector<std::wstring> restored;
    for (std::wstring& path : SplitStoredPlaylist(ReadRegistryString(key.get(), kFilesValueName))) {
        if (FileExists(path)) restored.push_back(std::move(path));
    }
    if (!restored.empty()) {
        Playlist().AppendAll(std::move(restored));
        // Selecting raises the selection event, which applies the command-enable rule.
        Playlist().SetSelectedIndex(0);
    }

    const std::wstring program = Trim(ReadRegistryString(key.get(), kProgramValueName));
    if (FileExists(program)) SetProgramPath(program);

    const auto monitor =
        ParseMonitorNumber(ReadRegistryString(key.get(), kMonitorValueName), MonitorCount());
    if (monitor) SetMonitorNumber(*monitor);
}

void TForm1::SavePreferences() {
    const std::wstring files = JoinPlaylistForStore(Playlist().Entries());
    const UniqueHKEY key = OpenPreferencesKey(PreferencesKeyPath());
    if (!key) return;
    // A refused write throws: the later values stay unwritten and the close is abandoned.
    WriteRegistryString(key.get(), kFilesValueName, files);
    WriteRegistryString(key.get(), kProgramValueName, ProgramPath());
    WriteRegistryString(key.get(), kMonitorValueName, MonitorNumberText(MonitorNumber()));
}

}  // namespace tidewell
