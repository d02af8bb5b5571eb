#pragma once
// How long a play run waits for what: the hand-off search, the grace after a close request, the
// rests between idle passes, the repeat of "Stop now", the retries of a start that waits. The
// program uses the defaults; tests of the built program shorten them (see RunTimingsOfProcess).
#include <optional>
#include <string_view>

namespace tidewell {

struct RunTimings {
    // A program that ends this soon without a show window may have handed its file to a copy of
    // itself that runs already (single-instance programs do), which then shows it.
    unsigned handOffWithinMs = 5'000;
    // How long after such an end a new slide-show window of another process is taken for the show.
    unsigned handOffSearchMs = 10'000;
    unsigned handOffPollMs = 100;
    // How often a handed show's window is checked for being gone: its process outlives it.
    unsigned handedGoneCheckMs = 200;
    // How long a show asked to close may take to end before the run goes on without it.
    unsigned closeGraceMs = 30'000;
    // How often a show asked to close is asked again, for windows that appear after the request.
    unsigned askAgainMs = 500;
    // A show whose program ran this long, or whose window was seen, lasted.
    unsigned lastingShowMs = 1'000;
    // After a pass in which no show lasted, the rest doubles from the first up to the longest.
    unsigned firstRestMs = 10'000;
    unsigned longestRestMs = 300'000;
    // A start with "/play" that waits tries again this often, for this long.
    unsigned startRetryMs = 30'000;
    unsigned startWaitMs = 600'000;
    // How often the announcement is judged again by the clock, and its file looked at while its
    // folder sends no notices of changes (it cannot be watched, or not yet): a saved announcement
    // is then on every screen within this time and one look. While notices come, the file is
    // looked at after each, and at the fallback's pace otherwise.
    unsigned alertLookMs = 3'000;
    unsigned alertFallbackMs = 60'000;
    // A run that follows its setting file reads it again this often while it waits for a time.
    unsigned followReadMs = 300'000;
    // A pass's read of its setting file, or a show's start, that has not answered after this long
    // is said in the log; a read is then given up and the list plays on as it was.
    unsigned slowStepMs = 30'000;
    // The computer is woken this long before a scheduled show, so that the show is on time.
    unsigned wakeAheadMs = 60'000;
    // A looping run in which nothing could be reached (a share away) tries its list again after
    // this long.
    unsigned unreachableRetryMs = 30'000;
    // How often the copies of every deck of the list and of the announcement are brought up to
    // date, at a show's start and while a long show plays: each sweep looks at every deck on the
    // share once.
    unsigned copySweepMs = 60'000;
};

// "name=milliseconds" items separated by commas, names as the members above ("closeGraceMs=400,
// firstRestMs=50"), each replacing the value in `base`; none when an item is not one of them.
std::optional<RunTimings> ParseRunTimings(std::string_view text, RunTimings base = {});

// The timings of this process: the defaults, or those of TIDEWELL_TEST_RUN_TIMINGS (read once).
const RunTimings& RunTimingsOfProcess();

}  // namespace tidewell
