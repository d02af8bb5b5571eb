#include "run/run_timings.h"

#include <charconv>
#include <cstdlib>
#include <utility>

namespace tidewell {
namespace {

struct NamedTiming {
    std::string_view name;
    unsigned RunTimings::*member;
};

constexpr NamedTiming kNames[] = {
    {"handOffWithinMs", &RunTimings::handOffWithinMs},
    {"handOffSearchMs", &RunTimings::handOffSearchMs},
    {"handOffPollMs", &RunTimings::handOffPollMs},
    {"handedGoneCheckMs", &RunTimings::handedGoneCheckMs},
    {"closeGraceMs", &RunTimings::closeGraceMs},
    {"askAgainMs", &RunTimings::askAgainMs},
    {"lastingShowMs", &RunTimings::lastingShowMs},
    {"firstRestMs", &RunTimings::firstRestMs},
    {"longestRestMs", &RunTimings::longestRestMs},
    {"startRetryMs", &RunTimings::startRetryMs},
    {"unreachableRetryMs", &RunTimings::unreachableRetryMs},
    {"startWaitMs", &RunTimings::startWaitMs},
    {"alertLookMs", &RunTimings::alertLookMs},
    {"alertFallbackMs", &RunTimings::alertFallbackMs},
    {"followReadMs", &RunTimings::followReadMs},
    {"slowStepMs", &RunTimings::slowStepMs},
    {"wakeAheadMs", &RunTimings::wakeAheadMs},
    {"copySweepMs", &RunTimings::copySweepMs},
};

}  // namespace

std::optional<RunTimings> ParseRunTimings(std::string_view text, RunTimings base) {
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        const std::size_t equals = item.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        const std::string_view name = item.substr(0, equals), value = item.substr(equals + 1);
        unsigned ms = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), ms);
        if (error != std::errc{} || end != value.data() + value.size() || value.empty()) {
            return std::nullopt;
        }
        bool known = false;
        for (const NamedTiming& named : kNames) {
            if (named.name != name) continue;
            base.*named.member = ms;
            known = true;
        }
        if (!known) return std::nullopt;
    }
    return base;
}

const RunTimings& RunTimingsOfProcess() {
    // Only the end-to-end tests set this variable: they turn the minutes a lobby screen waits
    // (rests, grace, the hand-off search, a waiting start's retries) into milliseconds, so that a
    // test of the built program never sleeps through them. It is not in the usage text; a value
    // that does not parse leaves the defaults.
    static const RunTimings timings = [] {
        const char* text = std::getenv("TIDEWELL_TEST_RUN_TIMINGS");
        return text ? ParseRunTimings(text).value_or(RunTimings{}) : RunTimings{};
    }();
    return timings;
}

}  // namespace tidewell
