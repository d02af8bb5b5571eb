#include "copies/copy_folders_win32.h"

#include <shlobj.h>

#include <thread>

#include "copies/copy_record.h"

namespace tidewell {
namespace {

// How often a copier waiting for another one looks whether it has ended.
constexpr std::chrono::milliseconds kCopierLook{100};

bool IsLink(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace

bool IsCopyFolder(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsLink(entry) &&
           IsCopyFolderName(entry.cFileName);
}

void RemoveCopyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW data{};
    if (UniqueFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &data)); find) {
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY || IsLink(data)) continue;
            ::DeleteFileW((folder + L"\\" + data.cFileName).c_str());
        } while (::FindNextFileW(find.get(), &data));
    }
    ::RemoveDirectoryW(folder.c_str());
}

std::optional<UniqueFileHandle> TakeCopierLock(const std::wstring& folder, bool wait) {
    const std::wstring lock = folder + L".lock";
    const std::wstring root = folder.substr(0, folder.find_last_of(L'\\'));
    ::SHCreateDirectoryExW(nullptr, root.c_str(), nullptr);
    for (;;) {
        // Nobody shares it, and it is deleted when its handle closes, also when its process dies.
        UniqueFileHandle taken(
            ::CreateFileW(lock.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (taken) return taken;
        const DWORD error = ::GetLastError();
        // A lock being deleted answers "access denied" for the moment it takes.
        const bool held = error == ERROR_SHARING_VIOLATION ||
                          (error == ERROR_ACCESS_DENIED &&
                           ::GetFileAttributesW(lock.c_str()) != INVALID_FILE_ATTRIBUTES);
        if (!held) return UniqueFileHandle();
        if (!wait) return std::nullopt;
        std::this_thread::sleep_for(kCopierLook);
    }
}

}  // namespace tidewell
