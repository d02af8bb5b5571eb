#include "persistence/setting_file_watch_win32.h"

#include "common/app_error.h"
#include "common/file_exists_win32.h"
#include "common/win32_error_win32.h"
#include "persistence/kept_entries_win32.h"
#include "persistence/setting_content.h"
#include "persistence/setting_file_codec.h"
#include "common/full_path_win32.h"
#include "persistence/setting_file_io_win32.h"
#include "persistence/setting_messages.h"

namespace tidewell {
namespace {

// A file replaced once while it was read is read once more; one that keeps changing waits for the
// next pass rather than holding up this one.
constexpr int kReadAttempts = 2;

std::uint64_t Join(DWORD high, DWORD low) {
    return (std::uint64_t{high} << 32) | low;
}

}  // namespace

SettingFileWatch::SettingFileWatch(std::wstring path, bool takenAsRead) : path_(std::move(path)) {
    if (takenAsRead) MarkRead();
}

void SettingFileWatch::MarkRead() {
    DWORD ignored = 0;
    if (const auto stamp = StampNow(ignored)) {
        followed_.Take(*stamp);
    } else {
        followed_.Forget();
    }
}

std::optional<FileStamp> SettingFileWatch::StampNow(DWORD& failure) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data)) {
        failure = ::GetLastError();
        return std::nullopt;
    }
    return FileStamp{Join(data.nFileSizeHigh, data.nFileSizeLow),
                     Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

SettingFileWatch::Outcome SettingFileWatch::RereadIfChanged(std::vector<PlaylistEntry>& entries,
                                                            std::wstring& error,
                                                            std::optional<FileStamp>* toTake) {
    DWORD failure = 0;
    std::optional<FileStamp> before = StampNow(failure);
    // Deleted, then put back as it was (a copy keeps its time): read again, as a new file.
    if (!before && PresenceOf(path_) == Presence::Gone) followed_.Forget();
    if (followed_.Unchanged(before)) return Outcome::Unchanged;
    const auto remember = [&](const std::optional<FileStamp>& stamp) {
        if (toTake) {
            *toTake = stamp;
        } else if (stamp) {
            followed_.Take(*stamp);
        }
    };
    try {
        for (int attempt = 0; attempt < kReadAttempts && before; ++attempt) {
            const auto bytes = ReadSettingFile(path_);
            const std::optional<FileStamp> after = StampNow(failure);
            if (after != before) {
                before = after;
                continue;
            }
            UnreadableEntryLine unreadable;
            const auto content =
                InterpretSettingLines(DecodeSettingLines(bytes, DecodeAnsiText), 1, &unreadable);
            if (!content) {
                error = L"\"" + FullPathOf(path_) +
                        (unreadable.item.empty()
                             ? L"\" is not a setting file (it needs a monitor line, a program "
                               L"line and at least one presentation)."
                             : L"\" has a line with a setting that cannot be read (\"" +
                                   unreadable.path + L"\": " + unreadable.item + L").") +
                        L" The playlist stays as it was.";
                remember(before);
                return Outcome::NotASettingFile;
            }
            entries = EntriesNotGone(content->presentations, FullPathOf(path_)).kept;
            remember(entries.size() == content->presentations.size() ? before : std::nullopt);
            return Outcome::Reread;
        }
    } catch (const AppError& readError) {
        error = readError.Message();
        return Outcome::Failed;
    }
    error = before ? L"\"" + FullPathOf(path_) +
                         L"\" changed while it was read; it is read again at the next pass."
                   : CannotOpenFileMessage(FullPathOf(path_), SystemMessage(failure));
    return Outcome::Failed;
}

}  // namespace tidewell
