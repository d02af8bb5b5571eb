#include "reporting/overview_page.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <system_error>
#include <thread>
#include <utility>

#include "common/ascii_case.h"
#include "common/plain_text.h"
#include "reporting/file_name_text.h"
#include "reporting/run_status.h"
#include "reporting/status_fields.h"

namespace tidewell {
namespace {

// A status file is a few hundred bytes; anything far larger is not one.
constexpr std::uintmax_t kLargestStatusFile = 1024 * 1024;

std::string Utf8(const std::filesystem::path& path) {
    return FileNameText(path);
}

std::string ReadSmallFile(const ReportFiles& files, const std::filesystem::path& path) {
    const std::unique_ptr<ReadableFile> file = files.open(path);
    if (!file) return {};
    return ReadWhole(*file, kLargestStatusFile).value_or(std::string());
}

// The page is written piece after piece into one text, never through texts made and joined on
// the way: the page of ten thousand screens made a million small texts so, and their allocations
// under Wine cost it more than its reading.
void AppendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
}

// A piece of a line: HTML as it stands, text to escape, or a time to show.
struct Escape {
    std::string_view text;
};
// "2026-12-08T08:00:03.125+01:00" as the screen's own clock said it: "2026-12-08 08:00:03".
struct ShownTime {
    std::string_view iso;
};

void Put(std::string& out, std::string_view html) {
    out += html;
}
void Put(std::string& out, Escape text) {
    AppendEscaped(out, text.text);
}
void Put(std::string& out, ShownTime time) {
    if (time.iso.size() < 19) return AppendEscaped(out, time.iso);
    AppendEscaped(out, time.iso.substr(0, 10));
    out += ' ';
    AppendEscaped(out, time.iso.substr(11, 8));
}

template <typename... Pieces>
void Append(std::string& out, const Pieces&... pieces) {
    (Put(out, pieces), ...);
}

template <typename... Pieces>
void AppendLine(std::string& out, std::string_view cssClass, const Pieces&... pieces) {
    Append(out, "<p class=\"", cssClass, "\">", pieces..., "</p>\n");
}

std::string ReadableTime(std::string_view isoTime) {
    std::string out;
    Put(out, ShownTime{isoTime});
    return out;
}

// A file name as a relative address: every byte but the plainest ones percent-encoded, so that
// "#", "?", ":" and spaces in a screen's name stay part of the name.
// `alsoPlain` names further bytes kept as they are ("/:" in a path of folders).
std::string RelativeAddress(std::string_view fileName, std::string_view alsoPlain = {}) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : fileName) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.' || c == '~' ||
            alsoPlain.find(static_cast<char>(c)) != std::string_view::npos) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string Age(long long seconds) {
    if (seconds < 120) return std::to_string(seconds) + " s";
    const long long minutes = seconds / 60;
    if (minutes < 120) return std::to_string(minutes) + " min";
    const long long hours = minutes / 60;
    if (hours < 48) return std::to_string(hours) + " h " + std::to_string(minutes % 60) + " min";
    return std::to_string(hours / 24) + " days";
}

std::string_view FileNameOnly(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// What the counts line, the list of screens that need someone and the order of the cards take
// from one card.
struct CardSummary {
    std::string tally;  // "playing", ..., or kStaleTally, "unreadable", "without status file"
    bool needsSomeone = false;
    std::string problem;  // what is wrong, for the list: "stopped", "no news for 6 min", ...
    std::string since;    // since when, as the page shows times; empty: not known
};

constexpr const char* kStaleTally = "not heard of for 3 minutes";
static_assert(kStaleAfterSeconds == 3 * 60, "kStaleTally names the time");

bool KnownState(std::string_view state) {
    for (const std::string_view known :
         {"playing", "closing", "resting", "waiting", "stopped", "alert"}) {
        if (state == known) return true;
    }
    return false;
}

// "clock 3 h 0 min ahead": how far the screen's clock is from the file server's, when it is far.
std::string ClockOff(long long updated, long long written) {
    const long long ahead = updated - written;
    if (ahead >= -kClockOffAfterSeconds && ahead <= kClockOffAfterSeconds) return {};
    return "clock " + Age(ahead < 0 ? -ahead : ahead) + (ahead < 0 ? " behind" : " ahead");
}

// Appends the card's lines below its name, from a status file's fields; false, with nothing
// appended, when they are not a status.
bool AppendStatusLines(std::string& html, const StatusFields& status, const ScreenFiles& screen,
                       long long nowUtcSeconds, CardSummary& summary, bool& stale) {
    const std::string& state = status.state;
    const auto updated = UtcSecondsOf(status.updated);
    if (state.empty() || !updated) return false;
    Append(html, "<p class=\"state ", Escape{state}, "\">", Escape{state}, "</p>\n");
    if (!status.detail.empty()) AppendLine(html, "detail", Escape{status.detail});
    if (!status.presentation.empty()) {
        html += "<p class=\"show\">";
        if (!status.position.empty() && !status.count.empty()) {
            Append(html, Escape{status.position}, " of ", Escape{status.count}, ": ");
        }
        Append(html, "<b title=\"", Escape{status.presentation}, "\">",
               Escape{FileNameOnly(status.presentation)}, "</b></p>\n");
    }
    if (status.source == "copy") {
        AppendLine(html, "copy", "plays its copy of ", ShownTime{status.copyTime},
                   ": the original cannot be had");
    }
    if (!status.since.empty()) AppendLine(html, "since", "since ", ShownTime{status.since});
    if (!status.nextShow.empty()) {
        AppendLine(html, "next", "next show ", ShownTime{status.nextShow});
    }
    if (!status.lastError.empty()) {
        AppendLine(html, "error", "last error ", ShownTime{status.lastErrorTime}, ": ",
                   Escape{status.lastError});
    }
    // The age by the file server's clock, which a screen whose clock runs fast cannot move; a
    // file written after the page's own clock is as new as can be.
    const long long written = screen.writtenUtcSeconds.value_or(*updated);
    const long long age = std::max(0LL, nowUtcSeconds - written);
    stale = age > kStaleAfterSeconds;
    if (stale) AppendLine(html, "age", "no news for ", Escape{Age(age)});
    const std::string clock = ClockOff(*updated, written);
    if (!clock.empty()) AppendLine(html, "error", Escape{clock});
    html += "<p class=\"about\">";
    const char* separator = "";
    const auto part = [&](std::string_view label, std::string_view value) {
        html += separator;
        html += label;
        AppendEscaped(html, value);
        separator = " \u00b7 ";
    };
    if (!status.computer.empty()) part("", status.computer);
    if (!status.user.empty()) part("", status.user);
    if (!status.monitor.empty()) {
        part("monitor ", status.monitor);
        if (!status.monitorName.empty()) {
            html += " (";
            AppendEscaped(html, status.monitorName);
            html += ')';
        }
    }
    if (!status.version.empty()) part("Tidewell ", status.version);
    html += separator;
    html += "updated ";
    Put(html, ShownTime{status.updated});
    html += "</p>\n";
    // What needs someone, the worst first.
    const bool known = KnownState(state);
    summary.tally = stale ? kStaleTally : known ? state : "in a state not known";
    summary.needsSomeone = true;
    if (stale) {
        summary.problem =
            "no news for " + Age(age);  // by the file server's clock, not the screen's
    } else if (state == "stopped" || !known) {
        summary.problem = known ? state : "state \"" + state + "\"";
        summary.since = ReadableTime(status.since);
    } else if (!status.lastError.empty()) {
        summary.problem = "last error: " + status.lastError;
        summary.since = ReadableTime(status.lastErrorTime);
    } else if (!clock.empty()) {
        summary.problem = clock;
        summary.since = ReadableTime(status.updated);
    } else {
        summary.needsSomeone = false;
    }
    return true;
}

// Makes one screen's card. Its lines are made first, as they decide the card's class; both texts
// are kept from card to card, so that their room is made once for the whole page.
class CardMaker {
  public:
    // The card, valid until the next one is made.
    std::string_view Make(const ScreenFiles& screen, std::string_view id, long long nowUtcSeconds,
                          const std::optional<ReportOnPage>& report, CardSummary& summary);

  private:
    std::string lines_, card_;
};

std::string_view CardMaker::Make(const ScreenFiles& screen, std::string_view id,
                                 long long nowUtcSeconds, const std::optional<ReportOnPage>& report,
                                 CardSummary& summary) {
    lines_.clear();
    bool stale = false;
    bool unreadable = false;
    bool announcing = false;
    if (!screen.hasStatusFile) {
        AppendLine(lines_, "state", "no status file");
        summary = {"without status file", true, "no status file", ""};
    } else {
        unreadable = !screen.status || !AppendStatusLines(lines_, *screen.status, screen,
                                                          nowUtcSeconds, summary, stale);
        announcing = !unreadable && screen.status->state == "alert";
        if (unreadable) {
            AppendLine(lines_, "state unreadable", "status file unreadable");
            summary = {"unreadable", true, "status file unreadable", ""};
        }
    }
    if (report && report->unreadLogs.contains(LowerAscii(screen.name))) {
        AppendLine(lines_, "error", "play log unreadable");
        if (!summary.needsSomeone) summary = {summary.tally, true, "play log unreadable", ""};
    }
    if (report && report->today) {
        const auto found = report->today->find(LowerAscii(screen.name));
        const ReportOnPage::Today today =
            found == report->today->end() ? ReportOnPage::Today{} : found->second;
        AppendLine(lines_, "today", "today: ", std::to_string(today.plays),
                   today.plays == 1 ? " play, " : " plays, ", Age(today.seconds), " on screen");
    }
    card_.clear();
    Append(card_, "<article class=\"card", stale ? " stale" : "", unreadable ? " unreadable" : "",
           announcing ? " announcing" : "", "\" id=\"", id, "\">\n");
    // Pictures load as they scroll into view, so that a page of a thousand screens comes at once.
    if (screen.picture.empty()) {
        card_ += "<div class=\"nopicture\">no picture</div>\n";
    } else {
        const std::string address = RelativeAddress(screen.picture);
        Append(card_, "<a href=\"", Escape{address}, "\"><img src=\"", Escape{address},
               "\" loading=\"lazy\" alt=\"What ", Escape{screen.name}, " shows\"></a>\n");
    }
    Append(card_, "<h2>", Escape{screen.name}, "</h2>\n", lines_, "</article>\n");
    return card_;
}

// The card's anchor, which the list of screens that need someone links to.
std::string CardId(std::size_t index) {
    std::string id = std::to_string(index);
    id.insert(id.begin(), 's');
    return id;
}

// "1,000".
std::string WithThousands(std::size_t number) {
    const std::string digits = std::to_string(number);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// "1,000 screens: 982 playing, 11 waiting, 7 not heard of for 3 minutes": the run's states in
// their usual order, then what needs someone.
std::string CountsLine(const std::vector<CardSummary>& summaries) {
    static constexpr std::string_view kOrder[] = {"playing",
                                                  "alert",
                                                  "closing",
                                                  "resting",
                                                  "waiting",
                                                  "stopped",
                                                  "in a state not known",
                                                  kStaleTally,
                                                  "unreadable",
                                                  "without status file"};
    std::map<std::string, std::size_t> counts;
    for (const CardSummary& summary : summaries) ++counts[summary.tally];
    std::string line =
        WithThousands(summaries.size()) + (summaries.size() == 1 ? " screen" : " screens");
    const auto rank = [](const std::string& tally) {
        return std::ranges::find(kOrder, tally) - std::begin(kOrder);
    };
    std::vector<std::pair<std::string, std::size_t>> ordered(counts.begin(), counts.end());
    std::ranges::stable_sort(ordered, {}, [&](const auto& count) { return rank(count.first); });
    const char* separator = ": ";
    for (const auto& [tally, count] : ordered) {
        line += separator + WithThousands(count) + " " + tally;
        separator = ", ";
    }
    return line;
}

constexpr const char* kPageStart = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta http-equiv="refresh" content="60">
<title>Tidewell screens</title>
<style>
body { font-family: system-ui, "Segoe UI", sans-serif; margin: 0; padding: 12px; background: #f2f2f2; color: #222; }
h1 { font-size: 1.3em; margin: 0 0 4px; }
.built { margin: 0 0 12px; color: #666; }
.cards { display: grid; grid-template-columns: repeat(auto-fill, minmax(260px, 1fr)); gap: 12px; }
.card { background: #fff; border: 3px solid #ccc; border-radius: 8px; padding: 10px; overflow-wrap: anywhere; }
.card img { width: 100%; height: auto; display: block; background: #000; }
.nopicture { aspect-ratio: 4 / 3; background: #ddd; color: #666; display: flex; align-items: center; justify-content: center; }
.card h2 { font-size: 1.1em; margin: 8px 0 4px; }
.card p { margin: 2px 0; }
.state { font-weight: bold; text-transform: uppercase; }
.playing { color: #1a7f37; }
.alert { color: #b35900; }
.announcing { border-color: #ff8c00; }
.error, .unreadable { color: #b00020; }
.stale { border-color: #d00000; }
.age { color: #d00000; font-weight: bold; }
.about { color: #666; font-size: 0.85em; margin-top: 6px; }
.counts { font-weight: bold; margin: 0 0 4px; }
.today { color: #1a4f7f; }
.attention { background: #fff; border: 3px solid #d00000; border-radius: 8px; margin: 0 0 12px; padding: 6px 10px 6px 28px; columns: 20em; }
.attention li { overflow-wrap: anywhere; }
.since { color: #666; }
</style>
</head>
<body>
)";

// Calls `read` for 0 to count - 1, several at a time: every opening of a file on a file server
// waits for its answer (under Wine, for the wineserver's), and ten thousand of them one after
// the other made most of the page's time.
void ReadTogether(std::size_t count, const std::function<void(std::size_t)>& read) {
    // Under Wine on two cores, 2 readers made the page of 10,000 screens fastest on both machines
    // it was measured on: 0.91 s where one took 1.04 s, 4 took 0.93 and 8 took 0.95 s; and 1.57
    // to 1.60 s on a machine with dearer system calls, where one took 1.59 and 4 took 1.65 s. A
    // file server far away gains more from answers in flight.
    constexpr std::size_t kReaders = 2;
    constexpr std::size_t kFilesPerReader = 64;  // fewer files are read as fast by one
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) read(i);
    };
    std::vector<std::thread> readers;
    for (std::size_t n = 1; n < kReaders && n * kFilesPerReader < count; ++n) {
        try {
            readers.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // fewer readers read the same files
        }
    }
    work();
    for (std::thread& reader : readers) reader.join();
}

}  // namespace

ScreensOfFolder ReadScreenFolder(const std::filesystem::path& folder, const ReportFiles& files) {
    // Windows names are one whatever their letter case: "LOBBY-3.json" and "lobby-3.png" are one
    // screen's, as its play log "Lobby-3.log" is.
    struct Found {
        ScreenFiles screen;
        std::filesystem::path status;  // empty: no status file
    };
    std::map<std::string, Found> byName;
    ScreensOfFolder out;
    out.listedWhole = files.list(folder, [&](const FoundFile& file) {
        const std::string extension = LowerAscii(Utf8(file.path.extension()));
        if (extension != ".json" && extension != ".png") return;
        const std::string name = Utf8(file.path.stem());
        Found& found = byName[LowerAscii(name)];
        if (found.screen.name.empty() || extension == ".json") found.screen.name = name;
        if (extension == ".json") {
            found.status = file.path;
            found.screen.hasStatusFile = true;
            found.screen.writtenUtcSeconds = file.writtenUtcSeconds;
        } else {
            found.screen.picture = Utf8(file.path.filename());
        }
    });
    std::vector<Found*> withStatus;
    for (auto& [name, found] : byName) {
        if (!found.status.empty()) withStatus.push_back(&found);
    }
    ReadTogether(withStatus.size(), [&](std::size_t i) {
        // Read into its fields at once, on the reader's thread, while the others wait for files.
        // Nothing may be thrown there: a status that cannot be had counts as unreadable.
        Found& found = *withStatus[i];
        try {
            found.screen.status = ReadStatusFields(ReadSmallFile(files, found.status));
        } catch (...) {
            found.screen.status.reset();
        }
    });
    out.screens.reserve(byName.size());
    for (auto& [name, found] : byName) out.screens.push_back(std::move(found.screen));
    return out;
}

std::string OverviewPage(ScreensOfFolder folder, long long nowUtcSeconds,
                         const std::string& builtAt, const std::optional<ReportOnPage>& report) {
    std::vector<ScreenFiles>& screens = folder.screens;
    std::ranges::sort(screens, {}, &ScreenFiles::name);
    std::vector<CardSummary> summaries(screens.size());
    // The cards of each group go straight into one text, made big enough at once: a text grown
    // step by step, or ten thousand cards kept apart, leave the heap full of holes, which Wine's
    // heap looks through one by one on every later allocation.
    std::string needSomeone, others;
    others.reserve(screens.size() * 1024);
    CardMaker cards;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const std::string_view card =
            cards.Make(screens[i], CardId(i), nowUtcSeconds, report, summaries[i]);
        (summaries[i].needsSomeone ? needSomeone : others) += card;
        // Let go of at once: the next cards are made in its room rather than past ten thousand
        // statuses still kept, which halves the time Wine's heap takes for them.
        screens[i].status.reset();
    }
    std::string page = kPageStart;
    page += "<h1>Tidewell screens</h1>\n";
    AppendLine(page, "counts", Escape{CountsLine(summaries)});
    page += "<p class=\"built\">page of ";
    Put(page, ShownTime{builtAt});
    if (report && !report->address.empty()) {
        Append(page, " \u00b7 <a href=\"", Escape{report->address},
               "\">proof of play (report.csv)</a>");
    }
    page += "</p>\n";
    if (!folder.listedWhole) {
        AppendLine(page, "error",
                   "The folder of the status files could not be read whole: screens may be "
                   "missing.");
    }
    if (report && !report->logsListedWhole) {
        AppendLine(page, "error",
                   "The folder of the play logs could not be read whole: figures may be missing.");
    }
    // One short line for each screen that needs someone, so that a fleet's troubles fit on one
    // screen above the cards.
    bool listed = false;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (!summaries[i].needsSomeone) continue;
        if (!std::exchange(listed, true)) page += "<ul class=\"attention\">\n";
        Append(page, "<li><a href=\"#", CardId(i), "\">", Escape{screens[i].name}, "</a> ",
               Escape{summaries[i].problem});
        if (!summaries[i].since.empty()) {
            Append(page, " <span class=\"since\">since ", Escape{summaries[i].since}, "</span>");
        }
        page += "</li>\n";
    }
    if (listed) page += "</ul>\n";
    page.reserve(page.size() + needSomeone.size() + others.size() + 64);
    page += "<main class=\"cards\">\n";
    page += needSomeone;
    page += others;
    return page + "</main>\n</body>\n</html>\n";
}

ReportOnPage FiguresOfToday(const ProofOfPlay& proof, std::string address, int today) {
    ReportOnPage report{std::move(address), std::map<std::string, ReportOnPage::Today>{}};
    for (const UnreadFile& unread : proof.unreadFiles) {
        if (unread.screen.empty()) {
            report.logsListedWhole = false;
        } else {
            report.unreadLogs.insert(LowerAscii(unread.screen));
        }
    }
    for (const ProofRow& row : proof.rows) {
        if (row.day != today) continue;
        ReportOnPage::Today& figures = (*report.today)[LowerAscii(row.screen)];
        figures.plays += row.figures.plays;
        figures.seconds += (row.figures.milliseconds + 500) / 1000;
    }
    return report;
}

std::string AddressFromPage(const std::filesystem::path& pageFolder,
                            const std::filesystem::path& target) {
    if (target.parent_path().lexically_normal() == pageFolder.lexically_normal()) {
        return RelativeAddress(Utf8(target.filename()));
    }
    // "\\server\share\x" becomes "file://server/share/x", "C:\x" "file:///C:/x".
    const std::u8string generic = target.generic_u8string();
    const std::string path = RelativeAddress(std::string(generic.begin(), generic.end()), "/:");
    return (path.starts_with("//")  ? "file:"
            : path.starts_with("/") ? "file://"
                                    : "file:///") +
           path;
}

}  // namespace tidewell
