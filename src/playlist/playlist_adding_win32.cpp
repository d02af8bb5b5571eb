// "Add files" and "Add folder": the two ways of adding presentations through a dialog.
#include "app/form1_win32.h"
#include "common/file_exists_win32.h"
#include "playlist/folder_scan_win32.h"
#include "playlist/playlist_view_win32.h"
#include "playlist/presentation_filter.h"

namespace tidewell {

void TForm1::ToolButton1Click() {
    if (!UserDialogs().RunFileDialog(hwnd_, TntOpenDialog1)) return;
    Playlist().SetAutoColumnWidth();
    // The dialog already insists that files exist; the check again covers names typed in a form
    // that the dialog let through (and files gone in between).
    std::vector<std::wstring> existing;
    for (const std::wstring& path : TntOpenDialog1.files) {
        if (FileExists(path)) existing.push_back(path);
    }
    Playlist().AppendAll(std::move(existing));
    Playlist().SetSelectedIndex(static_cast<int>(Playlist().Count()) - 1);
    ApplyCommandEnableRule();
}

void TForm1::ToolButton2Click() {
    const std::optional<std::wstring> folder = ChooseFolder(hwnd_, L"Please select folder");
    if (!folder) return;
    std::vector<std::wstring> found =
        ScanFolderForPresentations(WithoutTrailingBackslash(*folder), TntOpenDialog1.filter);
    if (found.empty()) return;  // nothing added: the selection, and so the commands, stay
    Playlist().AppendAll(std::move(found));
    // The selection event that this raises applies the command-enable rule.
    Playlist().SetSelectedIndex(static_cast<int>(Playlist().Count()) - 1);
}

std::optional<std::wstring> TForm1::ChooseFolder(HWND owner, const std::wstring& prompt) {
    return UserDialogs().BrowseForFolder(owner, prompt);
}

}  // namespace tidewell
