#include "common/command_line.h"

#include <algorithm>
#include <climits>

#include "common/iso_date.h"
#include "common/path_characters.h"

namespace tidewell {
namespace {

enum class Option {
    Play,
    Loop,
    Exit,
    Monitor,
    Timeout,
    Advance,
    ShowFor,
    Log,
    Status,
    Screenshot,
    Alert,
    Overview,
    Report,
    From,
    Until,
    Stop,
    Now,
    Help,
    Unknown
};

struct OptionName {
    std::wstring_view name;
    Option option;
};

constexpr OptionName kOptionNames[] = {
    {L"play", Option::Play},         {L"loop", Option::Loop},
    {L"exit", Option::Exit},         {L"monitor", Option::Monitor},
    {L"timeout", Option::Timeout},   {L"log", Option::Log},
    {L"status", Option::Status},     {L"screenshot", Option::Screenshot},
    {L"overview", Option::Overview}, {L"stop", Option::Stop},
    {L"now", Option::Now},           {L"?", Option::Help},
    {L"advance", Option::Advance},   {L"showfor", Option::ShowFor},
    {L"alert", Option::Alert},       {L"report", Option::Report},
    {L"from", Option::From},         {L"until", Option::Until},
};

// The options of the pages and reports that a scheduled task makes, apart from a start.
bool MakesFiles(Option option) {
    return option == Option::Overview || option == Option::Report || option == Option::From ||
           option == Option::Until;
}

// "2026-12-08" and nothing else, so that a date is never read in one country's order.
std::optional<int> ParseDate(std::wstring_view text) {
    std::string ascii;
    for (const wchar_t c : text) {
        if (c > 0x7F) return std::nullopt;
        ascii += static_cast<char>(c);
    }
    return DayOfIsoDate(ascii);
}

wchar_t LowerAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c;
}

bool IsOption(std::wstring_view argument) {
    return !argument.empty() && (argument[0] == L'/' || argument[0] == L'-');
}

Option OptionOf(std::wstring_view argument) {
    const std::wstring_view name = argument.substr(1);
    for (const auto& known : kOptionNames) {
        if (std::ranges::equal(name, known.name, {}, LowerAscii)) return known.option;
    }
    return Option::Unknown;
}

std::wstring Quoted(std::wstring_view text) {
    return L"\"" + std::wstring(text) + L"\"";
}

// An optional sign and decimal digits, nothing else; values past the int range stay at its ends.
std::optional<int> ParseWholeNumber(std::wstring_view text) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == L'-';
    if (!text.empty() && (text[0] == L'-' || text[0] == L'+')) ++i;
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
        value = std::min<long long>(value * 10 + (text[i] - L'0'), 1LL + INT_MAX);
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::wstring GivenTwice(const std::wstring& argument) {
    return Quoted(argument) + L" may be given only once.";
}

CommandLine Refused(std::wstring error) {
    CommandLine result;
    result.action = CommandLine::Action::Refuse;
    result.error = std::move(error);
    return result;
}

// Options that only mean something beside another one are refused alone, so that a mistyped
// scheduled task shows its mistake instead of quietly doing something else.
std::optional<std::wstring> CombinationError(const CommandLine& line, bool stop,
                                             const std::wstring& firstStartArgument,
                                             bool timeoutGiven) {
    const bool advanceGiven = line.start.advanceSeconds.has_value();
    const bool showForGiven = line.start.showForSeconds.has_value();
    const StartOptions& start = line.start;
    if (stop && !firstStartArgument.empty()) {
        return Quoted(L"/stop") + L" goes with nothing but " + Quoted(L"/now") + L", not with " +
               Quoted(firstStartArgument) + L".";
    }
    if (line.stopNow && !stop) {
        return Quoted(L"/now") + L" works only together with " + Quoted(L"/stop") + L".";
    }
    const std::pair<bool, const wchar_t*> playOnly[] = {
        {start.loop, L"/loop"},
        {start.exitAfterRun, L"/exit"},
        {timeoutGiven, L"/timeout"},
        {start.logFile.has_value(), L"/log"},
        {start.statusFile.has_value(), L"/status"},
        {start.screenshotFile.has_value(), L"/screenshot"},
        {advanceGiven, L"/advance"},
        {showForGiven, L"/showfor"},
        {start.alertFile.has_value(), L"/alert"}};
    for (const auto& [given, name] : playOnly) {
        if (given && !start.play) {
            return Quoted(name) + L" works only together with " + Quoted(L"/play") + L".";
        }
    }
    return std::nullopt;
}

// Where the name given after a file option goes.
std::optional<std::wstring>& NameOf(Option option, CommandLine& line,
                                    std::optional<std::wstring>& overviewFolder) {
    switch (option) {
        case Option::Status:
            return line.start.statusFile;
        case Option::Screenshot:
            return line.start.screenshotFile;
        case Option::Alert:
            return line.start.alertFile;
        case Option::Overview:
            return overviewFolder;
        case Option::Report:
            return line.reportFolder;
        default:
            return line.start.logFile;
    }
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments) {
    CommandLine line;
    bool stop = false;
    bool timeoutGiven = false;
    std::optional<std::wstring> overviewFolder;
    std::wstring firstStartArgument;  // the first one that belongs to a start with a window
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        const Option option = IsOption(argument) ? OptionOf(argument) : Option::Unknown;
        if (option == Option::Help) {
            line = CommandLine{};
            line.action = CommandLine::Action::ShowUsage;
            return line;
        }
        if (option != Option::Stop && option != Option::Now && !MakesFiles(option) &&
            firstStartArgument.empty()) {
            firstStartArgument = argument;
        }
        switch (option) {
            case Option::Play:
                line.start.play = true;
                break;
            case Option::Loop:
                line.start.loop = true;
                break;
            case Option::Exit:
                line.start.exitAfterRun = true;
                break;
            case Option::Stop:
                stop = true;
                break;
            case Option::Now:
                line.stopNow = true;
                break;
            case Option::Monitor: {
                if (i + 1 == arguments.size()) {
                    return Refused(Quoted(argument) + L" needs a monitor number after it.");
                }
                const std::wstring& value = arguments[++i];
                const std::optional<int> number = ParseWholeNumber(value);
                if (!number) return Refused(Quoted(value) + L" is not a monitor number.");
                if (line.start.monitor) return Refused(GivenTwice(argument));
                line.start.monitor = MonitorChoice{*number, value};
                break;
            }
            case Option::Timeout: {
                if (i + 1 == arguments.size()) {
                    return Refused(Quoted(argument) + L" needs a number of seconds after it.");
                }
                const std::wstring& value = arguments[++i];
                const std::optional<int> seconds = ParseWholeNumber(value);
                if (!seconds || value[0] == L'-') {
                    return Refused(Quoted(value) + L" is not a number of seconds (0 or more).");
                }
                if (timeoutGiven) return Refused(GivenTwice(argument));
                timeoutGiven = true;
                line.start.showTimeoutSeconds = std::min(*seconds, kMaxShowTimeoutSeconds);
                break;
            }
            case Option::Advance:
            case Option::ShowFor: {
                std::optional<int>& target = option == Option::Advance ? line.start.advanceSeconds
                                                                       : line.start.showForSeconds;
                if (i + 1 == arguments.size()) {
                    return Refused(Quoted(argument) + L" needs a number of seconds after it.");
                }
                const std::wstring& value = arguments[++i];
                const std::optional<int> seconds = ParseWholeNumber(value);
                if (!seconds || *seconds < 1 || value[0] == L'-') {
                    return Refused(Quoted(value) + L" is not a number of seconds (1 or more).");
                }
                if (target) return Refused(GivenTwice(argument));
                target = std::min(*seconds, kMaxShowTimeoutSeconds);
                break;
            }
            case Option::From:
            case Option::Until: {
                std::optional<int>& target =
                    option == Option::From ? line.reportFrom : line.reportUntil;
                if (i + 1 == arguments.size()) {
                    return Refused(Quoted(argument) + L" needs a date (YYYY-MM-DD) after it.");
                }
                const std::wstring& value = arguments[++i];
                const std::optional<int> day = ParseDate(value);
                if (!day) return Refused(Quoted(value) + L" is not a date (YYYY-MM-DD).");
                if (target) return Refused(GivenTwice(argument));
                target = day;
                break;
            }
            case Option::Log:
            case Option::Status:
            case Option::Screenshot:
            case Option::Alert:
            case Option::Overview:
            case Option::Report: {
                // "/log /play": the name was forgotten, and an option is never taken for one.
                if (i + 1 == arguments.size() || arguments[i + 1].empty() ||
                    (IsOption(arguments[i + 1]) && OptionOf(arguments[i + 1]) != Option::Unknown)) {
                    return Refused(Quoted(argument) + (MakesFiles(option)
                                                           ? L" needs a folder after it."
                                                           : L" needs a file name after it."));
                }
                std::optional<std::wstring>& name = NameOf(option, line, overviewFolder);
                if (name) return Refused(GivenTwice(argument));
                name = arguments[++i];
                // The announcement is a setting file, refused by its name as the list's is.
                if (option == Option::Alert && !IsPossiblePath(*name)) {
                    return Refused(Quoted(*name) + L" cannot be the name of a setting file.");
                }
                break;
            }
            case Option::Help:
                break;
            case Option::Unknown:
                if (IsOption(argument))
                    return Refused(L"Unknown option " + Quoted(argument) + L".");
                if (line.start.settingFile) {
                    return Refused(L"Only one setting file may be given; " + Quoted(argument) +
                                   L" is a second one.");
                }
                if (!IsPossiblePath(argument)) {
                    return Refused(Quoted(argument) + L" cannot be the name of a setting file.");
                }
                line.start.settingFile = argument;
                break;
        }
    }
    // The page and the report are made by scheduled tasks that run nothing else.
    const bool datesGiven = line.reportFrom || line.reportUntil;
    if (overviewFolder) {
        if (!firstStartArgument.empty() || stop || line.stopNow || datesGiven) {
            return Refused(Quoted(L"/overview") + L" goes with nothing but its folder" +
                           (line.reportFolder ? L" and " + Quoted(L"/report") : L"") + L".");
        }
        line.action = CommandLine::Action::Overview;
        line.overviewFolder = *overviewFolder;
        return line;
    }
    if (line.reportFolder) {
        if (!firstStartArgument.empty() || stop || line.stopNow) {
            return Refused(Quoted(L"/report") + L" goes with nothing but its folder, " +
                           Quoted(L"/from") + L" and " + Quoted(L"/until") + L".");
        }
        line.action = CommandLine::Action::Report;
        return line;
    }
    if (datesGiven) {
        return Refused(Quoted(line.reportFrom ? L"/from" : L"/until") +
                       L" works only together with " + Quoted(L"/report") + L".");
    }
    if (auto error = CombinationError(line, stop, firstStartArgument, timeoutGiven))
        return Refused(*error);
    if (stop) line.action = CommandLine::Action::Stop;
    return line;
}

std::optional<std::wstring> MonitorChoiceProblem(const MonitorChoice& choice, int monitorCount) {
    if (choice.number >= 1 && choice.number <= monitorCount) return std::nullopt;
    const std::wstring found =
        monitorCount == 1 ? L"1 monitor" : std::to_wstring(monitorCount) + L" monitors";
    return L"There is no monitor " + choice.asTyped + L": Tidewell found " + found +
           L". The show keeps the monitor chosen before.";
}

std::wstring RefusalText(const CommandLine& commandLine) {
    return commandLine.error + L"\n\n" + std::wstring(kUsageText);
}

}  // namespace tidewell
