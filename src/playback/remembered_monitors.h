#pragma once
// Which physical monitor each monitor number means on this computer, as the user (or the first run
// on the number) chose it. A setting file travels between computers and holds only the number;
// this stays with the computer, in the stored preferences, under a value named after it.
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "playback/monitor_identity.h"

namespace tidewell {

class RememberedMonitors {
  public:
    std::optional<MonitorIdentity> Of(int number) const;
    void Remember(int number, MonitorIdentity monitor);
    // What "remembered" holds as stored, and back. Lines that cannot be read are left out.
    std::wstring Encode() const;
    static RememberedMonitors Decode(std::wstring_view stored);

    bool operator==(const RememberedMonitors&) const = default;

  private:
    std::map<int, MonitorIdentity> byNumber_;
};

// The preferences value that holds them for the computer named `computer`.
std::wstring RememberedMonitorsValueName(std::wstring_view computer);

}  // namespace tidewell
