#pragma once
// Time zones as Windows knows them, by their key ("W. Europe Standard Time"), so that a report
// splits a screen's shows at the midnights of the screen's own zone, whatever zone the computer
// writing the report is in, and a day of a daylight-saving change has its 23 or 25 hours.
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace tidewell {

// A change of the zone within a year, as Windows gives it: with `year` 0 it recurs on the `week`th
// (5: the last) `weekday` (0: Sunday) of `month`; otherwise on `month`/`week` of that year. The
// time is local, on the clock before the change. `month` 0: the zone has no such change.
struct ZoneChange {
    int year = 0, month = 0, weekday = 0, week = 0, hour = 0, minute = 0;
};

// One year of a zone: UTC = local time + bias, the standard or the daylight one added.
struct ZoneYear {
    int biasMinutes = 0, standardBiasMinutes = 0, daylightBiasMinutes = 0;
    ZoneChange toStandard, toDaylight;
};

// The rules of zone `key` in `year`; none when the zone is not known here.
using ZoneYearOf = std::function<std::optional<ZoneYear>(const std::string& key, int year)>;

// Local time minus UTC of known zones at given moments, each zone's year asked once.
class ZoneOffsets {
  public:
    explicit ZoneOffsets(ZoneYearOf rules) : rules_(std::move(rules)) {}
    // In milliseconds; none when the zone is not known.
    std::optional<long long> At(const std::string& key, long long utcMs);

  private:
    struct Year {
        bool known = false;
        long long daylightFromUtcMs = 0, standardFromUtcMs = 0;  // equal: no daylight time
        long long standardMs = 0, daylightMs = 0;                // the two offsets
    };
    const Year& YearOf(const std::string& key, int year);

    ZoneYearOf rules_;
    std::map<std::pair<std::string, int>, Year> years_;
};

}  // namespace tidewell
