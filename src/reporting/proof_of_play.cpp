#include "reporting/proof_of_play.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "common/ascii_case.h"
#include "common/byte_search.h"
#include "common/iso_date.h"
#include "common/plain_text.h"
#include "common/utf16.h"
#include "reporting/file_name_text.h"
#include "run/play_log.h"

namespace tidewell {
namespace {

constexpr long long kDayMs = 86'400'000;

bool EndsWithNoCase(std::string_view text, std::string_view end) {
    return text.size() > end.size() &&
           std::ranges::equal(text.substr(text.size() - end.size()), end, {},
                              [](char c) { return LowerAscii(c); });
}

long long FloorDiv(long long value, long long by) {
    return value / by - (value % by != 0 && (value < 0) != (by < 0));
}

}  // namespace

// One line of the log as the tally reads it.
struct ScreenTally::Line {
    Moment time;
    RunEvent event = RunEvent::Error;
    std::string_view path;
    std::string_view detail;
};

namespace {

// The time column exactly as the log writes it: "2026-12-08T03:12:05.123+01:00". Offsets are
// those the world uses, -12:00 to +14:00.
bool ReadTime(std::string_view text, int& day, long long& localMs, long long& utcMs) {
    if (text.size() != 29 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != '.' ||
        (text[23] != '+' && text[23] != '-') || text[26] != ':') {
        return false;
    }
    const int year = DigitsAt(text, 0, 4), month = DigitsAt(text, 5, 2),
              date = DigitsAt(text, 8, 2);
    const int hour = DigitsAt(text, 11, 2), minute = DigitsAt(text, 14, 2);
    const int second = DigitsAt(text, 17, 2), ms = DigitsAt(text, 20, 3);
    const int offsetHours = DigitsAt(text, 24, 2), offsetMinutes = DigitsAt(text, 27, 2);
    const int offset = (text[23] == '+' ? 1 : -1) * (offsetHours * 60 + offsetMinutes);
    if (!(year >= 0 && month >= 1 && date >= 1) || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 60 || ms < 0 || offsetHours < 0 ||
        offsetMinutes < 0 || offsetMinutes > 59 || offset < -12 * 60 || offset > 14 * 60) {
        return false;
    }
    // The lines of a log come a day at a time: the date of the line before is most often this
    // one's.
    static thread_local std::pair<std::string, int> lastDate;
    if (text.substr(0, 10) != lastDate.first) {
        if (!ValidDate(year, month, date)) return false;
        lastDate = {std::string(text.substr(0, 10)),
                    DayNumber(year, static_cast<unsigned>(month), static_cast<unsigned>(date))};
    }
    day = lastDate.second;
    localMs = day * kDayMs + ((hour * 60LL + minute) * 60 + second) * 1000 + ms;
    utcMs = localMs - offset * 60'000LL;
    return true;
}

std::optional<RunEvent> EventNamed(std::string_view name) {
    // Every event the run knows, to the first number past the last, which has no name of its own;
    // named once, as a line is read a million times in a month's report.
    static const std::vector<std::string_view> kNames = [] {
        std::vector<std::string_view> names;
        for (int i = 0;; ++i) {
            const std::string_view known = RunEventName(static_cast<RunEvent>(i));
            if (known == RunEventName(RunEvent::Error) && i != static_cast<int>(RunEvent::Error)) {
                return names;
            }
            names.push_back(known);
        }
    }();
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (kNames[i] == name) return static_cast<RunEvent>(i);
    }
    return std::nullopt;
}

// The length a show-end's detail gives ("302.877 s, exit code 0"), measured by the run's steady
// clock, which a clock set right does not move; none when the detail gives none.
std::optional<long long> MeasuredLength(std::string_view detail) {
    const std::size_t dot = detail.find('.');
    if (dot == 0 || dot == std::string_view::npos || dot > 12 || detail.size() < dot + 6 ||
        detail.substr(dot + 4, 2) != " s") {
        return std::nullopt;
    }
    const int fraction = DigitsAt(detail, dot + 1, 3);
    long long seconds = 0;
    for (const char c : detail.substr(0, dot)) {
        if (c < '0' || c > '9') return std::nullopt;
        seconds = seconds * 10 + (c - '0');
    }
    if (fraction < 0) return std::nullopt;
    return seconds * 1000 + fraction;
}

// A name from a log as the report writes it: what is not valid UTF-8 becomes U+FFFD and control
// characters spaces, as on the page.
std::string CleanText(std::string_view text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return PlainUtf8(std::wstring_view(DecodeUtf8({bytes, text.size()})));
}

}  // namespace

ScreenTally::ScreenTally(std::string screen, ReportZones zones)
    : screen_(std::move(screen)), zones_(std::move(zones)) {}

PlayFigures& ScreenTally::At(int day, std::string_view path, PlayKind kind) {
    std::get<0>(key_) = day;
    std::get<1>(key_).assign(path);
    std::get<2>(key_) = kind;
    const auto found = figures_.find(key_);
    return found != figures_.end() ? found->second : figures_[key_];
}

void ScreenTally::CloseWithoutEnd() {
    if (open_) ++At(open_->placed.day, open_->path, open_->kind).withoutEnd;
    open_.reset();
}

void ScreenTally::End(const Line& line) {
    if (!open_ || open_->path != line.path) {
        // Never placed (it ended before its window came): no time on screen.
        CloseWithoutEnd();
        return;
    }
    // The length from the two moments in UTC, so that a daylight-saving change or a new time zone
    // in between neither adds nor takes an hour.
    const long long span = line.time.utcMs - open_->placed.utcMs;
    EndedShow show{open_->path, open_->kind, open_->placed, line.time, span, zone_};
    const std::optional<long long> measured = MeasuredLength(line.detail);
    if (measured && *measured <= kLongestShowMs) {
        // A clock set right (or wrong) during the show moved one of the two moments: the run's
        // own measure says how long it lasted, and the show ends where the later clock says.
        if (span < 0 || span > *measured) show.milliseconds = *measured;
        ended_.push_back(std::move(show));
        open_.reset();
    } else if (span >= 0 && span <= kLongestShowMs && open_->placed.utcMs >= open_->beforeUtcMs) {
        unchecked_ = std::move(show);
        open_.reset();
    } else {
        // Its clock went back past the line before it: no length can be vouched for.
        CloseWithoutEnd();
    }
}

void ScreenTally::Apply(const Line& line) {
    switch (line.event) {
        case RunEvent::ShowPlaced:
            CloseWithoutEnd();
            ++At(line.time.day, line.path, announcing_ ? PlayKind::Announcement : PlayKind::List)
                  .plays;
            open_ = OpenShow{std::string(line.path),
                             announcing_ ? PlayKind::Announcement : PlayKind::List, line.time,
                             lastUtcMs_};
            break;
        case RunEvent::ShowEnd:
            End(line);
            break;
        case RunEvent::RunStart: {
            CloseWithoutEnd();
            announcing_ = false;
            const std::string_view zone = ZoneOfRunStart(line.detail);
            zone_ = -1;
            if (!zone.empty()) {
                const auto known = std::ranges::find(zoneKeys_, zone);
                zone_ = static_cast<int>(known - zoneKeys_.begin());
                if (known == zoneKeys_.end()) zoneKeys_.emplace_back(zone);
            }
            break;
        }
        case RunEvent::ShowStart:
        case RunEvent::RunEnd:
            // A show still open here never ended in the log: the screen lost power, say.
            CloseWithoutEnd();
            break;
        case RunEvent::AlertStart:
        case RunEvent::AlertEnd:
            announcing_ = line.event == RunEvent::AlertStart;
            break;
        case RunEvent::ShowSkipped:
            ++At(line.time.day, line.path, PlayKind::List).skipped;
            break;
        case RunEvent::ShowTimeout:
            ++At(line.time.day, line.path, announcing_ ? PlayKind::Announcement : PlayKind::List)
                  .timedOut;
            break;
        case RunEvent::Error:
            if (!line.path.empty()) ++At(line.time.day, line.path, PlayKind::List).failed;
            break;
        default:
            break;
    }
}

bool ScreenTally::TakeLine(std::string_view text) {
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    // Five columns, four tabs: a line cut and continued by the next one has more.
    std::array<std::string_view, 5> columns;
    std::size_t at = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::size_t tab = i + 1 < columns.size() ? FindByte(text, '\t', at) : text.size();
        if (tab == std::string_view::npos) return false;
        columns[i] = text.substr(at, tab - at);
        at = tab + 1;
    }
    if (FindByte(columns[4], '\t') != std::string_view::npos) return false;
    Line line;
    const std::optional<RunEvent> event = EventNamed(columns[1]);
    if (!event || !ReadTime(columns[0], line.time.day, line.time.localMs, line.time.utcMs)) {
        return false;
    }
    line.event = *event;
    line.path = columns[3];
    line.detail = columns[4];
    if (unchecked_) {
        if (line.time.utcMs >= unchecked_->ended.utcMs) {
            ended_.push_back(std::move(*unchecked_));
        } else {
            ++At(unchecked_->placed.day, unchecked_->path, unchecked_->kind).withoutEnd;
        }
        unchecked_.reset();
    }
    if (zone_ < 0 && agreesWithLocal_ && zones_.offsets && !zones_.local.empty() &&
        (line.event == RunEvent::ShowPlaced || line.event == RunEvent::ShowEnd)) {
        agreesWithLocal_ = zones_.offsets->At(zones_.local, line.time.utcMs) ==
                           line.time.localMs - line.time.utcMs;
    }
    Apply(line);
    lastUtcMs_ = line.time.utcMs;
    return true;
}

void ScreenTally::Take(std::string_view logName, ReadableFile& log) {
    // Read in pieces, so that a log of any size needs no more memory than a piece and one line.
    constexpr std::size_t kPiece = 1 << 20;
    // Far longer than any line the run writes (a path and a message): a file without line ends
    // is not a log, and is not held whole either.
    constexpr std::size_t kLongestLine = 1 << 20;
    long long unread = 0;
    std::string pending;    // the start of a line whose end is in the next piece
    bool overlong = false;  // dropping the rest of a line found too long
    std::vector<char> piece(kPiece);
    std::optional<std::size_t> read;
    while ((read = log.Read(piece.data(), piece.size())) && *read > 0) {
        pending.append(piece.data(), *read);
        std::string_view lines(pending);
        for (std::size_t end; (end = FindByte(lines, '\n')) != std::string_view::npos;
             lines.remove_prefix(end + 1)) {
            const std::string_view text = lines.substr(0, end);
            if (!overlong && !text.empty() && text != "\r" && !TakeLine(text)) ++unread;
            overlong = false;
        }
        if (lines.size() > kLongestLine) {
            unread += overlong ? 0 : 1;
            overlong = true;
            lines = {};
        }
        pending.erase(0, pending.size() - lines.size());
    }
    // A last line without its line end was cut (power lost while it was written) or is being
    // written right now: either way it is not whole. (A read that failed says so on its own.)
    if (!overlong && !pending.empty() && read) ++unread;
    if (unread > 0) unread_.push_back({screen_, CleanText(logName), unread});
    if (!read) Unopened(logName);
}

void ScreenTally::Unopened(std::string_view logName) {
    unreadFiles_.push_back({screen_, CleanText(logName)});
}

void ScreenTally::Split(const EndedShow& show, const DayRange& days) {
    const long long placedOffset = show.placed.localMs - show.placed.utcMs;
    const long long endOffset = show.ended.localMs - show.ended.utcMs;
    const long long from = show.ended.utcMs - show.milliseconds;
    // The zone the run named; for a log that names none, the zone of this computer when the log's
    // offsets are its own; otherwise the lines' own offsets: the first midnight on the clock of
    // placement, the later ones on the clock of the end.
    const std::string* zone = show.zone >= 0 ? &zoneKeys_[static_cast<std::size_t>(show.zone)]
                              : agreesWithLocal_ && !zones_.local.empty() ? &zones_.local
                                                                          : nullptr;
    const long long firstMidnightUtc =
        (FloorDiv(from + placedOffset, kDayMs) + 1) * kDayMs - placedOffset;
    const auto offsetAt = [&](long long utcMs) {
        if (zone && zones_.offsets) {
            if (const auto offset = zones_.offsets->At(*zone, utcMs)) return *offset;
        }
        return utcMs <= firstMidnightUtc ? placedOffset : endOffset;
    };
    for (long long at = from; at < show.ended.utcMs;) {
        const long long offset = offsetAt(at);
        const long long day = FloorDiv(at + offset, kDayMs);
        const long long midnight = (day + 1) * kDayMs;
        long long next = midnight - offsetAt(midnight - offset);
        // A midnight the clock skips (a zone that changes at 00:00): the day ends at the change.
        if (next <= at) next = midnight - offset;
        next = std::min(next, show.ended.utcMs);
        if (days.Holds(static_cast<int>(day))) {
            At(static_cast<int>(day), show.path, show.kind).milliseconds += next - at;
        }
        at = next;
    }
}

void ScreenTally::Finish(const DayRange& days, ProofOfPlay& into) {
    if (unchecked_) ended_.push_back(std::move(*unchecked_));
    unchecked_.reset();
    CloseWithoutEnd();
    for (const EndedShow& show : ended_) Split(show, days);
    ended_.clear();
    for (auto& [key, figures] : figures_) {
        const auto& [day, path, kind] = key;
        if (days.Holds(day)) into.rows.push_back({screen_, day, CleanText(path), figures, kind});
    }
    figures_.clear();
    into.unread.insert(into.unread.end(), unread_.begin(), unread_.end());
    unread_.clear();
    into.unreadFiles.insert(into.unreadFiles.end(), unreadFiles_.begin(), unreadFiles_.end());
    unreadFiles_.clear();
}

ProofOfPlay ReadPlayLogFolder(const std::filesystem::path& folder, const DayRange& days,
                              const ReportFiles& files, ReportZones zones) {
    // Each screen's name and files, the rotated one first: it holds the older lines. Windows
    // names are one whatever their letter case, so "HALL.log.1" goes with "hall.log".
    struct Logs {
        std::string screen;
        std::array<std::filesystem::path, 2> files;
    };
    std::map<std::string, Logs> logs;
    ProofOfPlay proof;
    const bool listed = files.list(folder, [&](const FoundFile& found) {
        const std::string name = FileNameText(found.path.filename());
        for (const auto& [extension, place] : {std::pair{".log.1", 0}, std::pair{".log", 1}}) {
            if (!EndsWithNoCase(name, extension)) continue;
            const std::string screen = name.substr(0, name.size() - std::strlen(extension));
            Logs& screenLogs = logs[LowerAscii(screen)];
            if (screenLogs.screen.empty() || place == 1) screenLogs.screen = screen;
            screenLogs.files[place] = found.path;
            break;
        }
    });
    if (!listed) proof.unreadFiles.push_back({"", FileNameText(folder.filename())});
    for (const auto& [key, screenLogs] : logs) {
        ScreenTally tally(screenLogs.screen, zones);
        // Both opened before either is read: a rotation while the older one is read then costs
        // no generation of lines.
        std::array<std::unique_ptr<ReadableFile>, 2> opened;
        for (std::size_t i = 0; i < opened.size(); ++i) {
            if (!screenLogs.files[i].empty()) opened[i] = files.open(screenLogs.files[i]);
        }
        for (std::size_t i = 0; i < opened.size(); ++i) {
            if (screenLogs.files[i].empty()) continue;
            const std::string name = FileNameText(screenLogs.files[i].filename());
            if (opened[i]) {
                tally.Take(name, *opened[i]);
            } else {
                tally.Unopened(name);
            }
        }
        tally.Finish(days, proof);
    }
    return proof;
}

namespace {

// Where a spreadsheet may start a new field: its list separator (a comma here, a semicolon in
// much of Europe, a tab when pasted) or a line end.
constexpr std::string_view kSeparators = ",;\t\r\n";

bool StartsFormula(char c) {
    return std::string_view("=+-@\t\r").find(c) != std::string_view::npos;
}

// A field as a spreadsheet reads it back, whatever separator it splits on: quoted when it holds a
// separator or a quote, and never taken for a formula, which a spreadsheet would run on opening
// (a path named "=HYPERLINK(...)" is text). A spreadsheet that splits on a semicolon does not see
// the quotes of a field that starts after a comma, so a formula sign after a separator inside the
// field gets the same "'" as one at its start.
void AppendField(std::string& out, std::string_view text) {
    const bool quote = (!text.empty() && StartsFormula(text[0])) ||
                       text.find_first_of(kSeparators) != std::string_view::npos ||
                       text.find('"') != std::string_view::npos;
    if (!quote) {
        out += text;
        return;
    }
    out += '"';
    bool fieldStart = true;
    for (const char c : text) {
        if (fieldStart && StartsFormula(c)) out += '\'';
        if (c == '"') out += '"';
        out += c;
        fieldStart = kSeparators.find(c) != std::string_view::npos;
    }
    out += '"';
}

}  // namespace

std::string ProofOfPlayCsv(const ProofOfPlay& proof) {
    std::string out =
        "\xEF\xBB\xBFscreen,date,presentation,plays,seconds on screen,skipped,timed out,failed,"
        "plays without end,kind\r\n";
    out.reserve(proof.rows.size() * 80);
    for (const ProofRow& row : proof.rows) {
        const PlayFigures& f = row.figures;
        AppendField(out, row.screen);
        out += ',';
        out += IsoDate(row.day);
        out += ',';
        AppendField(out, row.presentation);
        for (const long long value : {f.plays, (f.milliseconds + 500) / 1000, f.skipped, f.timedOut,
                                      f.failed, f.withoutEnd}) {
            out += ',';
            out += std::to_string(value);
        }
        out += row.kind == PlayKind::Announcement ? ",announcement\r\n" : ",list\r\n";
    }
    for (const UnreadLines& unread : proof.unread) {
        AppendField(out, unread.screen);
        out += ",,";
        AppendField(out, std::to_string(unread.lines) + (unread.lines == 1 ? " line" : " lines") +
                             " of " + unread.logName + " not understood");
        out += ",,,,,,,\r\n";
    }
    for (const UnreadFile& unread : proof.unreadFiles) {
        AppendField(out, unread.screen);
        out += ",,";
        AppendField(out, unread.name + " could not be read");
        out += ",,,,,,,\r\n";
    }
    return out;
}

}  // namespace tidewell
