#pragma once
// One page for many screens: every status file in a folder (and the screenshot of the same name
// beside it) becomes a card of a single HTML file, so that a browser, a phone or a shared folder
// opened in Explorer shows them all without a server. The page needs no script and asks nothing
// from outside the folder: the pictures are the files beside it.
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "reporting/proof_of_play.h"
#include "reporting/report_files.h"
#include "reporting/status_fields.h"

namespace tidewell {

// A status older than this is marked stale: the screen or its run has stopped telling.
inline constexpr long long kStaleAfterSeconds = 3 * 60;
// A status whose `updated` is this far from when its file was written comes from a clock that is
// off: the screen's logs and its age are not to be trusted.
inline constexpr long long kClockOffAfterSeconds = 5 * 60;

// The files of one screen in the folder; names and contents UTF-8.
struct ScreenFiles {
    std::string name;  // the files' common name without extension
    bool hasStatusFile = false;
    // What the status file says; none when there is none, or when it cannot be read or is not a
    // status document.
    std::optional<StatusFields> status;
    std::string picture;  // the screenshot's file name; empty: there is none
    // When the status file was last written, by the clock of the computer that holds it: a
    // screen's own clock may be wrong, the file server's is one for every screen.
    std::optional<long long> writtenUtcSeconds;
};

struct ScreensOfFolder {
    std::vector<ScreenFiles> screens;
    bool listedWhole = true;  // false: the folder could not be listed, or not to its end
};

// The screens of a folder: each "NAME.json" with "NAME.png" when there is one, their names paired
// whatever their letter case (a picture without a status file is a screen too).
ScreensOfFolder ReadScreenFolder(const std::filesystem::path& folder,
                                 const ReportFiles& files = StandardReportFiles());

// What the proof-of-play report adds to the page: a link to it, and each screen's figures of today.
struct ReportOnPage {
    std::string address;  // of report.csv, as the page links to it; empty: no link
    struct Today {
        long long plays = 0;
        long long seconds = 0;
    };
    // By screen name in lower case; a screen not named played nothing today. None: not known.
    std::optional<std::map<std::string, Today>> today;
    // The screens (in lower case) whose play log could not be read, and whether the logs' folder
    // could be listed whole.
    std::set<std::string> unreadLogs;
    bool logsListedWhole = true;
};

// The report's link, and the figures of the rows of day `today` added up per screen.
ReportOnPage FiguresOfToday(const ProofOfPlay& proof, std::string address, int today);

// The whole page: a line of counts, a list of the screens that need someone (quiet, stopped, with
// an error, in a state not known, without a readable status or play log, or with a clock far
// off), one line each with a link to its card, then their cards, then the others, each group in
// the order of the names; `builtAt` is shown as the page's time.
std::string OverviewPage(ScreensOfFolder folder, long long nowUtcSeconds,
                         const std::string& builtAt,
                         const std::optional<ReportOnPage>& report = std::nullopt);

// How the page in `pageFolder` links to the file at `target`: by its name when it lies beside the
// page, otherwise by a file address of its full path.
std::string AddressFromPage(const std::filesystem::path& pageFolder,
                            const std::filesystem::path& target);

}  // namespace tidewell
