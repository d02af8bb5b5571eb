#pragma once
// "Save setting" and "Load setting": the current monitor, program and playlist to and from a
// setting file that the user names.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "common/dialogs_win32.h"
#include "common/file_exists_win32.h"
#include "common/window_fields.h"
#include "persistence/kept_entries_win32.h"
#include "persistence/setting_content.h"
#include "playlist/playlist_rows.h"

namespace tidewell {

// A setting file as its drive or share gave it, before anything of the window has changed.
struct ReadSetting {
    std::optional<SettingContent> content;  // none: not a setting file
    KeptEntries presentations;
    bool programGone = false;
    std::wstring source;              // the file's full path
    UnreadableEntryLine unreadable;   // when not a setting file for an entry line's settings
    std::vector<std::uint8_t> bytes;  // what was read and interpreted, for a copy of it
};

class SettingCommands {
  public:
    // `onLoaded` runs after a setting file has replaced the playlist, so that the window applies
    // its command states again.
    SettingCommands(HWND owner, Dialogs& dialogs, PlaylistRows& playlist, ProgramField& program,
                    MonitorSelector& monitor, std::function<void()> onLoaded);
    SettingCommands(const SettingCommands&) = delete;
    SettingCommands& operator=(const SettingCommands&) = delete;

    void Save();
    void Load();
    // "Load setting" of a file chosen elsewhere (the command line): the same checks, messages
    // and errors as through the dialog.
    void LoadFile(const std::wstring& path);
    // The full path of the setting file that put the field's program there, when one did.
    const std::wstring& ProgramSource() const { return programSource_; }
    // LoadFile in two halves. Read touches the file and nothing of the window, so that it may run
    // on a worker while a share keeps it waiting; it throws what LoadFile throws. Apply then does
    // on the window what LoadFile does with it: the format message, or the new playlist.
    // `readAs`: the file that `path` is a copy of, which a relative program line is beside.
    static ReadSetting Read(const std::wstring& path, int monitorCount,
                            const std::wstring& readAs = {});
    void Apply(ReadSetting read);

  private:
    HWND owner_;
    Dialogs& dialogs_;
    PlaylistRows& playlist_;
    ProgramField& program_;
    MonitorSelector& monitor_;
    std::function<void()> onLoaded_;
    FileDialog TntOpenDialog3;
    FileDialog TntSaveDialog1;
    std::wstring programSource_;
};

}  // namespace tidewell
