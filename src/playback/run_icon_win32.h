#pragma once
// The icon in the notification area while a run plays: the main window is hidden then, and this
// is the one place where a person who walks by sees what plays and can stop it.
#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <functional>
#include <string_view>

#include "common/unique_handle_win32.h"

namespace tidewell {

enum class StopWhen { AfterThisPresentation, Now };

inline constexpr wchar_t kStopAfterThisCaption[] = L"Stop after this presentation";
inline constexpr wchar_t kStopNowCaption[] = L"Stop now";

class RunIcon {
  public:
    using StopHandler = std::function<void(StopWhen)>;

    // Adds the icon, showing `icon` (not owned; it must outlive this object). A shell that is
    // not running yet gets the icon as soon as its taskbar is created.
    RunIcon(HICON icon, StopHandler onStop);
    // Removes the icon.
    ~RunIcon();
    RunIcon(const RunIcon&) = delete;
    RunIcon& operator=(const RunIcon&) = delete;

    // "Tidewell: playing 3 of 12" and the presentation's file name, as the icon's tip.
    void ShowProgress(std::size_t position, std::size_t count, std::wstring_view presentationPath);

    // The hidden window that receives the icon's mouse messages and its menu's choice.
    HWND Window() const { return window_.get(); }
    static constexpr UINT kCallbackMessage = WM_APP + 1;
    static constexpr UINT kIconId = 1;

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ShowMenu();

    NOTIFYICONDATAW data_{};
    StopHandler onStop_;
    UINT taskbarCreated_ = 0;
    UniqueHWND window_;
};

}  // namespace tidewell
