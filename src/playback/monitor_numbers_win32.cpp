#include "playback/monitor_numbers_win32.h"

namespace tidewell {

void MonitorNumbers::RememberIn(RememberedMonitors* remembered,
                                std::function<void(const std::wstring&)> moved) {
    remembered_ = remembered;
    moved_ = std::move(moved);
}

std::optional<MonitorIdentity> MonitorNumbers::Remembered(int number) const {
    return remembered_ ? remembered_->Of(number) : std::nullopt;
}

const MonitorIdentity* MonitorNumbers::Listed(int number) const {
    if (number < 1 || static_cast<std::size_t>(number) > monitors_.size()) return nullptr;
    return &monitors_[static_cast<std::size_t>(number) - 1].identity;
}

void MonitorNumbers::RememberListed(int number) {
    const MonitorIdentity* listed = Listed(number);
    // A monitor that Windows tells nothing about cannot be told from another: the number decides.
    if (!remembered_ || !listed || *listed == MonitorIdentity{}) return;
    remembered_->Remember(number, *listed);
    movedTold_.reset();
}

FoundMonitor MonitorNumbers::Find(int number, bool unattended) const {
    return FindMonitor(monitors_, number, Remembered(number), !unattended);
}

FoundMonitor MonitorNumbers::FindForRun(int number, bool unattended) {
    const FoundMonitor found = Find(number, unattended);
    if (!found.bounds) return found;
    if (!found.place.Moved(number)) {
        movedTold_.reset();
    } else if (movedTold_ != std::pair{number, found.place.index}) {
        movedTold_ = std::pair{number, found.place.index};
        if (moved_) {
            moved_(
                MonitorMovedLine(number, monitors_[found.place.index].identity, found.place.index));
        }
    }
    return found;
}

std::wstring MonitorNumbers::Name(int number) const {
    if (const auto remembered = Remembered(number)) return MonitorTitle(*remembered);
    const MonitorIdentity* listed = Listed(number);
    return listed ? MonitorTitle(*listed) : std::wstring();
}

std::wstring MonitorNumbers::Label(int number) const {
    // As a play by hand finds it: on the number's place when the remembered monitor is gone.
    const FoundMonitor found = Find(number, false);
    std::wstring listed, gone;
    if (found.place.found == MonitorFound::Gone) {
        gone = MonitorTitle(*Remembered(number));
        if (found.bounds) listed = MonitorTitle(*Listed(number));
    } else if (found.bounds) {
        listed = MonitorTitle(monitors_[found.place.index].identity);
    }
    const MonitorRect r = found.bounds.value_or(MonitorRect{});
    return MonitorBoxText(number, listed, r.right - r.left, r.bottom - r.top, gone);
}

std::wstring MonitorNumbers::MissingText(int number) const {
    const auto remembered = Remembered(number);
    return remembered ? MonitorNotConnectedText(number, *remembered)
                      : L"monitor " + std::to_wstring(number) + L" is not connected";
}

}  // namespace tidewell
