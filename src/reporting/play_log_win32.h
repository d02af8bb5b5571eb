#pragma once
// The play log's file: lines appended by a writer thread of its own, so that a log on a share
// that does not answer (which can hold a file open for half a minute) never holds up a run.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "run/play_log.h"

namespace tidewell {

// Above this size, the next line first renames the log to "<file>.1" and starts a new one.
inline constexpr std::uint64_t kPlayLogRotationBytes = 10ull * 1024 * 1024;

// Appends `line` to the file at `path`, opening and closing it for this line alone and sharing it
// with readers and writers meanwhile. A file above kPlayLogRotationBytes is first renamed to
// "<path>.1", replacing an older one; when the rename fails the line is appended all the same.
// False when the line could not be written. Never throws.
bool AppendLogLine(const std::wstring& path, std::string_view line) noexcept;

// The time of day now, with the offset from UTC at this very moment.
LocalTimestamp LocalTimestampNow() noexcept;
// The local time of a FILETIME value (UTC), with the offset from UTC at that moment.
LocalTimestamp LocalTimestampAt(std::uint64_t fileTime) noexcept;

class PlayLog {
  public:
    // Expands %VARIABLES% in the name once, and makes it a full path, so that neither a change
    // of the environment nor of the current folder moves the log during a run.
    explicit PlayLog(const std::wstring& fileAsGiven);
    // Waits at most kDrainTime for the lines still queued; a writer still stuck on a share after
    // that is left to finish alone.
    ~PlayLog();
    PlayLog(const PlayLog&) = delete;
    PlayLog& operator=(const PlayLog&) = delete;

    // Stamps the line now and queues it; returns at once. False when the log is known not to take
    // lines: the last line the writer tried could not be written (the caller says so once).
    bool Write(const RunEventRecord& record) noexcept;
    // Waits until every queued line was tried, at most `timeout`; true when they all were and the
    // last one was written.
    bool WaitWritten(std::chrono::milliseconds timeout);

    const std::wstring& Path() const { return path_; }

    static constexpr std::chrono::milliseconds kDrainTime{2000};
    static constexpr std::size_t kMaxQueuedLines = 1000;

  private:
    struct Queue {
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<std::string> lines;
        bool writing = false;  // a line has been taken and is being written
        bool lastFailed = false;
        bool closing = false;
        bool finished = false;
    };
    static void WriteLines(std::shared_ptr<Queue> queue, std::wstring path);

    std::wstring path_;
    std::shared_ptr<Queue> queue_;
    std::thread writer_;
};

}  // namespace tidewell
