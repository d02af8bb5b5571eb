#include "reporting/overview_page.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <system_error>

#include "common/ascii_case.h"
#include "common/plain_text.h"
#include "reporting/file_name_text.h"
#include "reporting/run_status.h"

namespace tidewell {
namespace {

using Json = nlohmann::json;

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

std::string Escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
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

std::string Text(const Json& document, const char* key) {
    const auto found = document.find(key);
    return found != document.end() && found->is_string() ? PlainUtf8(found->get<std::string>())
                                                         : "";
}

std::string Number(const Json& document, const char* key) {
    const auto found = document.find(key);
    return found != document.end() && found->is_number_unsigned() ? found->dump() : "";
}

// "2026-12-08T08:00:03.125+01:00" as the screen's own clock said it: "2026-12-08 08:00:03".
std::string ReadableTime(const std::string& isoTime) {
    if (isoTime.size() < 19) return isoTime;
    return isoTime.substr(0, 10) + " " + isoTime.substr(11, 8);
}

std::string Age(long long seconds) {
    if (seconds < 120) return std::to_string(seconds) + " s";
    const long long minutes = seconds / 60;
    if (minutes < 120) return std::to_string(minutes) + " min";
    const long long hours = minutes / 60;
    if (hours < 48) return std::to_string(hours) + " h " + std::to_string(minutes % 60) + " min";
    return std::to_string(hours / 24) + " days";
}

std::string FileNameOnly(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Line(const std::string& cssClass, const std::string& html) {
    return "<p class=\"" + cssClass + "\">" + html + "</p>\n";
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

// The card's lines below its name, from a status document; empty when it is not one.
std::string StatusLines(const Json& document, const ScreenFiles& screen, long long nowUtcSeconds,
                        CardSummary& summary, bool& stale) {
    const std::string state = Text(document, "state");
    const auto updated = UtcSecondsOf(Text(document, "updated"));
    if (state.empty() || !updated) return {};
    std::string html;
    html.reserve(4096);  // at once: see Card
    html += Line("state " + Escaped(state), Escaped(state));
    const std::string detail = Text(document, "detail");
    if (!detail.empty()) html += Line("detail", Escaped(detail));
    const std::string presentation = Text(document, "presentation");
    if (!presentation.empty()) {
        const std::string position = Number(document, "position");
        const std::string count = Number(document, "count");
        const std::string where = position.empty() || count.empty()
                                      ? std::string()
                                      : Escaped(position + " of " + count) + ": ";
        html += Line("show", where + "<b title=\"" + Escaped(presentation) + "\">" +
                                 Escaped(FileNameOnly(presentation)) + "</b>");
    }
    if (Text(document, "source") == "copy") {
        html +=
            Line("copy", "plays its copy of " + Escaped(ReadableTime(Text(document, "copyTime"))) +
                             ": the original cannot be had");
    }
    const std::string since = Text(document, "since");
    if (!since.empty()) html += Line("since", "since " + Escaped(ReadableTime(since)));
    const std::string next = Text(document, "nextShow");
    if (!next.empty()) html += Line("next", "next show " + Escaped(ReadableTime(next)));
    const std::string error = Text(document, "lastError");
    if (!error.empty()) {
        html +=
            Line("error", "last error " + Escaped(ReadableTime(Text(document, "lastErrorTime"))) +
                              ": " + Escaped(error));
    }
    // The age by the file server's clock, which a screen whose clock runs fast cannot move; a
    // file written after the page's own clock is as new as can be.
    const long long written = screen.writtenUtcSeconds.value_or(*updated);
    const long long age = std::max(0LL, nowUtcSeconds - written);
    stale = age > kStaleAfterSeconds;
    if (stale) html += Line("age", "no news for " + Escaped(Age(age)));
    const std::string clock = ClockOff(*updated, written);
    if (!clock.empty()) html += Line("error", Escaped(clock));
    std::string about = Text(document, "computer");
    std::string monitor = Number(document, "monitor");
    const std::string monitorName = Text(document, "monitorName");
    if (!monitor.empty() && !monitorName.empty()) monitor += " (" + monitorName + ")";
    for (const auto& [label, value] :
         {std::pair{"", Text(document, "user")}, std::pair{"monitor ", monitor},
          std::pair{"Tidewell ", Text(document, "version")}}) {
        if (!value.empty()) about += (about.empty() ? "" : " \u00b7 ") + std::string(label) + value;
    }
    about += (about.empty() ? "" : " \u00b7 ") + std::string("updated ") +
             ReadableTime(Text(document, "updated"));
    // What needs someone, the worst first.
    const bool known = KnownState(state);
    summary.tally = stale ? kStaleTally : known ? state : "in a state not known";
    summary.needsSomeone = true;
    if (stale) {
        summary.problem =
            "no news for " + Age(age);  // by the file server's clock, not the screen's
    } else if (state == "stopped" || !known) {
        summary.problem = known ? state : "state \"" + state + "\"";
        summary.since = ReadableTime(since);
    } else if (!error.empty()) {
        summary.problem = "last error: " + error;
        summary.since = ReadableTime(Text(document, "lastErrorTime"));
    } else if (!clock.empty()) {
        summary.problem = clock;
        summary.since = ReadableTime(Text(document, "updated"));
    } else {
        summary.needsSomeone = false;
    }
    return html + Line("about", Escaped(about));
}

std::string Card(const ScreenFiles& screen, const std::string& id, long long nowUtcSeconds,
                 const std::optional<ReportOnPage>& report, CardSummary& summary) {
    std::string lines;
    bool stale = false;
    bool unreadable = false;
    bool announcing = false;
    if (!screen.status) {
        lines = Line("state", "no status file");
        summary = {"without status file", true, "no status file", ""};
    } else {
        const Json document = Json::parse(*screen.status, nullptr, false);
        if (document.is_object()) {
            lines = StatusLines(document, screen, nowUtcSeconds, summary, stale);
            announcing = Text(document, "state") == "alert";
        }
        unreadable = lines.empty();
        if (unreadable) {
            lines = Line("state unreadable", "status file unreadable");
            summary = {"unreadable", true, "status file unreadable", ""};
        }
    }
    if (report && report->unreadLogs.contains(LowerAscii(screen.name))) {
        lines += Line("error", "play log unreadable");
        if (!summary.needsSomeone) summary = {summary.tally, true, "play log unreadable", ""};
    }
    if (report && report->today) {
        const auto found = report->today->find(LowerAscii(screen.name));
        const ReportOnPage::Today today =
            found == report->today->end() ? ReportOnPage::Today{} : found->second;
        lines += Line("today", "today: " + std::to_string(today.plays) +
                                   (today.plays == 1 ? " play, " : " plays, ") +
                                   Age(today.seconds) + " on screen");
    }
    // Pictures load as they scroll into view, so that a page of a thousand screens comes at once.
    const std::string picture =
        screen.picture.empty()
            ? "<div class=\"nopicture\">no picture</div>\n"
            : "<a href=\"" + Escaped(RelativeAddress(screen.picture)) + "\"><img src=\"" +
                  Escaped(RelativeAddress(screen.picture)) + "\" loading=\"lazy\" alt=\"What " +
                  Escaped(screen.name) + " shows\"></a>\n";
    const std::string cssClass = std::string("card") + (stale ? " stale" : "") +
                                 (unreadable ? " unreadable" : "") +
                                 (announcing ? " announcing" : "");
    // Made at its full size at once, as the status lines are: a card grown piece by piece leaves
    // a trail of blocks of every size behind it, and Wine's heap looks through them all on every
    // later allocation (the page of 10,000 screens took a third longer so).
    std::string card;
    card.reserve(4096);
    card += "<article class=\"";
    card += cssClass;
    card += "\" id=\"";
    card += id;
    card += "\">\n";
    card += picture;
    card += "<h2>";
    card += Escaped(screen.name);
    card += "</h2>\n";
    card += lines;
    card += "</article>\n";
    return card;
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

}  // namespace

ScreensOfFolder ReadScreenFolder(const std::filesystem::path& folder, const ReportFiles& files) {
    // Windows names are one whatever their letter case: "LOBBY-3.json" and "lobby-3.png" are one
    // screen's, as its play log "Lobby-3.log" is.
    std::map<std::string, ScreenFiles> byName;
    ScreensOfFolder out;
    out.listedWhole = files.list(folder, [&](const FoundFile& file) {
        const std::string extension = LowerAscii(Utf8(file.path.extension()));
        if (extension != ".json" && extension != ".png") return;
        const std::string name = Utf8(file.path.stem());
        ScreenFiles& screen = byName[LowerAscii(name)];
        if (screen.name.empty() || extension == ".json") screen.name = name;
        if (extension == ".json") {
            screen.status = ReadSmallFile(files, file.path);
            screen.writtenUtcSeconds = file.writtenUtcSeconds;
        } else {
            screen.picture = Utf8(file.path.filename());
        }
    });
    out.screens.reserve(byName.size());
    for (auto& [name, screen] : byName) out.screens.push_back(std::move(screen));
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
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const std::string card = Card(screens[i], CardId(i), nowUtcSeconds, report, summaries[i]);
        (summaries[i].needsSomeone ? needSomeone : others) += card;
        // Let go of at once: the next cards are made in its room rather than past ten thousand
        // status texts still kept, which halves the time Wine's heap takes for them.
        screens[i].status.reset();
    }
    std::string page = kPageStart;
    page += "<h1>Tidewell screens</h1>\n<p class=\"counts\">" + Escaped(CountsLine(summaries)) +
            "</p>\n<p class=\"built\">page of " + Escaped(ReadableTime(builtAt)) +
            (report && !report->address.empty() ? " \u00b7 <a href=\"" + Escaped(report->address) +
                                                      "\">proof of play (report.csv)</a>"
                                                : "") +
            "</p>\n";
    if (!folder.listedWhole) {
        page += Line("error",
                     "The folder of the status files could not be read whole: screens may "
                     "be missing.");
    }
    if (report && !report->logsListedWhole) {
        page += Line("error",
                     "The folder of the play logs could not be read whole: figures may "
                     "be missing.");
    }
    // One short line for each screen that needs someone, so that a fleet's troubles fit on one
    // screen above the cards.
    std::string attention;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (!summaries[i].needsSomeone) continue;
        attention += "<li><a href=\"#" + CardId(i) + "\">" + Escaped(screens[i].name) + "</a> " +
                     Escaped(summaries[i].problem) +
                     (summaries[i].since.empty() ? ""
                                                 : " <span class=\"since\">since " +
                                                       Escaped(summaries[i].since) + "</span>") +
                     "</li>\n";
    }
    if (!attention.empty()) page += "<ul class=\"attention\">\n" + attention + "</ul>\n";
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
