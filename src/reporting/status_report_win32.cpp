#include "reporting/status_report_win32.h"

#include <system_error>

#include "common/com_apartment_win32.h"
#include "common/full_path_win32.h"
#include "common/tidewell_version.h"
#include "common/whole_file_win32.h"
#include "common/writer_thread.h"
#include "reporting/play_log_win32.h"
#include "reporting/screen_picture_win32.h"

namespace tidewell {
namespace {

std::wstring NameFrom(BOOL(WINAPI* get)(LPWSTR, LPDWORD)) {
    wchar_t name[256] = {};
    DWORD size = static_cast<DWORD>(std::size(name));
    return get(name, &size) ? std::wstring(name) : std::wstring();
}

}  // namespace

StatusReport::StatusReport(const StatusReportFiles& files, MonitorBoundsOf monitorBounds)
    : monitorBounds_(std::move(monitorBounds)), shared_(std::make_shared<Shared>()) {
    if (files.status) paths_.status = ExpandedFullPath(*files.status);
    if (files.screenshot) paths_.screenshot = ExpandedFullPath(*files.screenshot);
    StatusIdentity identity{NameFrom(::GetComputerNameW), NameFrom(::GetUserNameW),
                            TIDEWELL_VERSION_TEXT};
    try {
        worker_ = std::thread(Work, shared_, paths_, std::move(identity));
    } catch (const std::system_error&) {
        // No thread to be had: the screen plays on without telling.
    }
}

StatusReport::~StatusReport() {
    FinishWriter(worker_, *shared_, kDrainTime);
}

void StatusReport::Take(const RunEventRecord& record) noexcept {
    std::optional<RECT> monitor;
    if (record.event == RunEvent::ShowPlaced && monitorBounds_ && !paths_.screenshot.empty()) {
        monitor = monitorBounds_(record.monitor);
    }
    Update([&](RunStatus& status, const std::string& time) { ApplyRunEvent(status, record, time); },
           monitor);
}

void StatusReport::Take(RunState state) noexcept {
    Update([&](RunStatus& status, const std::string& time) { ApplyRunState(status, state, time); },
           std::nullopt);
}

void StatusReport::Update(const std::function<void(RunStatus&, const std::string&)>& apply,
                          std::optional<RECT> placedOn) noexcept {
    try {
        const std::string time = FormatIsoTime(LocalTimestampNow());
        std::lock_guard lock(shared_->mutex);
        apply(shared_->status, time);
        shared_->statusChanged = true;
        if (placedOn) {
            shared_->monitor = placedOn;
            shared_->pictureDue = Clock::now() + kPictureAfterPlacement;
        }
        if (shared_->status.state == ScreenState::Stopped) shared_->pictureDue.reset();
        shared_->changed.notify_all();
    } catch (...) {
        // No memory for this update: the next one brings the state.
    }
}

void StatusReport::Work(std::shared_ptr<Shared> shared, Paths paths, StatusIdentity identity) {
    // The picture's encoder is a COM object.
    const ComApartment com(COINIT_MULTITHREADED);
    std::unique_lock lock(shared->mutex);
    Clock::time_point heartbeat = Clock::now() + kHeartbeat;
    for (;;) {
        const Clock::time_point due =
            shared->pictureDue ? std::min(heartbeat, *shared->pictureDue) : heartbeat;
        shared->changed.wait_until(lock, due,
                                   [&] { return shared->statusChanged || shared->closing; });
        const Clock::time_point now = Clock::now();
        const bool lives = shared->status.state != ScreenState::Stopped;
        const bool writeStatus =
            !paths.status.empty() && (shared->statusChanged || (lives && now >= heartbeat));
        const bool takePicture = !shared->closing && !paths.screenshot.empty() && shared->monitor &&
                                 shared->pictureDue && now >= *shared->pictureDue;
        if (shared->closing && !writeStatus) break;
        shared->statusChanged = false;
        const RunStatus status = shared->status;
        const RECT monitor = shared->monitor.value_or(RECT{});
        if (takePicture) {
            shared->pictureDue = lives ? std::optional(now + kPictureEvery) : std::nullopt;
        }
        if (writeStatus || now >= heartbeat) heartbeat = now + kHeartbeat;
        lock.unlock();
        if (writeStatus) {
            ReplaceWholeFile(paths.status,
                             StatusDocument(status, identity, FormatIsoTime(LocalTimestampNow())));
        }
        if (takePicture) {
            const std::string png = ScreenPicturePng(monitor);
            if (!png.empty()) ReplaceWholeFile(paths.screenshot, png);
        }
        lock.lock();
    }
    shared->finished = true;
    shared->changed.notify_all();
}

}  // namespace tidewell
