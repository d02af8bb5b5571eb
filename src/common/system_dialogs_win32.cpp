#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "common/application_title.h"
#include "common/dialogs_win32.h"
#include "common/file_dialog_text.h"
#include "common/unique_handle_win32.h"

namespace tidewell {

namespace {

DWORD NativeFlags(unsigned options) {
    DWORD flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (options & FileDialog::kAllowMultiSelect) flags |= OFN_ALLOWMULTISELECT;
    if (options & FileDialog::kPathMustExist) flags |= OFN_PATHMUSTEXIST;
    if (options & FileDialog::kFileMustExist) flags |= OFN_FILEMUSTEXIST;
    if (options & FileDialog::kHideReadOnly) flags |= OFN_HIDEREADONLY;
    if (options & FileDialog::kEnableSizing) flags |= OFN_ENABLESIZING;
    if (options & FileDialog::kOverwritePrompt) flags |= OFN_OVERWRITEPROMPT;
    return flags;
}

}  // namespace

bool SystemDialogs::RunFileDialog(HWND owner, FileDialog& dialog) {
    // Large enough for a multiple choice of many long names.
    std::vector<wchar_t> buffer(64 * 1024, L'\0');
    dialog.fileName.copy(buffer.data(), std::min(dialog.fileName.size(), buffer.size() - 1));
    const std::wstring filter = NativeFilter(dialog.filter);
    const std::wstring extension = BareExtension(dialog.defaultExtension);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = NativeFlags(dialog.options);

    const BOOL ok =
        dialog.kind == FileDialog::Kind::Save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn);
    if (!ok) return false;
    dialog.files = ParseFileChoice({buffer.data(), buffer.size()});
    if (dialog.files.empty()) return false;
    dialog.fileName = dialog.files.front();
    return true;
}

std::optional<std::wstring> SystemDialogs::BrowseForFolder(HWND owner, const std::wstring& prompt) {
    // The root is the desktop folder, so the whole namespace below it is offered.
    IShellFolder* desktop = nullptr;
    UniqueCoTaskMem root;
    if (SUCCEEDED(::SHGetDesktopFolder(&desktop)) && desktop) {
        desktop->Release();
        LPITEMIDLIST location = nullptr;
        if (SUCCEEDED(::SHGetSpecialFolderLocation(owner, CSIDL_DESKTOP, &location)))
            root.reset(location);
    }
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = static_cast<LPCITEMIDLIST>(root.get());
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
    const UniqueCoTaskMem item(::SHBrowseForFolderW(&info));
    if (!item) return std::nullopt;
    wchar_t path[MAX_PATH + 1] = {};
    if (!::SHGetPathFromIDListW(static_cast<LPCITEMIDLIST>(item.get()), path)) return std::nullopt;
    return std::wstring(path);
}

void SystemDialogs::ShowMessage(HWND owner, const std::wstring& text) {
    ::MessageBoxW(owner, text.c_str(), kApplicationTitle, MB_OK | MB_TASKMODAL);
}

void SystemDialogs::ShowError(HWND owner, const std::wstring& text) {
    ::MessageBoxW(owner, text.c_str(), kApplicationTitle, MB_OK | MB_ICONSTOP);
}

bool SystemDialogs::AskYesNo(HWND owner, const std::wstring& text) {
    // "No" is the default button: Enter pressed in passing starts nothing.
    return ::MessageBoxW(owner, text.c_str(), kApplicationTitle,
                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TASKMODAL) == IDYES;
}

void SystemShell::OpenA(HWND owner, const std::string& address) {
    ::ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void SystemShell::OpenW(HWND owner, const std::wstring& address) {
    ::ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tidewell
