#pragma once
// One page for many screens: every status file in a folder (and the screenshot of the same name
// beside it) becomes a card of a single HTML file, so that a browser, a phone or a shared folder
// opened in Explorer shows them all without a server. The page needs no script and asks nothing
// from outside the folder: the pictures are the files beside it.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tidewell {

// A status older than this is marked stale: the screen or its run has stopped telling.
inline constexpr long long kStaleAfterSeconds = 3 * 60;

// The files of one screen in the folder; names and contents UTF-8.
struct ScreenFiles {
    std::string name;                   // the files' common name without extension
    std::optional<std::string> status;  // the status file's content; none: there is none
    std::string picture;                // the screenshot's file name; empty: there is none
};

// The screens of a folder: each "NAME.json" with "NAME.png" when there is one (a picture
// without a status file is a screen too). A status file that cannot be read counts as empty.
std::vector<ScreenFiles> ReadScreenFolder(const std::filesystem::path& folder);

// The whole page, cards in the order of their names; `builtAt` is shown as the page's time.
std::string OverviewPage(std::vector<ScreenFiles> screens, long long nowUtcSeconds,
                         const std::string& builtAt);

}  // namespace tidewell
