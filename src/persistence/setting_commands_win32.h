#pragma once
// "Save setting" and "Load setting": the current monitor, program and playlist to and from a
// setting file that the user names.
#include <windows.h>

#include <functional>
#include <string>

#include "common/dialogs_win32.h"
#include "common/window_fields.h"
#include "playlist/playlist_rows.h"

namespace tidewell {

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
