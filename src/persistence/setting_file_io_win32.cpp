#include "persistence/setting_file_io_win32.h"

#include <windows.h>

#include <algorithm>

#include "common/ansi_text_win32.h"
#include "common/app_error.h"
#include "common/file_exists_win32.h"
#include "common/full_path_win32.h"
#include "common/unique_handle_win32.h"
#include "common/win32_error_win32.h"
#include "persistence/setting_messages.h"

namespace tidewell {
namespace {

// Setting files are a few kilobytes; anything far larger is not one, and reading it whole could
// take all the memory there is.
constexpr std::uint64_t kLargestSettingFile = 64ull * 1024 * 1024;

[[noreturn]] void ThrowCannotCreate(const std::wstring& target, const wchar_t* call, DWORD error) {
    throw AppError(CannotCreateFileMessage(FullPathOf(target), SystemMessage(error)), call, error);
}

// True when the target could be deleted right now: nobody holds it open without allowing
// deletion, and it is not read-only. Checked before writing so that a file in use gets its
// message and nothing is written.
bool CanReplace(const std::wstring& target) {
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return false;
    }
    const UniqueFileHandle probe(::CreateFileW(
        target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(probe);
}

std::wstring FolderOf(const std::wstring& fullPath) {
    const std::size_t slash = fullPath.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : fullPath.substr(0, slash + 1);
}

// The new content while it is being written: a file beside the target, deleted again unless it
// was moved onto the target.
class PendingFile {
  public:
    explicit PendingFile(const std::wstring& target) : target_(target) {
        const std::wstring folder = FolderOf(FullPathOf(target));
        // A short name of our own (not derived from the target's) so that a target name near the
        // length limit still leaves room for it.
        for (unsigned attempt = 0;; ++attempt) {
            path_ = folder + L"~tw" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                    std::to_wstring(::GetTickCount()) + L"-" + std::to_wstring(attempt) + L".tmp";
            file_.reset(::CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file_) return;
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_EXISTS || attempt == 100) {
                ThrowCannotCreate(target, L"CreateFileW", error);
            }
        }
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() {
        file_.reset();
        if (!committed_) ::DeleteFileW(path_.c_str());
    }

    void Write(std::span<const std::uint8_t> bytes) {
        while (!bytes.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
            DWORD written = 0;
            if (!::WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
                throw AppError(kStreamWriteErrorMessage);
            }
            bytes = bytes.subspan(written);
        }
        // On disk before the rename makes it the setting file, so a crash cannot leave a
        // replaced but empty file.
        if (!::FlushFileBuffers(file_.get())) throw AppError(kStreamWriteErrorMessage);
    }

    // Moves the new content onto the target; the error code when the system refuses.
    DWORD ReplaceTarget() {
        file_.reset();
        if (!::MoveFileExW(path_.c_str(), target_.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return ::GetLastError();
        }
        committed_ = true;
        return ERROR_SUCCESS;
    }

  private:
    std::wstring target_;
    std::wstring path_;
    UniqueFileHandle file_;
    bool committed_ = false;
};

}  // namespace

std::vector<std::uint8_t> ReadSettingFile(const std::wstring& path) {
    const UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ThrowLastErrorIf(!file, L"CreateFileW", [&path](DWORD code) {
        return CannotOpenFileMessage(FullPathOf(path), SystemMessage(code));
    });
    const auto cannotRead = [&path](std::wstring_view reason) {
        return AppError(CannotReadFileMessage(FullPathOf(path), reason));
    };
    // A pipe or a device (CON, NUL, \\.\pipe\...) opens like a file, but a read from it can wait
    // for input that never comes, and the window would wait with it.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) throw cannotRead(kNotADiskFileReason);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) throw cannotRead(SystemMessage(::GetLastError()));
    if (static_cast<std::uint64_t>(size.QuadPart) > kLargestSettingFile)
        throw cannotRead(kTooLargeReason);

    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    std::uint8_t chunk[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) {
            throw cannotRead(SystemMessage(::GetLastError()));
        }
        if (read == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + read);
        // Another program may still be making the file longer.
        if (bytes.size() > kLargestSettingFile) throw cannotRead(kTooLargeReason);
    }
    return bytes;
}

SaveOutcome SaveSettingFile(const std::wstring& target, std::span<const std::uint8_t> bytes) {
    const bool targetExists = FileExists(target);
    if (targetExists && !CanReplace(target)) return SaveOutcome::TargetInUse;

    PendingFile pending(target);
    pending.Write(bytes);
    const DWORD error = pending.ReplaceTarget();
    if (error == ERROR_SUCCESS) return SaveOutcome::Saved;
    // Another program took hold of the file after the check: the same message as before it.
    if (targetExists) return SaveOutcome::TargetInUse;
    ThrowCannotCreate(target, L"MoveFileExW", error);
}

std::wstring DecodeAnsiText(std::span<const std::uint8_t> bytes) {
    return FromAnsi(bytes, AnsiCodePage::Thread);
}

}  // namespace tidewell
