#pragma once
// Proof of play: what each screen showed, on which day, how often and for how long, added up from
// the screens' play logs, so that whoever pays for a slot in a loop gets figures instead of lines.
// Every log is read as written by a screen whose clock may be wrong, or by anybody who may write
// the folder: no line makes a show longer than the run measured it, and nothing unread is silent.
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reporting/report_files.h"
#include "reporting/zone_rules.h"

namespace tidewell {

// The figures of one presentation on one screen on one day.
struct PlayFigures {
    long long plays = 0;         // shows that were on their monitor
    long long milliseconds = 0;  // on screen, from placement to the show's end
    long long skipped = 0;
    long long timedOut = 0;
    long long failed = 0;  // error lines naming the presentation
    // Placed shows whose end the log does not hold (the screen lost power, or the show still
    // plays), or whose end no clock can vouch for: counted as plays, their time is not known.
    long long withoutEnd = 0;
    bool operator==(const PlayFigures&) const = default;
};

// Shows of the list, or of an announcement that took the screen meanwhile.
enum class PlayKind { List, Announcement };

struct ProofRow {
    std::string screen;
    int day = 0;  // the screen's local date, in days since 1970-01-01
    std::string presentation;
    PlayFigures figures;
    PlayKind kind = PlayKind::List;
};

// How many lines of one log file could not be read.
struct UnreadLines {
    std::string screen;
    std::string logName;
    long long lines = 0;
};

// A log that could not be opened or read to its end, or (with no screen) a folder that could not
// be listed whole.
struct UnreadFile {
    std::string screen;
    std::string name;
};

struct ProofOfPlay {
    std::vector<ProofRow> rows;  // by screen, day, presentation and kind
    std::vector<UnreadLines> unread;
    std::vector<UnreadFile> unreadFiles;
};

// The days a report covers, both ends included; none: open at that end.
struct DayRange {
    std::optional<int> from, until;
    bool Holds(int day) const { return (!from || day >= *from) && (!until || day <= *until); }
};

// Where the report finds the midnights of a screen: the offsets of the zones that the logs name,
// and the zone of the computer writing the report, for logs that name none.
struct ReportZones {
    ZoneOffsets* offsets = nullptr;  // none: every split follows the lines' own offsets
    std::string local;
};

// The longest show a log is believed: a figure past it is not a length any run measured.
inline constexpr long long kLongestShowMs = 400LL * 86'400'000;

// The figures of one screen, from its log files given older first (the rotated "NAME.log.1",
// then "NAME.log"), so that a show placed in one and ended in the other is one show.
class ScreenTally {
  public:
    ScreenTally(std::string screen, ReportZones zones);
    // One log file, read to its end; a read that fails names the file among the unread ones.
    void Take(std::string_view logName, ReadableFile& log);
    // A log file that could not be opened.
    void Unopened(std::string_view logName);
    // The screen's rows within `days`, and what was not read; a show still open counts as
    // without end.
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
        PlayKind kind;
        Moment placed;
        long long beforeUtcMs;  // the line before the placement
    };
    struct EndedShow {
        std::string path;
        PlayKind kind;
        Moment placed, ended;
        long long milliseconds;
        int zone;  // in zones_; -1: the log named none
    };
    // False when the line is not one of the log's.
    bool TakeLine(std::string_view text);
    void Apply(const Line& line);
    void End(const Line& line);
    void CloseWithoutEnd();
    void Split(const EndedShow& show, const DayRange& days);
    PlayFigures& At(int day, std::string_view path, PlayKind kind);

    std::string screen_;
    ReportZones zones_;
    std::vector<std::string> zoneKeys_;
    int zone_ = -1;  // of the run that writes the lines now
    // Whether the offsets of the lines of runs that named no zone are those of the local zone.
    bool agreesWithLocal_ = true;
    bool announcing_ = false;
    long long lastUtcMs_ = 0;
    std::map<std::tuple<int, std::string, PlayKind>, PlayFigures> figures_;
    std::tuple<int, std::string, PlayKind> key_;  // kept, so that a look-up allocates nothing
    std::optional<OpenShow> open_;
    // A show that ended without its length measured: believed once the next line shows that the
    // clock did not stand past its end.
    std::optional<EndedShow> unchecked_;
    std::vector<EndedShow> ended_;
    std::vector<UnreadLines> unread_;
    std::vector<UnreadFile> unreadFiles_;
};

// Every play log of a folder ("*.log" and "*.log.1"; the name before the extension is the
// screen's), screens in name order, each screen's files opened together and read once.
ProofOfPlay ReadPlayLogFolder(const std::filesystem::path& folder, const DayRange& days,
                              const ReportFiles& files, ReportZones zones);

// The report as spreadsheets on Windows open it: UTF-8 with a byte-order mark, comma-separated,
// a header row, then one row per screen, day, presentation and kind, then a row for each log with
// lines that could not be read, and one for each log or folder that could not be read at all.
std::string ProofOfPlayCsv(const ProofOfPlay& proof);

}  // namespace tidewell
