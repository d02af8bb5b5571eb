#include "playback/folder_notice_win32.h"

#include <atomic>
#include <cstddef>
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

    // The changes are asked for with a buffer: the system keeps those that come between one
    // answer and the next ask for that ask. A bare change notification may drop them (Wine's
    // does), and a file saved while the last notice was passed on would wait for the fallback.
    void Watch() const {
        const UniqueFileHandle directory(::CreateFileW(
            folder.c_str(), FILE_LIST_DIRECTORY,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
        const UniqueKernelHandle answered(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!directory || !answered || !stop) return Post(kCannotWatch);
        // Only that something changed is wanted; more changes than it holds come as none.
        alignas(FILE_NOTIFY_INFORMATION) std::byte changes[4096];
        OVERLAPPED asked{};
        asked.hEvent = answered.get();
        const auto ask = [&] {
            ::ResetEvent(answered.get());
            return ::ReadDirectoryChangesW(directory.get(), changes, sizeof changes, FALSE,
                                           kChanges, nullptr, &asked, nullptr) != FALSE;
        };
        if (!ask()) return Post(kCannotWatch);
        Post(kWatching);
        const HANDLE waits[] = {answered.get(), stop.get()};
        for (;;) {
            if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
                // Stopped: the ask under way writes to this thread's buffer until it is cancelled.
                ::CancelIoEx(directory.get(), &asked);
                DWORD ignored = 0;
                ::GetOverlappedResult(directory.get(), &asked, &ignored, TRUE);
                return;
            }
            DWORD size = 0;
            if (!::GetOverlappedResult(directory.get(), &asked, &size, FALSE)) break;
            const bool asking = ask();
            Post(kChanged);
            if (!asking) break;
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
