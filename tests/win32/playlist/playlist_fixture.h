#pragma once
// What the playlist's Win32 tests share: a main window with the playlist at hand, the rows and
// command states read back from the real controls, temporary folders with real files, and drops
// built the way the shell builds them.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/resource.h"
#include "playlist/command_enable.h"
#include "playlist/playlist_view_win32.h"
#include "support/form_fixture.h"
#include "support/temp_folder.h"

namespace tidewell::testing::playlist_tests {

// The names the file system lists in `folder`, files only, in its own order.
std::vector<std::wstring> ListedFileNames(const std::wstring& folder);

// A drop of these paths as the shell hands it over: a DROPFILES block with wide names.
HDROP MakeDrop(const std::vector<std::wstring>& paths);

class PlaylistFixture : public FormFixture {
  protected:
    void SetUp() override;

    PlaylistView& List() { return form_->Playlist(); }
    HWND ListWindow() { return Control(IDC_ListView1); }
    void Fill(std::initializer_list<std::wstring> paths);
    // The captions the list control shows, asked from it row by row.
    std::vector<std::wstring> ShownRows();
    // The enabled states of the commands the rule sets, read from the toolbar and push buttons;
    // the context-menu item of each command is checked to agree.
    CommandEnableState ControlStates();
    bool MenuItemEnabled(int commandId);
    // Clicks a row (or, for a row past the end, the empty space below the rows) with the mouse.
    void ClickRow(int row);
    POINT RowCenter(int row);
    POINT BelowLastRow();
};

}  // namespace tidewell::testing::playlist_tests
