#include "reporting/proof_of_play.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <system_error>

#include "common/ascii_case.h"
#include "common/iso_date.h"
#include "reporting/file_name_text.h"
#include "run/play_log.h"

namespace tidewell {
namespace {

constexpr long long kDayMs = 86'400'000;

std::string Utf8(const std::filesystem::path& path) {
    return FileNameText(path);
}

bool EndsWithNoCase(std::string_view text, std::string_view end) {
    return text.size() > end.size() &&
           std::ranges::equal(text.substr(text.size() - end.size()), end, {},
                              [](char c) { return LowerAscii(c); });
}

}  // namespace

// One line of the log as the tally reads it.
struct ScreenTally::Line {
    Moment time;
    RunEvent event = RunEvent::Error;
    std::string_view path;
};

namespace {

// The time column exactly as the log writes it: "2026-12-08T03:12:05.123+01:00".
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
    if (!ValidDate(year, month, date) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 60 || ms < 0 || offsetHours < 0 || offsetHours > 23 ||
        offsetMinutes < 0 || offsetMinutes > 59) {
        return false;
    }
    day = DayNumber(year, static_cast<unsigned>(month), static_cast<unsigned>(date));
    localMs = day * kDayMs + ((hour * 60LL + minute) * 60 + second) * 1000 + ms;
    const long long offsetMs = (offsetHours * 60LL + offsetMinutes) * 60'000;
    utcMs = localMs + (text[23] == '+' ? -offsetMs : offsetMs);
    return true;
}

std::optional<RunEvent> EventNamed(std::string_view name) {
    // Every event the run knows, to the first number past the last, which has no name of its own.
    for (int i = 0;; ++i) {
        const auto event = static_cast<RunEvent>(i);
        const std::string_view known = RunEventName(event);
        if (known == name) return event;
        if (known == RunEventName(RunEvent::Error) && event != RunEvent::Error) return std::nullopt;
    }
}

}  // namespace

ScreenTally::ScreenTally(std::string screen) : screen_(std::move(screen)) {}

PlayFigures& ScreenTally::At(int day, std::string_view path) {
    key_.first = day;
    key_.second.assign(path);
    const auto found = figures_.find(key_);
    return found != figures_.end() ? found->second : figures_[key_];
}

void ScreenTally::CloseWithoutEnd() {
    if (open_) ++At(open_->placed.day, open_->path).withoutEnd;
    open_.reset();
}

void ScreenTally::Apply(const Line& line) {
    switch (line.event) {
        case RunEvent::ShowPlaced:
            CloseWithoutEnd();
            ++At(line.time.day, line.path).plays;
            open_ = OpenShow{std::string(line.path), line.time};
            break;
        case RunEvent::ShowEnd: {
            if (!open_ || open_->path != line.path) {
                // Never placed (it ended before its window came): no time on screen.
                CloseWithoutEnd();
                break;
            }
            // The length from the two moments in UTC, so that a daylight-saving change or a new
            // time zone in between neither adds nor takes an hour; a clock set back counts nothing.
            long long left = std::max(0LL, line.time.utcMs - open_->placed.utcMs);
            int day = open_->placed.day;
            // Split at the screen's midnights: the first one counted on the clock of placement.
            long long part = std::min(left, (day + 1) * kDayMs - open_->placed.localMs);
            for (; left > 0; ++day, part = std::min(left, kDayMs)) {
                At(day, open_->path).milliseconds += part;
                left -= part;
            }
            open_.reset();
            break;
        }
        case RunEvent::ShowStart:
        case RunEvent::RunStart:
        case RunEvent::RunEnd:
            // A show still open here never ended in the log: the screen lost power, say.
            CloseWithoutEnd();
            break;
        case RunEvent::ShowSkipped:
            ++At(line.time.day, line.path).skipped;
            break;
        case RunEvent::ShowTimeout:
            ++At(line.time.day, line.path).timedOut;
            break;
        case RunEvent::Error:
            if (!line.path.empty()) ++At(line.time.day, line.path).failed;
            break;
        default:
            break;
    }
}

bool ScreenTally::TakeLine(std::string_view text) {
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    // Five columns, four tabs: a line cut and continued by the next one has more.
    if (std::ranges::count(text, '\t') != 4) return false;
    std::array<std::string_view, 5> columns;
    for (std::size_t i = 0, at = 0; i < columns.size(); ++i) {
        const std::size_t tab = std::min(text.find('\t', at), text.size());
        columns[i] = text.substr(at, tab - at);
        at = tab + 1;
    }
    Line line;
    const std::optional<RunEvent> event = EventNamed(columns[1]);
    if (!event || !ReadTime(columns[0], line.time.day, line.time.localMs, line.time.utcMs)) {
        return false;
    }
    line.event = *event;
    line.path = columns[3];
    Apply(line);
    return true;
}

void ScreenTally::Take(std::string_view logName, std::istream& log) {
    // Read in pieces, so that a log of any size needs no more memory than a piece and one line.
    constexpr std::size_t kPiece = 1 << 20;
    // Far longer than any line the run writes (a path and a message): a file without line ends
    // is not a log, and is not held whole either.
    constexpr std::size_t kLongestLine = 1 << 20;
    long long unread = 0;
    std::string pending;    // the start of a line whose end is in the next piece
    bool overlong = false;  // dropping the rest of a line found too long
    std::vector<char> piece(kPiece);
    while (log.read(piece.data(), static_cast<std::streamsize>(piece.size())) || log.gcount() > 0) {
        pending.append(piece.data(), static_cast<std::size_t>(log.gcount()));
        std::string_view lines(pending);
        for (std::size_t end; (end = lines.find('\n')) != std::string_view::npos;
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
    // written right now: either way it is not whole.
    if (!overlong && !pending.empty()) ++unread;
    if (unread > 0) unread_.push_back({screen_, std::string(logName), unread});
}

void ScreenTally::Finish(const DayRange& days, ProofOfPlay& into) {
    CloseWithoutEnd();
    for (auto& [key, figures] : figures_) {
        if (days.Holds(key.first)) into.rows.push_back({screen_, key.first, key.second, figures});
    }
    figures_.clear();
    into.unread.insert(into.unread.end(), unread_.begin(), unread_.end());
    unread_.clear();
}

ProofOfPlay ReadPlayLogFolder(const std::filesystem::path& folder, const DayRange& days) {
    // Each screen's name and files, the rotated one first: it holds the older lines. Windows
    // names are one whatever their letter case, so "HALL.log.1" goes with "hall.log".
    struct Logs {
        std::string screen;
        std::array<std::filesystem::path, 2> files;
    };
    std::map<std::string, Logs> logs;
    ForEachFileIn(folder, [&](const std::filesystem::path& file) {
        const std::string name = Utf8(file.filename());
        for (const auto& [extension, place] : {std::pair{".log.1", 0}, std::pair{".log", 1}}) {
            if (!EndsWithNoCase(name, extension)) continue;
            const std::string screen = name.substr(0, name.size() - std::strlen(extension));
            Logs& screenLogs = logs[LowerAscii(screen)];
            if (screenLogs.screen.empty() || place == 1) screenLogs.screen = screen;
            screenLogs.files[place] = file;
            break;
        }
    });
    ProofOfPlay proof;
    for (const auto& [key, screenLogs] : logs) {
        ScreenTally tally(screenLogs.screen);
        for (const auto& file : screenLogs.files) {
            if (file.empty()) continue;
            std::ifstream stream(file, std::ios::binary);
            tally.Take(Utf8(file.filename()), stream);
        }
        tally.Finish(days, proof);
    }
    return proof;
}

namespace {

// A field as a spreadsheet reads it back: quoted when it holds a separator, and never taken for
// a formula, which a spreadsheet would run on opening (a path named "=HYPERLINK(...)" is text).
void AppendField(std::string& out, std::string_view text) {
    const bool formula =
        !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos;
    const bool quote = formula || text.find_first_of(",\"\r\n") != std::string_view::npos;
    if (!quote) {
        out += text;
        return;
    }
    out += formula ? "\"'" : "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

std::string ProofOfPlayCsv(const ProofOfPlay& proof) {
    std::string out =
        "\xEF\xBB\xBFscreen,date,presentation,plays,seconds on screen,skipped,timed out,failed,"
        "plays without end\r\n";
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
        out += "\r\n";
    }
    for (const UnreadLines& unread : proof.unread) {
        AppendField(out, unread.screen);
        out += ",,";
        AppendField(out, std::to_string(unread.lines) + (unread.lines == 1 ? " line" : " lines") +
                             " of " + unread.logName + " not understood");
        out += ",,,,,,\r\n";
    }
    return out;
}

}  // namespace tidewell
