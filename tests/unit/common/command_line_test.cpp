#include "common/command_line.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

using Action = CommandLine::Action;

CommandLine Parse(std::vector<std::wstring> arguments) {
    return ParseCommandLine(arguments);
}

TEST(ParseCommandLine, NoArguments_PlainStart) {
    const CommandLine line = Parse({});
    EXPECT_EQ(line.action, Action::Start);
    EXPECT_FALSE(line.start.play || line.start.loop || line.start.exitAfterRun);
    EXPECT_FALSE(line.start.settingFile);
    EXPECT_FALSE(line.start.monitor);
}

TEST(ParseCommandLine, StartOptions_AnyOrderCaseAndPrefix) {
    const std::vector<std::vector<std::wstring>> spellings = {
        {L"/play", L"/loop", L"/exit", L"/monitor", L"2", L"C:\\Shows\\Lobby.ppsv"},
        {L"C:\\Shows\\Lobby.ppsv", L"-MONITOR", L"2", L"-Exit", L"/LOOP", L"-pLaY"},
        {L"/exit", L"C:\\Shows\\Lobby.ppsv", L"/Loop", L"/monitor", L"2", L"-play"},
    };
    for (const auto& arguments : spellings) {
        const CommandLine line = ParseCommandLine(arguments);
        ASSERT_EQ(line.action, Action::Start) << line.error;
        EXPECT_TRUE(line.start.play && line.start.loop && line.start.exitAfterRun);
        EXPECT_EQ(line.start.settingFile, L"C:\\Shows\\Lobby.ppsv");
        ASSERT_TRUE(line.start.monitor);
        EXPECT_EQ(line.start.monitor->number, 2);
    }
}

TEST(ParseCommandLine, FileAlone_LoadsWithoutPlaying) {
    const CommandLine line = Parse({L"C:\\My Shows\\\u65e5\u672c.ppsv"});
    EXPECT_EQ(line.action, Action::Start);
    EXPECT_EQ(line.start.settingFile, L"C:\\My Shows\\\u65e5\u672c.ppsv");
    EXPECT_FALSE(line.start.play);
}

TEST(ParseCommandLine, MonitorValue_KeptAsTypedForTheRangeCheck) {
    struct Case {
        const wchar_t* typed;
        int number;
    };
    // The range is the running program's to check: zero, negatives and huge numbers pass here
    // and are refused there, naming the number as typed.
    for (const Case c :
         {Case{L"1", 1}, Case{L"007", 7}, Case{L"0", 0}, Case{L"-1", -1}, Case{L"+3", 3},
          Case{L"99999999999999999999", INT_MAX}, Case{L"-99999999999", INT_MIN}}) {
        const CommandLine line = Parse({L"/monitor", c.typed});
        ASSERT_EQ(line.action, Action::Start) << c.typed;
        EXPECT_EQ(line.start.monitor->number, c.number) << c.typed;
        EXPECT_EQ(line.start.monitor->asTyped, c.typed);
    }
}

TEST(ParseCommandLine, TimeoutAndLog_ValuesTakenAsGiven) {
    struct Case {
        std::vector<std::wstring> arguments;
        int seconds;
        std::optional<std::wstring> log;
    };
    const Case cases[] = {
        {{L"/play"}, 120, std::nullopt},
        {{L"/play", L"/timeout", L"0"}, 0, std::nullopt},
        {{L"/Timeout", L"45", L"-play"}, 45, std::nullopt},
        {{L"/play", L"/timeout", L"99999999999"}, kMaxShowTimeoutSeconds, std::nullopt},
        {{L"/play", L"/log", L"\\\\server\\logs\\%COMPUTERNAME%.log"},
         120,
         L"\\\\server\\logs\\%COMPUTERNAME%.log"},
        {{L"/play", L"-LOG", L"-dash.log", L"/timeout", L"+7"}, 7, L"-dash.log"},
    };
    const CommandLine seen = ParseCommandLine(
        {L"/play", L"/STATUS", L"%COMPUTERNAME%.json", L"-screenshot", L"%COMPUTERNAME%.png"});
    EXPECT_EQ(seen.start.statusFile, L"%COMPUTERNAME%.json");
    EXPECT_EQ(seen.start.screenshotFile, L"%COMPUTERNAME%.png");
    const CommandLine overview = ParseCommandLine({L"-Overview", L"\\\\server\\screens"});
    EXPECT_EQ(overview.action, Action::Overview);
    EXPECT_EQ(overview.overviewFolder, L"\\\\server\\screens");
    const CommandLine report =
        Parse({L"/Report", L"logs", L"-from", L"2026-12-01", L"/until", L"2026-12-31"});
    EXPECT_EQ(report.action, Action::Report);
    EXPECT_EQ(report.reportFolder, L"logs");
    EXPECT_EQ(*report.reportUntil - *report.reportFrom, 30);
    EXPECT_EQ(Parse({L"/overview", L"s", L"/report", L"logs"}).reportFolder, L"logs");
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        ASSERT_EQ(line.action, Action::Start) << line.error;
        EXPECT_EQ(line.start.showTimeoutSeconds, c.seconds);
        EXPECT_EQ(line.start.logFile, c.log);
        EXPECT_FALSE(line.start.settingFile) << "the option's value is not a setting file";
    }
    const CommandLine paced = Parse({L"/play", L"/advance", L"8", L"-ShowFor", L"60"});
    EXPECT_EQ(paced.start.advanceSeconds, 8);
    EXPECT_EQ(paced.start.showForSeconds, 60);
    EXPECT_FALSE(Parse({L"/play"}).start.advanceSeconds);
}

TEST(ParseCommandLine, Stop_AloneOrWithNow) {
    const CommandLine stop = Parse({L"/stop"});
    EXPECT_EQ(stop.action, Action::Stop);
    EXPECT_FALSE(stop.stopNow);
    const CommandLine now = Parse({L"-NOW", L"/Stop"});
    EXPECT_EQ(now.action, Action::Stop);
    EXPECT_TRUE(now.stopNow);
}

TEST(ParseCommandLine, QuestionMark_ShowsUsageWhateverElseIsThere) {
    for (const auto& arguments : std::vector<std::vector<std::wstring>>{
             {L"/?"}, {L"-?"}, {L"/play", L"/?"}, {L"/?", L"/bogus"}, {L"/stop", L"/?"}}) {
        EXPECT_EQ(ParseCommandLine(arguments).action, Action::ShowUsage);
    }
}

// Every refusal names the argument at fault, so the user can see which one to fix.
TEST(ParseCommandLine, Mistakes_RefusedNamingWhatWasWrong) {
    struct Case {
        std::vector<std::wstring> arguments;
        std::wstring expected;
    };
    const Case cases[] = {
        {{L"/play", L"/shuffle"}, L"Unknown option \"/shuffle\"."},
        {{L"-"}, L"Unknown option \"-\"."},
        {{L"/playall"}, L"Unknown option \"/playall\"."},
        {{L"/play", L"/monitor"}, L"\"/monitor\" needs a monitor number after it."},
        {{L"/MONITOR", L"two"}, L"\"two\" is not a monitor number."},
        {{L"/monitor", L"2.0"}, L"\"2.0\" is not a monitor number."},
        {{L"/monitor", L""}, L"\"\" is not a monitor number."},
        {{L"/monitor", L"1", L"-monitor", L"2"}, L"\"-monitor\" may be given only once."},
        {{L"a.ppsv", L"/play", L"b.ppsv"},
         L"Only one setting file may be given; \"b.ppsv\" is a second one."},
        {{L"/play", L"a|b.ppsv"}, L"\"a|b.ppsv\" cannot be the name of a setting file."},
        {{L"/loop", L"a.ppsv"}, L"\"/loop\" works only together with \"/play\"."},
        {{L"/exit"}, L"\"/exit\" works only together with \"/play\"."},
        {{L"/now"}, L"\"/now\" works only together with \"/stop\"."},
        {{L"/play", L"/timeout"}, L"\"/timeout\" needs a number of seconds after it."},
        {{L"/play", L"/timeout", L"-5"}, L"\"-5\" is not a number of seconds (0 or more)."},
        {{L"/play", L"-TIMEOUT", L"2m"}, L"\"2m\" is not a number of seconds (0 or more)."},
        {{L"/play", L"/timeout", L"1", L"/timeout", L"2"}, L"\"/timeout\" may be given only once."},
        {{L"/play", L"/advance", L"0"}, L"\"0\" is not a number of seconds (1 or more)."},
        {{L"/play", L"/showfor"}, L"\"/showfor\" needs a number of seconds after it."},
        {{L"/showfor", L"60"}, L"\"/showfor\" works only together with \"/play\"."},
        {{L"/play", L"/advance", L"8", L"-ADVANCE", L"9"}, L"\"-ADVANCE\" may be given only once."},
        {{L"/timeout", L"30", L"a.ppsv"}, L"\"/timeout\" works only together with \"/play\"."},
        {{L"/play", L"/log"}, L"\"/log\" needs a file name after it."},
        {{L"/log", L"", L"/play"}, L"\"/log\" needs a file name after it."},
        {{L"/log", L"/play", L"a.ppsv"}, L"\"/log\" needs a file name after it."},
        {{L"/play", L"/log", L"a.log", L"-Log", L"b.log"}, L"\"-Log\" may be given only once."},
        {{L"/log", L"a.log"}, L"\"/log\" works only together with \"/play\"."},
        {{L"/stop", L"/log", L"a.log"},
         L"\"/stop\" goes with nothing but \"/now\", not with \"/log\"."},
        {{L"/stop", L"/play"}, L"\"/stop\" goes with nothing but \"/now\", not with \"/play\"."},
        {{L"a.ppsv", L"/stop"}, L"\"/stop\" goes with nothing but \"/now\", not with \"a.ppsv\"."},
        {{L"/status", L"s.json"}, L"\"/status\" works only together with \"/play\"."},
        {{L"/play", L"-Screenshot"}, L"\"-Screenshot\" needs a file name after it."},
        {{L"/alert", L"alert.ppsv"}, L"\"/alert\" works only together with \"/play\"."},
        {{L"/play", L"/alert", L"a*.ppsv"}, L"\"a*.ppsv\" cannot be the name of a setting file."},
        {{L"/overview", L"/play"}, L"\"/overview\" needs a folder after it."},
        {{L"/overview", L"x", L"/play"}, L"\"/overview\" goes with nothing but its folder."},
        {{L"/overview", L"x", L"/report", L"y", L"/from", L"2026-12-01"},
         L"\"/overview\" goes with nothing but its folder and \"/report\"."},
        {{L"/report", L"x", L"/loop"},
         L"\"/report\" goes with nothing but its folder, \"/from\" and \"/until\"."},
        {{L"/report", L"x", L"/until", L"2026-02-30"},
         L"\"2026-02-30\" is not a date (YYYY-MM-DD)."},
        {{L"/report", L"x", L"/from", L"08/12/2026"},
         L"\"08/12/2026\" is not a date (YYYY-MM-DD)."},
        {{L"/until", L"2026-12-08"}, L"\"/until\" works only together with \"/report\"."},
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.action, Action::Refuse) << c.expected;
        EXPECT_EQ(line.error, c.expected);
    }
}

TEST(MonitorChoiceProblem, OnlyNumbersOfTheMonitorsFoundPass_OthersNamedAsTyped) {
    EXPECT_FALSE(MonitorChoiceProblem({1, L"1"}, 1));
    EXPECT_FALSE(MonitorChoiceProblem({2, L"02"}, 2));
    EXPECT_EQ(MonitorChoiceProblem({3, L"3"}, 2),
              L"There is no monitor 3: Tidewell found 2 monitors. The show keeps the monitor "
              L"chosen before.");
    EXPECT_EQ(MonitorChoiceProblem({0, L"0"}, 1),
              L"There is no monitor 0: Tidewell found 1 monitor. The show keeps the monitor "
              L"chosen before.");
    const auto huge = MonitorChoiceProblem({INT_MAX, L"99999999999"}, 3);
    ASSERT_TRUE(huge);
    EXPECT_NE(huge->find(L"monitor 99999999999:"), std::wstring::npos);
}

TEST(RefusalText, Mistake_ThenTheUsage) {
    const std::wstring text = RefusalText(Parse({L"/x"}));
    EXPECT_EQ(text, L"Unknown option \"/x\".\n\n" + std::wstring(kUsageText));
    EXPECT_NE(text.find(L"tidewell.exe /stop [/now]"), std::wstring::npos);
}

}  // namespace
}  // namespace tidewell
