#include "playback/switch_set.h"

#include <gtest/gtest.h>

#include <string>

namespace tidewell {
namespace {

struct SwitchCase {
    const wchar_t* programPath;
    std::wstring_view expected;
};

TEST(ChooseSwitchSet, FileNamePart_ViewerOnlyForExactNameInAnyCase) {
    const SwitchCase cases[] = {
        {L"C:\\Program Files\\Viewer\\pptview.exe", kViewerSwitchSet},
        {L"C:\\Program Files\\Viewer\\PptView.Exe", kViewerSwitchSet},
        {L"PPTVIEW.EXE", kViewerSwitchSet},
        {L"D:PPTVIEW.EXE", kViewerSwitchSet},
        {L"\\\\server\\share\\pptv\u0131ew.exe", kViewerSwitchSet},
        {L"C:\\Office\\MYPPTVIEW.EXE", kPowerPointSwitchSet},
        {L"C:\\Office\\PPTVIEW.EXE.BAK", kPowerPointSwitchSet},
        {L"C:\\Office\\PPTVIEW.EXE ", kPowerPointSwitchSet},
        {L"C:\\Office\\POWERPNT.EXE", kPowerPointSwitchSet},
        {L"C:\\PPTVIEW.EXE\\other.exe", kPowerPointSwitchSet},
        // Only '\' and ':' separate: a '/' stays part of the file name.
        {L"C:/Office/PPTVIEW.EXE", kPowerPointSwitchSet},
        {L"", kPowerPointSwitchSet},
        {L"C:\\Office\\", kPowerPointSwitchSet},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseSwitchSet(c.programPath), c.expected) << c.programPath;
    }
}

TEST(ChooseSwitchSet, SwitchSets_HaveOneSpaceAtEachEnd) {
    EXPECT_EQ(kViewerSwitchSet, L" /S /F ");
    EXPECT_EQ(kPowerPointSwitchSet, L" /S ");
}

TEST(FileNamePart, Separators_LastBackslashOrColonWins) {
    EXPECT_EQ(FileNamePart(L"C:\\a\\b.exe"), L"b.exe");
    EXPECT_EQ(FileNamePart(L"C:b.exe"), L"b.exe");
    EXPECT_EQ(FileNamePart(L"a\\b:c.exe"), L"c.exe");
    EXPECT_EQ(FileNamePart(L"plain.exe"), L"plain.exe");
    EXPECT_EQ(FileNamePart(L"dir\\"), L"");
}

TEST(BuildCommandLine, Parts_QuotedAroundSwitchesWithNothingEscaped) {
    EXPECT_EQ(BuildCommandLine(L"C:\\V\\PPTVIEW.EXE", kViewerSwitchSet, L"C:\\Shows\\a b.ppt"),
              L"\"C:\\V\\PPTVIEW.EXE\" /S /F \"C:\\Shows\\a b.ppt\"");
    EXPECT_EQ(BuildCommandLine(L"p.exe", kPowerPointSwitchSet, L"say \"hi\".pps"),
              L"\"p.exe\" /S \"say \"hi\".pps\"");
    EXPECT_EQ(BuildCommandLine(L"", kPowerPointSwitchSet, L""), L"\"\" /S \"\"");
}

TEST(BuildCommandLine, NonAsciiAndLongPaths_KeptWholeAndExact) {
    const std::wstring presentation =
        L"C:\\Shows\\\u65e5\u672c\\\u00c5ngstr\u00f6m \U0001F600.pptx";
    const std::wstring line = BuildCommandLine(L"C:\\p.exe", kPowerPointSwitchSet, presentation);
    EXPECT_EQ(line, L"\"C:\\p.exe\" /S \"" + presentation + L"\"");

    const std::wstring longPath = L"C:\\" + std::wstring(2000, L'x') + L".ppt";
    const std::wstring longLine = BuildCommandLine(L"C:\\p.exe", kPowerPointSwitchSet, longPath);
    EXPECT_EQ(longLine.size(), 2 + 8 + 4 + longPath.size() + 2);
    EXPECT_EQ(longLine.substr(longLine.size() - 6), L"x.ppt\"");
}

}  // namespace
}  // namespace tidewell
