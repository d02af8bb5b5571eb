#include "persistence/setting_content.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

using Lines = std::vector<std::wstring>;

TEST(SettingContent, Interpret_FewerThanThreeLines_IsFormatError) {
    EXPECT_FALSE(InterpretSettingLines({}, 2));
    EXPECT_FALSE(InterpretSettingLines({L"2"}, 2));
    EXPECT_FALSE(InterpretSettingLines({L"2", L"C:\\v.exe"}, 2));
    EXPECT_TRUE(InterpretSettingLines({L"2", L"C:\\v.exe", L"C:\\a.ppt"}, 2));
}

TEST(SettingContent, Interpret_TextNoFileNameCanBe_IsFormatError) {
    const std::wstring longest = L"C:\\" + std::wstring(32'764, L'a');  // Windows' limit
    const std::wstring tooLong = longest + L"a";
    for (const wchar_t* text :
         {L"C:\\Windows\\System32\\cmd.exe\" /c calc & \"\\..\\..\\Office\\POWERPNT.EXE",
          L"C:\\x\" /P \"\\..\\..\\Shows\\a.pptx", L"\\\\?\\C:\\Office\\POWERPNT.EXE",
          L"C:\\Office\\x.txt:POWERPNT.EXE", L"C:\\Shows\\*.pptx", L"C:\\a<b>.ppt", L"C:\\a|b.ppt",
          L"C:\\a\x1b.ppt", L"C:\\a\uFF02 /P \uFF02.ppt", L"C:\\a\u02BA.ppt", L"C:\\a\u030E.ppt",
          tooLong.c_str()}) {
        EXPECT_FALSE(InterpretSettingLines({L"1", text, L"C:\\a.ppt"}, 1)) << text;
        EXPECT_FALSE(InterpretSettingLines({L"1", L"C:\\v.exe", L"C:\\a.ppt", text}, 1)) << text;
    }
    // An entry's items are quoted in messages and logs: checked for control characters as paths.
    for (const wchar_t* item : {L"x=\x1b[2J", L"x=a\vb", L"x=\f", L"x=\u0085", L"x=\u2029"}) {
        EXPECT_FALSE(
            InterpretSettingLines({L"1", L"C:\\v.exe", std::wstring(L"C:\\a.ppt\t") + item}, 1));
    }
    // Drive letters, shares, spaces, letters of any script and paths of Windows' longest are file
    // names like any other; so are the curly quotes, which the ANSI code pages hold as they are.
    EXPECT_TRUE(
        InterpretSettingLines({L"1", L"d:\\v.exe", L"\\\\srv\\share\\\u00c5 \u65e5.ppt"}, 1));
    EXPECT_TRUE(InterpretSettingLines({L"1", L"C:\\v.exe", L"C:\\\u201cA\u201d.ppt", longest}, 1));
}

TEST(SettingContent, Interpret_MonitorLine_MatchesTable) {
    const struct {
        const wchar_t* line;
        int monitorCount;
        int monitor;
    } cases[] = {
        {L"3", 2, 1},  {L"abc", 2, 1}, {L"0", 2, 1},           {L"-2", 2, 1},
        {L"2", 2, 2},  {L"1", 1, 1},   {L"$2", 2, 2},          {L"0x3", 3, 3},
        {L"+2", 2, 2}, {L"2x", 2, 1},  {L"99999999999", 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << testing::PrintToString(std::wstring(c.line)));
        const auto content = InterpretSettingLines({c.line, L"P", L"A"}, c.monitorCount);
        ASSERT_TRUE(content);
        EXPECT_EQ(content->monitor, c.monitor);
    }
}

TEST(SettingContent, Interpret_LinesByPositionOnly_SecondLineIsProgram) {
    const auto content = InterpretSettingLines({L"1", L"C:\\a.ppt", L"C:\\b.ppt", L"C:\\b.ppt"}, 1);
    ASSERT_TRUE(content);
    EXPECT_EQ(content->programPath, L"C:\\a.ppt");
    EXPECT_EQ(PathsOf(content->presentations), (Lines{L"C:\\b.ppt", L"C:\\b.ppt"}));
}

TEST(SettingContent, Interpret_EntryWithUnreadableSetting_WholeFileRefusedNamingTheLine) {
    UnreadableEntryLine unreadable;
    EXPECT_FALSE(InterpretSettingLines(
        {L"1", L"P", L"C:\\a.ppt\tdays=Sat", L"C:\\b.ppt\thours=9-10", L"C:\\c.ppt"}, 1,
        &unreadable));
    EXPECT_EQ(unreadable.path, L"C:\\b.ppt");
    EXPECT_EQ(unreadable.item, L"hours=9-10");
}

}  // namespace
}  // namespace tidewell
