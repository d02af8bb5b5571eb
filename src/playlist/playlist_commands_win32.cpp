// "Add files", "Add folder" and the editing commands.
#include "playlist/playlist_commands_win32.h"

#include "playlist/entry_settings_dialog_win32.h"

#include <shellapi.h>

#include "common/file_exists_win32.h"
#include "playlist/folder_scan_win32.h"
#include "playlist/presentation_filter.h"

namespace tidewell {

PlaylistCommands::PlaylistCommands(HWND owner, HWND list, Dialogs& dialogs, ErrorSink& errors,
                                   std::function<void()> onCommandsChanged)
    : owner_(owner),
      dialogs_(dialogs),
      errors_(errors),
      onCommandsChanged_(std::move(onCommandsChanged)),
      TntOpenDialog1{L"TntOpenDialog1", FileDialog::Kind::Open, L".ppt",
                     L"MS PowerPoint Presentation files|*.ppt;*.pps;*.pptx;*.ppsx",
                     FileDialog::kHideReadOnly | FileDialog::kEnableSizing |
                         FileDialog::kAllowMultiSelect | FileDialog::kPathMustExist |
                         FileDialog::kFileMustExist},
      // Every change of a row's selected state is the selection event, which re-applies the rule.
      view_(list, [this] { onCommandsChanged_(); }) {
    ::DragAcceptFiles(list, TRUE);
    ConnectDrag();
}

void PlaylistCommands::AddFiles() {
    if (!dialogs_.RunFileDialog(owner_, TntOpenDialog1)) return;
    view_.SetAutoColumnWidth();
    // The dialog already insists that files exist; the check again covers names typed in a form
    // that the dialog let through (and files gone in between).
    std::vector<std::wstring> existing;
    for (const std::wstring& path : TntOpenDialog1.files) {
        if (FileExists(path)) existing.push_back(path);
    }
    view_.AppendAll(std::move(existing));
    view_.SetSelectedIndex(static_cast<int>(view_.Count()) - 1);
    onCommandsChanged_();
}

void PlaylistCommands::AddFolder() {
    const std::optional<std::wstring> folder =
        dialogs_.BrowseForFolder(owner_, L"Please select folder");
    if (!folder) return;
    std::vector<std::wstring> found =
        ScanFolderForPresentations(WithoutTrailingBackslash(*folder), TntOpenDialog1.filter);
    if (found.empty()) return;  // nothing added: the selection, and so the commands, stay
    view_.AppendAll(std::move(found));
    // The selection event that this raises applies the command-enable rule.
    view_.SetSelectedIndex(static_cast<int>(view_.Count()) - 1);
}

void PlaylistCommands::Remove() {
    view_.RemoveSelected();
    onCommandsChanged_();
}

void PlaylistCommands::RemoveAll() {
    view_.RemoveAll();
    onCommandsChanged_();
}

void PlaylistCommands::MoveUp() {
    if (view_.MoveSelectedUp()) onCommandsChanged_();
}

void PlaylistCommands::MoveDown() {
    if (view_.MoveSelectedDown()) onCommandsChanged_();
}

void PlaylistCommands::EditSettings() {
    const std::vector<int> rows = view_.SelectedRows();
    if (rows.empty()) return;
    std::vector<EntrySettings> settings;
    for (const int row : rows)
        settings.push_back(view_.Entry(static_cast<std::size_t>(row)).settings);
    const auto form = RunEntrySettingsDialog(owner_, settings);
    if (!form) return;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        view_.SetSettings(static_cast<std::size_t>(rows[i]), ApplyForm(settings[i], *form));
    }
}

}  // namespace tidewell
