#pragma once
// The icon in the notification area while a run plays: the main window is hidden then, and this
// is the one place where a person who walks by sees what plays and can stop it.
#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <string_view>

#include "common/dialogs_win32.h"
#include "common/window_win32.h"
#include "run/run_machine.h"

namespace tidewell {

inline constexpr wchar_t kStopAfterThisCaption[] = L"Stop after this presentation";
inline constexpr wchar_t kStopNowCaption[] = L"Stop now";

class RunIcon : public Window<RunIcon> {
  public:
    // Adds the icon, showing `icon` (not owned; it must outlive this object). A shell that is
    // not running yet gets the icon as soon as its taskbar is created. An error in the menu's
    // handler is shown through `dialogs`. The menu's choice is posted to `stopTarget` as a stop
    // request, as a stop from another process is: the menu runs inside this icon's own window,
    // which the stop removes.
    RunIcon(Dialogs& dialogs, HICON icon, HWND stopTarget);
    // Removes the icon, if Remove has not.
    ~RunIcon();

    // Takes the icon out of the notification area; its window stays until this object goes, so
    // that a menu of the icon still open (a show ended meanwhile) returns into a window that is
    // there.
    void Remove();

    // "Tidewell: playing 3 of 12" and the presentation's file name, as the icon's tip.
    void ShowProgress(std::size_t position, std::size_t count, std::wstring_view presentationPath);
    // Any other tip ("Tidewell: waiting for ..."), cut to the shell's limit.
    void ShowTip(std::wstring_view tip);

  private:
    friend class Window<RunIcon>;
    static constexpr UINT kCallbackMessage = WM_APP + 1;
    static constexpr UINT kIconId = 1;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ShowMenu();

    NOTIFYICONDATAW data_{};
    HWND stopTarget_;
    UINT taskbarCreated_ = 0;
    bool removed_ = false;
};

}  // namespace tidewell
