// Rows dragged inside the list, files dropped onto it from the shell, and the list's notifications.
#include "playlist/playlist_commands_win32.h"

#include <shellapi.h>

#include "common/file_exists_win32.h"
#include "common/path_characters.h"
#include "common/unique_handle_win32.h"
#include "playlist/presentation_filter.h"

namespace tidewell {
namespace {

// A dropped name longer than this is cut; such a name then normally fails the exists test.
constexpr UINT kDropNameBuffer = 1280;

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring UpperCaseUnicode(std::wstring text) {
    if (!text.empty()) ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

bool IsDroppablePresentation(const std::wstring& path, const std::wstring& upperFilter) {
    return IsPossiblePath(path) && FileExists(path) && !ContainsLockFileMark(path) &&
           ExtensionMatchesFilter(UpperCaseUnicode(ExtensionOf(path)), upperFilter);
}

}  // namespace

bool PlaylistCommands::HandleNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != view_.Handle()) return false;
    // Enter on a row opens its settings, as a double click opens a file in Explorer.
    if (header.code == NM_RETURN) {
        EditSettings();
        result = 0;
        return true;
    }
    return view_.HandleNotify(header, result);
}

// The list runs its drags itself, inside its own window procedure; errors must not leave it, so
// each call back into the commands goes through the window's error guard.
void PlaylistCommands::ConnectDrag() {
    PlaylistView::DragHandlers handlers;
    handlers.over = [this](HWND source, POINT) {
        bool accepted = false;
        RunGuarded(errors_, [&] { accepted = AcceptsDragFrom(source); });
        return accepted;
    };
    handlers.end = [this](POINT clientPoint) {
        RunGuarded(errors_, [&] { EndDrag(clientPoint); });
    };
    view_.SetDragHandlers(std::move(handlers));
}

bool PlaylistCommands::AcceptsDragFrom(HWND source) const {
    // Only rows of a list like this one can be dropped here, which in practice means its own.
    return source && ClassNameOf(source) == ClassNameOf(view_.Handle());
}

void PlaylistCommands::EndDrag(POINT clientPoint) {
    const int dragged = view_.SelectedIndex();
    if (dragged < 0) return;  // a drag always starts from the selected row; without one, no move
    view_.MoveDragged(dragged, view_.RowAt(clientPoint));
}

bool PlaylistCommands::TakeShellDrop(const MSG& message) {
    if (message.message != WM_DROPFILES || message.hwnd != view_.Handle()) return false;
    bool appended = false;
    {
        // Released when this block ends, also when an error breaks off the loop.
        const UniqueHDROP drop(reinterpret_cast<HDROP>(message.wParam));
        const UINT count = ::DragQueryFileA(drop.get(), 0xFFFFFFFF, nullptr, 0);
        const std::wstring upperFilter = UpperCaseUnicode(TntOpenDialog1.filter);
        std::wstring name(kDropNameBuffer, L'\0');
        for (UINT i = 0; i < count; ++i) {
            name[0] = L'\0';
            ::DragQueryFileW(drop.get(), i, name.data(), kDropNameBuffer);
            std::wstring path(name.c_str());
            if (!IsDroppablePresentation(path, upperFilter)) continue;
            view_.Append(std::move(path));
            appended = true;
        }
    }
    // The selection event that this raises applies the command-enable rule.
    if (appended) view_.SetSelectedIndex(static_cast<int>(view_.Count()) - 1);
    return true;
}

}  // namespace tidewell
