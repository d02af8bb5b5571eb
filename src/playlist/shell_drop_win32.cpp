// Files dropped onto the list from the shell. The hook sees every queued message; it takes the
// drops addressed to the list and lets everything else through.
#include <windows.h>
#include <shellapi.h>

#include "app/form1_win32.h"
#include "common/file_exists_win32.h"
#include "common/unique_handle_win32.h"
#include "playlist/playlist_view_win32.h"
#include "playlist/presentation_filter.h"

namespace tidewell {

namespace {

// A dropped name longer than this is cut; such a name then normally fails the exists test.
constexpr UINT kDropNameBuffer = 1280;

std::wstring UpperCaseUnicode(std::wstring text) {
    if (!text.empty()) ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

bool IsDroppablePresentation(const std::wstring& path, const std::wstring& upperFilter) {
    return FileExists(path) && !ContainsLockFileMark(path) &&
           ExtensionMatchesFilter(UpperCaseUnicode(ExtensionOf(path)), upperFilter);
}

}  // namespace

bool TForm1::ShellDropHook(MSG& message) {
    if (message.message != WM_DROPFILES || message.hwnd != ListView1) return false;
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
            Playlist().Append(std::move(path));
            appended = true;
        }
    }
    // The selection event that this raises applies the command-enable rule.
    if (appended) Playlist().SetSelectedIndex(static_cast<int>(Playlist().Count()) - 1);
    return true;
}

}  // namespace tidewell
