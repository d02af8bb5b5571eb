#include "playback/folder_notice_win32.h"

#include <atomic>
#include <system_error>
#include <thread>

#include "common/unique_handle_win32.h"

namespace tidewell {
namespace {

constexpr DWORD kChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

}  // namespace

struct FolderNotice::Shared {
    std::wstring folder;
    HWND window = nullptr;
    UINT message = 0;
    WPARAM tag = 0;
    UniqueKernelHandle stop{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> stopped{false};

    void Post(LPARAM what) const {
        if (!stopped) ::PostMessageW(window, message, tag, what);
    }

    void Watch() const {
        const UniqueHandle<handle_traits::ChangeNotification> notice(
            ::FindFirstChangeNotificationW(folder.c_str(), FALSE, kChanges));
        if (!notice || !stop) return Post(kCannotWatch);
        Post(kWatching);
        const HANDLE waits[] = {notice.get(), stop.get()};
        for (;;) {
            if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) break;
            Post(kChanged);
            if (!::FindNextChangeNotification(notice.get())) break;
        }
        Post(kCannotWatch);  // the folder went (a share away): looked at as before
    }
};

FolderNotice::FolderNotice(std::wstring folder, HWND window, UINT message, WPARAM tag)
    : shared_(std::make_shared<Shared>()) {
    shared_->folder = std::move(folder);
    shared_->window = window;
    shared_->message = message;
    shared_->tag = tag;
    try {
        std::thread([shared = shared_] { shared->Watch(); }).detach();
    } catch (const std::system_error&) {
        ::PostMessageW(window, message, tag, kCannotWatch);
    }
}

FolderNotice::~FolderNotice() {
    shared_->stopped = true;
    if (shared_->stop) ::SetEvent(shared_->stop.get());
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring(L".") : path.substr(0, cut + 1);
}

}  // namespace tidewell
