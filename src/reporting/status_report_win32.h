#pragma once
// The status file and the screenshot of a run, replaced whole on a share so that whoever looks
// after many screens can see from afar what each one does and shows. Both are written by a thread
// of their own: a share that does not answer never holds up the run.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "run/play_log.h"
#include "reporting/run_status.h"

namespace tidewell {

struct StatusReportFiles {
    std::optional<std::wstring> status;      // "/status FILE", as typed
    std::optional<std::wstring> screenshot;  // "/screenshot FILE", as typed
};

// The rectangle of monitor `number` now; none when it is not there.
using MonitorBoundsOf = std::function<std::optional<RECT>(int number)>;

class StatusReport {
  public:
    // The file names' %VARIABLES% are expanded and made full paths once, as the play log's are.
    StatusReport(const StatusReportFiles& files, MonitorBoundsOf monitorBounds);
    // Writes what is still pending, waiting at most kDrainTime; a writer still stuck on a share
    // after that is left to finish alone.
    ~StatusReport();
    StatusReport(const StatusReport&) = delete;
    StatusReport& operator=(const StatusReport&) = delete;

    // One event of the run (or of a start that waits), or a change of the run's state; both
    // return at once.
    void Take(const RunEventRecord& record) noexcept;
    void Take(RunState state) noexcept;

    static constexpr std::chrono::milliseconds kDrainTime{2000};
    // While the run lives, the status is written again this often, so that a reader can tell a
    // screen that plays a long show from one that has stopped telling.
    static constexpr std::chrono::seconds kHeartbeat{60};
    // A picture this long after a show was placed (its first slide drawn), then this often.
    static constexpr std::chrono::seconds kPictureAfterPlacement{3};
    static constexpr std::chrono::minutes kPictureEvery{5};

  private:
    using Clock = std::chrono::steady_clock;
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        RunStatus status;
        bool statusChanged = false;
        std::optional<RECT> monitor;
        std::optional<Clock::time_point> pictureDue;
        bool closing = false;
        bool finished = false;
    };
    struct Paths {
        std::wstring status, screenshot;  // empty: not asked for
    };
    // Applies a change under the lock and wakes the writer; `placedOn`: a show was just placed on
    // this monitor, whose picture is due soon.
    void Update(const std::function<void(RunStatus&, const std::string&)>& apply,
                std::optional<RECT> placedOn) noexcept;
    static void Work(std::shared_ptr<Shared> shared, Paths paths, StatusIdentity identity);

    Paths paths_;
    MonitorBoundsOf monitorBounds_;
    std::shared_ptr<Shared> shared_;
    std::thread worker_;
};

}  // namespace tidewell
