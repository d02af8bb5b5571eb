// The playlist's editing commands and the rule that enables the commands that depend on it.
#include "app/form1_win32.h"
#include "app/resource.h"
#include "playlist/command_enable.h"
#include "playlist/playlist_view_win32.h"

namespace tidewell {

void TForm1::ApplyCommandEnableRule() {
    const CommandEnableState state =
        ComputeCommandEnable(Playlist().Count(), Playlist().SelectedIndex());
    // Each id covers the toolbar button or push button and the context-menu item of one command.
    SetCommandEnabled(IDC_ToolButton3, state.remove);
    SetCommandEnabled(IDC_ToolButton4, state.removeAll);
    SetCommandEnabled(IDC_ToolButton5, state.moveUp);
    SetCommandEnabled(IDC_ToolButton6, state.moveDown);
    SetCommandEnabled(IDC_ToolButton7, state.saveSetting);
    SetCommandEnabled(IDC_BitBtn1, state.playAll);
    SetCommandEnabled(IDC_BitBtn2, state.playSelected);
}

void TForm1::ListView1SelectItem() {
    ApplyCommandEnableRule();
}

void TForm1::ToolButton3Click() {
    Playlist().RemoveSelected();
    ApplyCommandEnableRule();
}

void TForm1::ToolButton4Click() {
    Playlist().RemoveAll();
    ApplyCommandEnableRule();
}

void TForm1::ToolButton5Click() {
    if (Playlist().MoveSelectedUp()) ApplyCommandEnableRule();
}

void TForm1::ToolButton6Click() {
    if (Playlist().MoveSelectedDown()) ApplyCommandEnableRule();
}

}  // namespace tidewell
