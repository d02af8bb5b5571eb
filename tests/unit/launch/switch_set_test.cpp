#include "launch/switch_set.h"

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

}  // namespace
}  // namespace tidewell
