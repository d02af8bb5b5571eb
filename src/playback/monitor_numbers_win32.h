#pragma once
// Which monitor a number of the Monitor selector means now: Windows' list as it is, looked up
// through what this computer remembers of each number, so that a number keeps naming the screen
// it was chosen for whatever order Windows lists monitors in.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "playback/monitors_win32.h"
#include "playback/remembered_monitors.h"

namespace tidewell {

class MonitorNumbers {
  public:
    // `monitors` is the window's list, read again in place when the displays change.
    explicit MonitorNumbers(const std::vector<MonitorEntry>& monitors) : monitors_(monitors) {}

    // What each number means on this computer (none: the number's place, as listed), and who is
    // told, once, that a run's monitor is listed at another place now.
    void RememberIn(RememberedMonitors* remembered,
                    std::function<void(const std::wstring& line)> moved);
    std::optional<MonitorIdentity> Remembered(int number) const;
    // The monitor listed at `number`'s place now becomes what the number means.
    void RememberListed(int number);

    // Where monitor `number` is now; a run with nobody at the desk (`unattended`) has none while
    // the remembered monitor is not connected, one that someone started has the number's place.
    FoundMonitor Find(int number, bool unattended) const;
    // The same for a run about to place its show, which says once where the monitor is listed now.
    FoundMonitor FindForRun(int number, bool unattended);

    // What monitor `number` is called on this computer: the remembered one's name, else the name of
    // the one listed at its place; empty when neither is known.
    std::wstring Name(int number) const;
    // What the monitor box says beside `number` ("2 - LG TV (1920 x 1080)").
    std::wstring Label(int number) const;
    // What a run waits for while monitor `number` is not there.
    std::wstring MissingText(int number) const;

  private:
    const MonitorIdentity* Listed(int number) const;

    const std::vector<MonitorEntry>& monitors_;
    RememberedMonitors* remembered_ = nullptr;
    std::function<void(const std::wstring&)> moved_;
    // Where a run's monitor was last said to be listed, so that it is said once.
    std::optional<std::pair<int, std::size_t>> movedTold_;
};

}  // namespace tidewell
