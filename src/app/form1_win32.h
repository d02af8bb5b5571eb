#pragma once
// The main window. One object owns the window and every control of its layout; each user command
// is a member function named after the control and event that trigger it. The members are
// implemented by the subsystem they belong to, each in its own folder.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/app_error.h"
#include "common/dialogs_win32.h"
#include "common/error_text.h"
#include "common/unique_handle_win32.h"

namespace tidewell {

class TForm2;
class PlaylistView;

// One display monitor as enumerated at start. The handle is asked for its bounds when a play
// starts; a null handle (tests) stands for a monitor whose bounds are the stored ones.
struct MonitorEntry {
    HMONITOR handle = nullptr;
    RECT bounds{};
};

std::vector<MonitorEntry> EnumerateMonitors();

// What the program hands the main window when it creates it; tests hand their own.
struct Form1Settings {
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    std::vector<MonitorEntry> monitors;
    std::wstring preferencesKeyPath;  // below HKEY_CURRENT_USER
};

inline constexpr wchar_t kPreferencesKeyPath[] = L"SOFTWARE\\hollowfin\\lanternrow";
inline constexpr wchar_t kProgramPrompt[] =
    L"Please mouse click right button to select PowerPoint executable file name-> ";

class TForm1 {
  public:
    explicit TForm1(Form1Settings settings);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Creates the window and its controls; the creation handler runs inside. Hidden until shown.
    void Create();
    void ShowCentered();
    HWND Handle() const { return hwnd_; }
    bool IsClosed() const { return closed_; }

    // ---- Controls, by component name ----
    HWND TntToolBar1 = nullptr;
    HWND TntStatusBar1 = nullptr;
    HWND ListView1 = nullptr;
    HWND TntEdit1 = nullptr;
    HWND TntEdit2 = nullptr;
    HWND TntUpDown1 = nullptr;
    HWND TntLabel1 = nullptr;
    HWND TntLabel2 = nullptr;
    HWND TntSpeedButton1 = nullptr;
    HWND BitBtn1 = nullptr;
    HWND BitBtn2 = nullptr;
    HWND BitBtn3 = nullptr;
    HWND TntPanel1 = nullptr;
    HWND TntMemo1 = nullptr;
    HMENU TntMainMenu2 = nullptr;
    HMENU TntPopupMenu1 = nullptr;

    FileDialog TntOpenDialog1;
    FileDialog TntOpenDialog2;
    FileDialog TntOpenDialog3;
    FileDialog TntSaveDialog1;

    // ---- Application shell ----
    void TntFormCreate();
    void
    TntFormClose();  // throws when the preferences cannot be stored; the close is then abandoned
    void Exit1Click();
    void BitBtn3Click();
    void ShowContextMenu(POINT screenPoint);

    // Enables or disables every control and menu item that carries this command id.
    void SetCommandEnabled(int commandId, bool enabled);
    bool IsCommandEnabled(int commandId) const;

    // The Monitor selector's position, read as the 16-bit value the up-down holds.
    int MonitorNumber() const;
    void SetMonitorNumber(int number);
    int MonitorCount() const;
    const std::vector<MonitorEntry>& Monitors() const { return settings_.monitors; }

    std::wstring ProgramPath() const;  // text of TntEdit1
    void SetProgramPath(const std::wstring& path);

    Dialogs& UserDialogs() { return *settings_.dialogs; }
    Shell& UserShell() { return *settings_.shell; }
    const std::wstring& PreferencesKeyPath() const { return preferencesKeyPath_; }

    // Shows a failure that no command handled in the Error box; the program goes on.
    void ReportError(const std::wstring& message);
    // Runs a handler at the one place where errors that escape commands are shown.
    template <typename F>
    void Guarded(F&& handler) noexcept;

    // ---- Playlist (src/playlist) ----
    PlaylistView& Playlist() { return *playlist_; }
    void ApplyCommandEnableRule();
    void ListView1SelectItem();
    bool ListView1DragOver(HWND source);  // whether the list accepts a drag from `source`
    void ListView1EndDrag(POINT clientPoint);
    void ToolButton1Click();  // Add files
    void ToolButton2Click();  // Add folder
    void ToolButton3Click();  // Remove
    void ToolButton4Click();  // Remove all
    void ToolButton5Click();  // Move up
    void ToolButton6Click();  // Move down
    std::optional<std::wstring> ChooseFolder(HWND owner, const std::wstring& prompt);
    // The application-wide hook: sees every queued message; true marks it handled.
    bool ShellDropHook(MSG& message);
    // Notifications and mouse messages that the list needs; true when the list consumed them.
    bool HandleListViewMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // ---- Playback (src/playback) ----
    void TntSpeedButton1Click();
    // Also the context menu's "Play all" and "play selected", which carry the ids of BitBtn1 and
    // BitBtn2 and so run this handler with that button as the sender.
    void BitBtn1Click(std::wstring_view senderName);
    void RunPlayQueue();
    void LaunchPresentation(const std::wstring& commandLine);
    std::vector<std::wstring> PlayQueue;
    std::wstring RunProgramPath;

    // ---- Persistence (src/persistence) ----
    void LoadPreferences();
    void SavePreferences();
    void ToolButton7Click();  // Save setting
    void ToolButton8Click();  // Load setting

    // ---- Help and information (src/about) ----
    TForm2& Form2() { return *form2_; }
    void AttachAbout(TForm2* form2) { form2_ = form2; }
    void Help2Click();
    void Hollowfinswebsite1Click();
    void Emailsupport1Click();
    void About1Click();

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void CreateToolbar();
    void CreateMenus();
    void CreateFileDialogs();
    void OnCommand(int id);
    void OnClose();

    Form1Settings settings_;
    std::wstring preferencesKeyPath_;
    HWND hwnd_ = nullptr;
    bool closed_ = false;
    int dpi_ = 96;
    UniqueGdiObject font_;
    std::unique_ptr<PlaylistView> playlist_;
    TForm2* form2_ = nullptr;
    HIMAGELIST toolbarImages_ = nullptr;
    UniqueHICON speedButtonGlyph_;
};

template <typename F>
void TForm1::Guarded(F&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        ReportError(UserErrorText(std::current_exception()));
    }
}

}  // namespace tidewell
