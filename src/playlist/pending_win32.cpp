// Placeholders so that the program links while the playlist commands are being written. Each
// definition here goes away when its real one lands.
#include <windows.h>

#include "app/form1_win32.h"
#include "playlist/playlist_view_win32.h"

namespace tidewell {

void TForm1::ApplyCommandEnableRule() {}
void TForm1::ListView1SelectItem() {}
bool TForm1::ListView1DragOver(HWND) { return false; }
void TForm1::ListView1EndDrag(POINT) {}
void TForm1::ToolButton1Click() {}
void TForm1::ToolButton2Click() {}
void TForm1::ToolButton3Click() {}
void TForm1::ToolButton4Click() {}
void TForm1::ToolButton5Click() {}
void TForm1::ToolButton6Click() {}
std::optional<std::wstring> TForm1::ChooseFolder(HWND, const std::wstring&) { return {}; }
bool TForm1::ShellDropHook(MSG&) { return false; }
bool TForm1::HandleListViewMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY) return false;
    const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
    return header.hwndFrom == ListView1 && Playlist().HandleNotify(header, result);
}

}  // namespace tidewell
