// "Save setting" and "Load setting": the current monitor, program and playlist to and from a
// setting file that the user names.
#include "app/form1_win32.h"
#include "common/file_exists_win32.h"
#include "persistence/setting_content.h"
#include "persistence/setting_file_codec.h"
#include "persistence/setting_file_io_win32.h"
#include "persistence/setting_messages.h"
#include "playlist/playlist_view_win32.h"

namespace tidewell {

void TForm1::ToolButton7Click() {
    const std::wstring program = ProgramPath();
    if (!FileExists(program)) {
        UserDialogs().ShowMessage(Handle(), kSelectViewerMessage);
        return;
    }
    if (!UserDialogs().RunFileDialog(Handle(), TntSaveDialog1)) return;

    const std::wstring& target = TntSaveDialog1.fileName;
    const auto bytes =
        EncodeSettingFile(ComposeSettingLines(MonitorNumber(), program, Playlist().Entries()));
    if (SaveSettingFile(target, bytes) == SaveOutcome::TargetInUse) {
        UserDialogs().ShowMessage(Handle(), FileInUseMessage(target));
    }
}

void TForm1::ToolButton8Click() {
    if (!UserDialogs().RunFileDialog(Handle(), TntOpenDialog3)) return;

    const auto lines = DecodeSettingLines(ReadSettingFile(TntOpenDialog3.fileName), DecodeAnsiText);
    const auto content = InterpretSettingLines(lines, MonitorCount());
    if (!content) {
        UserDialogs().ShowMessage(Handle(), kSettingFormatMessage);
        return;
    }

    SetMonitorNumber(content->monitor);
    Playlist().RemoveAll();
    std::vector<std::wstring> existing;
    for (const std::wstring& path : content->presentations) {
        if (FileExists(path)) existing.push_back(path);
    }
    Playlist().AppendAll(std::move(existing));
    if (FileExists(content->programPath)) SetProgramPath(content->programPath);
    ApplyCommandEnableRule();
}

}  // namespace tidewell
