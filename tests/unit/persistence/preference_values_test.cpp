#include "persistence/preference_values.h"

#include <gtest/gtest.h>

#include "persistence/monitor_number.h"
#include "persistence/setting_messages.h"

namespace tidewell {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::wstring>;

TEST(PreferenceValues, JoinPlaylist_MatchesTable) {
    const struct {
        const char* name;
        Lines paths;
        std::wstring stored;
    } cases[] = {
        {"empty", {}, L""},
        {"one", {L"C:\\a.ppt"}, L"C:\\a.ppt"},
        {"two_no_break_after_last", {L"A", L"B"}, L"A\r\nB"},
        // Only the ends of the whole text are trimmed, never an inner path.
        {"padded_ends", {L" A", L" B ", L"C "}, L"A\r\n B \r\nC"},
        {"blank_last", {L"A", L"  "}, L"A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(JoinPlaylistForStore(EntriesOf(c.paths)), c.stored);
    }
}

TEST(PreferenceValues, SplitStoredPlaylist_MatchesTable) {
    const struct {
        const char* name;
        std::wstring stored;
        Lines paths;
    } cases[] = {
        {"empty", L"", {}},
        {"blank", L" \r\n ", {}},
        {"two", L"A\r\nB", {L"A", L"B"}},
        {"outer_trimmed_inner_kept", L"\r\n A\r\n B \r\n", {L"A", L" B"}},
        {"lone_lf", L"A\nB", {L"A", L"B"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PathsOf(SplitStoredPlaylist(c.stored)), c.paths);
    }
}

TEST(PreferenceValues, RegistryStringData_IsUnitsPlusOneNul) {
    EXPECT_EQ(RegistryStringData(L""), (Bytes{0, 0}));
    EXPECT_EQ(RegistryStringData(L"A\u00E9"), (Bytes{0x41, 0, 0xE9, 0, 0, 0}));
    EXPECT_EQ(RegistryStringData(L"\U0001F600").size(), 6u);
}

TEST(PreferenceValues, TextFromRegistryData_MatchesTable) {
    const struct {
        const char* name;
        Bytes data;
        std::wstring text;
    } cases[] = {
        {"terminated", {0x41, 0, 0x42, 0, 0, 0}, L"AB"},
        {"unterminated", {0x41, 0, 0x42, 0}, L"AB"},
        {"embedded_nul", {0x41, 0, 0, 0, 0x42, 0, 0, 0}, L"A"},
        {"empty", {}, L""},
        {"single_unit", {0x41, 0}, L"A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextFromRegistryData(c.data), c.text);
    }
}

TEST(PreferenceValues, ParseMonitorNumber_MatchesTable) {
    const struct {
        const wchar_t* text;
        int monitorCount;
        std::optional<int> number;
    } cases[] = {
        {L"2", 2, 2},   {L" 2", 2, 2}, {L"3", 2, {}}, {L"0", 2, {}}, {L"-1", 2, {}},
        {L"abc", 2, 1}, {L"", 2, 1},   {L"2 ", 2, 1}, {L"1", 1, 1},  {L"32768", 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(ParseMonitorNumber(c.text, c.monitorCount), c.number);
    }
    EXPECT_EQ(MonitorNumberText(2), L"2");
    EXPECT_EQ(MonitorNumberText(12), L"12");
}

TEST(PreferenceValues, AbsentMonitorNumber_OnlyNumbersBeyondTheMonitorsThereAre) {
    const struct {
        const wchar_t* text;
        int monitorCount;
        std::optional<int> number;
    } cases[] = {
        {L"2", 1, 2},   {L" 3", 2, 3},   {L"2", 2, {}},        {L"1", 1, {}},     {L"0", 1, {}},
        {L"-2", 1, {}}, {L"abc", 1, {}}, {L"32767", 1, 32767}, {L"32768", 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(AbsentMonitorNumber(c.text, c.monitorCount), c.number);
    }
}

TEST(PersistenceMessages, Texts_AreExact) {
    EXPECT_EQ(InvalidDataTypeMessage(L"files"), L"Invalid data type for 'files'");
    EXPECT_EQ(FailedToGetDataMessage(L"monitorc"), L"Failed to get data for 'monitorc'");
    EXPECT_EQ(FailedToSetDataMessage(L"pptexfile"), L"Failed to set data for 'pptexfile'");
    EXPECT_EQ(FileInUseMessage(L"C:\\s.ppsv"),
              L"C:\\s.ppsv is opened by other application, please close it!");
    EXPECT_EQ(
        CannotCreateFileMessage(L"C:\\no\\s.ppsv", L"The system cannot find the path specified."),
        L"Cannot create file \"C:\\no\\s.ppsv\". The system cannot find the path specified.");
    EXPECT_EQ(CannotOpenFileMessage(L"C:\\s.ppsv", L"Access is denied."),
              L"Cannot open file \"C:\\s.ppsv\". Access is denied.");
}

}  // namespace
}  // namespace tidewell
