// Reordering the playlist by dragging a row inside the list, and the list's notifications.
#include "app/form1_win32.h"
#include "playlist/playlist_view_win32.h"

namespace tidewell {

namespace {

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

// The drag runs inside the list's own window procedure; errors must not leave it, so each call
// back into the window goes through the window's error guard.
void BeginListDrag(TForm1& form) {
    PlaylistView::DragHandlers handlers;
    handlers.over = [&form](HWND source, POINT) {
        bool accepted = false;
        form.Guarded([&] { accepted = form.ListView1DragOver(source); });
        return accepted;
    };
    handlers.end = [&form](POINT clientPoint) {
        form.Guarded([&] { form.ListView1EndDrag(clientPoint); });
    };
    form.Playlist().BeginDrag(std::move(handlers));
}

}  // namespace

bool TForm1::ListView1DragOver(HWND source) {
    // Only rows of a list like this one can be dropped here, which in practice means its own.
    return source && ClassNameOf(source) == ClassNameOf(ListView1);
}

void TForm1::ListView1EndDrag(POINT clientPoint) {
    const int dragged = Playlist().SelectedIndex();
    if (dragged < 0) return;  // a drag always starts from the selected row; without one, no move
    Playlist().MoveDragged(dragged, Playlist().RowAt(clientPoint));
}

bool TForm1::HandleListViewMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY) return false;
    const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
    if (header.hwndFrom != ListView1) return false;
    if (header.code == LVN_BEGINDRAG) {
        BeginListDrag(*this);
        result = 0;
        return true;
    }
    return Playlist().HandleNotify(header, result);
}

}  // namespace tidewell
