#pragma once
// The seams between the program and the modal dialogs and shell: tests put scripted versions in
// their place so that they can answer for the user and record what was shown or opened.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tidewell {

// One file dialog of the main window: its fixed settings, and the path it returned last (the
// file-name box starts with it the next time the same dialog opens).
struct FileDialog {
    enum class Kind { Open, Save };
    enum Option : unsigned {
        kAllowMultiSelect = 1u << 0,
        kPathMustExist = 1u << 1,
        kFileMustExist = 1u << 2,
        kHideReadOnly = 1u << 3,
        kEnableSizing = 1u << 4,
        kOverwritePrompt = 1u << 5,
    };

    std::wstring name;  // component name, for tests and diagnostics
    Kind kind = Kind::Open;
    std::wstring defaultExtension;  // as stored, leading "." or "*." included
    std::wstring filter;            // "description|patterns"
    unsigned options = 0;

    std::wstring fileName;            // the last chosen path (first of a multiple choice)
    std::vector<std::wstring> files;  // full paths of the last choice, in the dialog's order
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Shows the dialog; on OK fills dialog.files and dialog.fileName and returns true.
    virtual bool RunFileDialog(HWND owner, FileDialog& dialog) = 0;
    // The shell's folder browser; nothing when cancelled or the choice has no file-system path.
    virtual std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& prompt) = 0;
    // The Message dialog: text, one OK button, the application title as caption.
    virtual void ShowMessage(HWND owner, const std::wstring& text) = 0;
    // The Error box: stop icon, the application title as caption. The text arrives final.
    virtual void ShowError(HWND owner, const std::wstring& text) = 0;
    // A question with "Yes" and "No" ("No" the default), the application title as caption; true
    // for "Yes".
    virtual bool AskYesNo(HWND owner, const std::wstring& text) = 0;
};

// The shell's "open" of an address; the outcome is never examined.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual void OpenA(HWND owner, const std::string& address) = 0;
    virtual void OpenW(HWND owner, const std::wstring& address) = 0;
};

// The real implementations used by the program.
class SystemDialogs final : public Dialogs {
  public:
    bool RunFileDialog(HWND owner, FileDialog& dialog) override;
    std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& prompt) override;
    void ShowMessage(HWND owner, const std::wstring& text) override;
    void ShowError(HWND owner, const std::wstring& text) override;
    bool AskYesNo(HWND owner, const std::wstring& text) override;
};

class SystemShell final : public Shell {
  public:
    void OpenA(HWND owner, const std::string& address) override;
    void OpenW(HWND owner, const std::wstring& address) override;
};

}  // namespace tidewell
