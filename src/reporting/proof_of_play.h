#pragma once
// Proof of play: what each screen showed, on which day, how often and for how long, added up from
// the screens' play logs, so that whoever pays for a slot in a loop gets figures instead of lines.
#include <filesystem>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidewell {

// The figures of one presentation on one screen on one day.
struct PlayFigures {
    long long plays = 0;         // shows that were on their monitor
    long long milliseconds = 0;  // on screen, from placement to the show's end
    long long skipped = 0;
    long long timedOut = 0;
    long long failed = 0;  // error lines naming the presentation
    // Placed shows whose end the log does not hold (the screen lost power, or the show still
    // plays): counted as plays, their time on screen is not known.
    long long withoutEnd = 0;
    bool operator==(const PlayFigures&) const = default;
};

struct ProofRow {
    std::string screen;
    int day = 0;  // the screen's local date, in days since 1970-01-01
    std::string presentation;
    PlayFigures figures;
};

// How many lines of one log file could not be read.
struct UnreadLines {
    std::string screen;
    std::string logName;
    long long lines = 0;
};

struct ProofOfPlay {
    std::vector<ProofRow> rows;  // by screen, day and presentation
    std::vector<UnreadLines> unread;
};

// The days a report covers, both ends included; none: open at that end.
struct DayRange {
    std::optional<int> from, until;
    bool Holds(int day) const { return (!from || day >= *from) && (!until || day <= *until); }
};

// The figures of one screen, from its log files given older first (the rotated "NAME.log.1",
// then "NAME.log"), so that a show placed in one and ended in the other is one show.
class ScreenTally {
  public:
    explicit ScreenTally(std::string screen);
    // One log file, read to its end.
    void Take(std::string_view logName, std::istream& log);
    // The screen's rows within `days`, and its unread lines; a show still open counts as without
    // end.
    void Finish(const DayRange& days, ProofOfPlay& into);

  private:
    struct Line;
    struct Moment {
        int day = 0;
        long long localMs = 0;  // since 1970 on the screen's clock
        long long utcMs = 0;
    };
    struct OpenShow {
        std::string path;
        Moment placed;
    };
    // False when the line is not one of the log's.
    bool TakeLine(std::string_view text);
    void Apply(const Line& line);
    void CloseWithoutEnd();
    PlayFigures& At(int day, std::string_view path);

    std::string screen_;
    std::map<std::pair<int, std::string>, PlayFigures> figures_;  // by day and presentation
    std::pair<int, std::string> key_;  // kept, so that looking a row up allocates nothing
    std::optional<OpenShow> open_;
    std::vector<UnreadLines> unread_;
};

// Every play log of a folder ("*.log" and "*.log.1"; the name before the extension is the
// screen's), screens in name order, each file read once.
ProofOfPlay ReadPlayLogFolder(const std::filesystem::path& folder, const DayRange& days);

// The report as spreadsheets on Windows open it: UTF-8 with a byte-order mark, comma-separated,
// a header row, then one row per screen, day and presentation, then a row for each log with lines
// that could not be read.
std::string ProofOfPlayCsv(const ProofOfPlay& proof);

}  // namespace tidewell
