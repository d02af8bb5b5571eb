#include "reporting/play_log_win32.h"

#include <system_error>

#include "common/file_time_win32.h"
#include "common/unique_handle_win32.h"
#include "common/full_path_win32.h"
#include "common/writer_thread.h"

namespace tidewell {
namespace {

void RotateIfLarge(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return;
    const std::uint64_t size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    if (size <= kPlayLogRotationBytes) return;
    ::MoveFileExW(path.c_str(), (path + L".1").c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

bool AppendLogLine(const std::wstring& path, std::string_view line) noexcept {
    try {
        RotateIfLarge(path);
        // Append-only access: every write lands at the end, even beside another writer.
        UniqueFileHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD written = 0;
        return ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written,
                           nullptr) &&
               written == line.size();
    } catch (...) {
        return false;  // a path too long to copy: the log is lost, the run is not
    }
}

LocalTimestamp LocalTimestampNow() noexcept {
    // Both from one reading of the clock, so that the offset is the one at this very moment.
    return LocalTimestampAt(FileTimeNow());
}

LocalTimestamp LocalTimestampAt(std::uint64_t fileTime) noexcept {
    const FILETIME time = FileTimeOf(fileTime);
    SYSTEMTIME utc{}, local{};
    ::FileTimeToSystemTime(&time, &utc);
    if (!::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
    const auto stamp = [](const SYSTEMTIME& t) {
        return LocalTimestamp{t.wYear,   t.wMonth,  t.wDay,          t.wHour,
                              t.wMinute, t.wSecond, t.wMilliseconds, 0};
    };
    LocalTimestamp now = stamp(local);
    now.offsetMinutes = UtcOffsetMinutes(stamp(utc), now);
    return now;
}

PlayLog::PlayLog(const std::wstring& fileAsGiven)
    : path_(ExpandedFullPath(fileAsGiven)), queue_(std::make_shared<Queue>()) {
    try {
        writer_ = std::thread(WriteLines, queue_, path_);
    } catch (const std::system_error&) {
        // No thread to be had: Write then writes each line itself.
    }
}

PlayLog::~PlayLog() {
    FinishWriter(writer_, *queue_, kDrainTime);
}

bool PlayLog::Write(const RunEventRecord& record) noexcept {
    try {
        std::string line = FormatLogLine(LocalTimestampNow(), record);
        if (!writer_.joinable()) return AppendLogLine(path_, line);
        std::lock_guard lock(queue_->mutex);
        // A share that hangs for good must not make the queue grow for good.
        if (queue_->lines.size() >= kMaxQueuedLines) return false;
        queue_->lines.push_back(std::move(line));
        queue_->changed.notify_all();
        return !queue_->lastFailed;
    } catch (...) {
        return false;
    }
}

bool PlayLog::WaitWritten(std::chrono::milliseconds timeout) {
    std::unique_lock lock(queue_->mutex);
    const bool idle = queue_->changed.wait_for(
        lock, timeout, [this] { return queue_->lines.empty() && !queue_->writing; });
    return idle && !queue_->lastFailed;
}

void PlayLog::WriteLines(std::shared_ptr<Queue> queue, std::wstring path) {
    std::unique_lock lock(queue->mutex);
    for (;;) {
        queue->changed.wait(lock, [&] { return !queue->lines.empty() || queue->closing; });
        if (queue->lines.empty()) break;
        const std::string line = std::move(queue->lines.front());
        queue->lines.pop_front();
        queue->writing = true;
        lock.unlock();
        const bool written = AppendLogLine(path, line);
        lock.lock();
        queue->writing = false;
        queue->lastFailed = !written;
        queue->changed.notify_all();
    }
    queue->finished = true;
    queue->changed.notify_all();
}

}  // namespace tidewell
