#include "playlist/playlist_fixture.h"

#include <shlobj.h>

#include <cstring>

#include "app/resource.h"

namespace tidewell::testing::playlist_tests {

std::vector<std::wstring> ListedFileNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry{};
    HANDLE find = ::FindFirstFileW((folder + L"\\*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(entry.cFileName);
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return names;
}

HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const std::wstring& path : paths) names += path + L'\0';
    names += L'\0';
    const SIZE_T bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(),
                names.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

void PlaylistFixture::SetUp() {
    FormFixture::SetUp();
    CreateForm();
}

void PlaylistFixture::Fill(std::initializer_list<std::wstring> paths) {
    for (const std::wstring& path : paths) List().Append(path);
}

std::vector<std::wstring> PlaylistFixture::ShownRows() {
    std::vector<std::wstring> rows;
    const int count = ListView_GetItemCount(ListWindow());
    for (int i = 0; i < count; ++i) {
        wchar_t text[2048] = {};
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = 2048;
        ::SendMessageW(ListWindow(), LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        rows.emplace_back(text);
    }
    return rows;
}

bool PlaylistFixture::MenuItemEnabled(int commandId) {
    const UINT state = ::GetMenuState(form_->ContextMenu(), commandId, MF_BYCOMMAND);
    EXPECT_NE(state, static_cast<UINT>(-1)) << "no context-menu item for command " << commandId;
    return (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

CommandEnableState PlaylistFixture::ControlStates() {
    CommandEnableState state;
    state.remove = IsCommandEnabled(IDC_ToolButton3);
    state.removeAll = IsCommandEnabled(IDC_ToolButton4);
    state.moveUp = IsCommandEnabled(IDC_ToolButton5);
    state.moveDown = IsCommandEnabled(IDC_ToolButton6);
    state.saveSetting = IsCommandEnabled(IDC_ToolButton7);
    state.playAll = ::IsWindowEnabled(Control(IDC_BitBtn1)) != FALSE;
    state.playSelected = ::IsWindowEnabled(Control(IDC_BitBtn2)) != FALSE;
    EXPECT_EQ(MenuItemEnabled(IDC_ToolButton3), state.remove);
    EXPECT_EQ(MenuItemEnabled(IDC_ToolButton4), state.removeAll);
    EXPECT_EQ(MenuItemEnabled(IDC_ToolButton5), state.moveUp);
    EXPECT_EQ(MenuItemEnabled(IDC_ToolButton6), state.moveDown);
    EXPECT_EQ(MenuItemEnabled(IDC_BitBtn1), state.playAll);
    EXPECT_EQ(MenuItemEnabled(IDC_BitBtn2), state.playSelected);
    return state;
}

POINT PlaylistFixture::RowCenter(int row) {
    RECT bounds{};
    ListView_GetItemRect(ListWindow(), row, &bounds, LVIR_BOUNDS);
    return {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
}

POINT PlaylistFixture::BelowLastRow() {
    RECT client{};
    ::GetClientRect(ListWindow(), &client);
    return {client.right / 2, client.bottom - 4};
}

void PlaylistFixture::ClickRow(int row) {
    const POINT at = row < static_cast<int>(List().Count()) ? RowCenter(row) : BelowLastRow();
    ::PostMessageW(ListWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageW(ListWindow(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    PumpMessages();
}

}  // namespace tidewell::testing::playlist_tests
