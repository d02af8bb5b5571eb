#pragma once
// The playlist's commands: adding presentations through a dialog, from a folder or by a drop from
// the shell; the editing commands; and reordering by dragging a row. They see the window only
// through its list, the dialog seam, the error box and one call that tells the window its
// commands' states may have changed.
#include <windows.h>

#include <functional>

#include "common/dialogs_win32.h"
#include "common/error_sink.h"
#include "playlist/playlist_view_win32.h"

namespace tidewell {

class PlaylistCommands {
  public:
    PlaylistCommands(HWND owner, HWND list, Dialogs& dialogs, ErrorSink& errors,
                     std::function<void()> onCommandsChanged);
    PlaylistCommands(const PlaylistCommands&) = delete;
    PlaylistCommands& operator=(const PlaylistCommands&) = delete;

    PlaylistView& View() { return view_; }
    const PlaylistView& View() const { return view_; }

    void AddFiles();
    void AddFolder();
    void Remove();
    void RemoveAll();
    void MoveUp();
    void MoveDown();
    // The "Entry settings" dialog for the selected entries; what it sets goes to each of them.
    void EditSettings();

    // Notifications the list sends its parent (row texts, selection, type-ahead); true when
    // handled here.
    bool HandleNotify(const NMHDR& header, LRESULT& result);
    // For the application-wide message hook: takes the shell's drops onto the list (true) and lets
    // everything else through (false).
    bool TakeShellDrop(const MSG& message);

  private:
    void ConnectDrag();
    bool AcceptsDragFrom(HWND source) const;
    void EndDrag(POINT clientPoint);

    HWND owner_;
    Dialogs& dialogs_;
    ErrorSink& errors_;
    std::function<void()> onCommandsChanged_;
    FileDialog TntOpenDialog1;
    PlaylistView view_;
};

}  // namespace tidewell
