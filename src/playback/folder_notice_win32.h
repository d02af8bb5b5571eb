#pragma once
// Notices of changes in a folder (a file written, renamed, deleted), from a thread of its own that
// waits for the system's news of the folder's changes and posts each to a window. The thread is made and
// waits away from the window, since making the notification may wait on a share; it may outlive
// this object (a share that stalls holds it), and then posts nothing more.
#include <windows.h>

#include <memory>
#include <string>

namespace tidewell {

class FolderNotice {
  public:
    // Posted to `window` with wParam `tag`; lParam says what happened.
    enum : LPARAM { kCannotWatch = 0, kChanged = 1, kWatching = 2 };

    FolderNotice(std::wstring folder, HWND window, UINT message, WPARAM tag);
    ~FolderNotice();
    FolderNotice(const FolderNotice&) = delete;
    FolderNotice& operator=(const FolderNotice&) = delete;

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

// The folder that holds `path` (its full path with the last part cut off).
std::wstring FolderOf(const std::wstring& path);

}  // namespace tidewell
