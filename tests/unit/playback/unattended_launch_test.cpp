#include "playback/unattended_launch.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

ProgramToStart Local(const wchar_t* path) {
    return {path, path, true};
}

TEST(MayStartUnattended, PresentationProgramsByFileName_OnlyAsAbsolutePathsOnALocalDrive) {
    for (const wchar_t* program :
         {L"C:\\Program Files\\Microsoft Office\\root\\Office16\\POWERPNT.EXE",
          L"D:\\Viewer\\pptview.exe", L"C:\\Office\\PowerPnt.Exe"}) {
        EXPECT_TRUE(MayStartUnattended(Local(program), L"")) << program;
    }
    for (const wchar_t* program :
         {L"POWERPNT.EXE", L" C:\\Office\\POWERPNT.EXE", L"Office\\POWERPNT.EXE",
          L"\\Office\\POWERPNT.EXE", L"E:PPTVIEW.EXE", L"\\\\server\\share\\PowerPnt.Exe",
          L"//server/share/POWERPNT.EXE", L"C:\\Office\\x.txt:POWERPNT.EXE",
          L"\\\\?\\C:\\Office\\POWERPNT.EXE"}) {
        EXPECT_FALSE(MayStartUnattended(Local(program), L"")) << program;
    }
    // A drive letter mapped to a share is a network path too.
    EXPECT_FALSE(
        MayStartUnattended({L"N:\\Office\\POWERPNT.EXE", L"N:\\Office\\POWERPNT.EXE", false}, L""));
}

TEST(MayStartUnattended, OtherPrograms_OnlyWhenTheUserChoseThem) {
    const wchar_t* chosen = L"C:\\Tools\\ShowRunner.exe";
    for (const wchar_t* program :
         {L"C:\\Tools\\ShowRunner.exe", L"C:\\TOOLS\\SHOWRUNNER.EXE", L"c:/tools/showrunner.exe",
          L"  C:\\Tools\\ShowRunner.exe\t", L"C:\\Tools\\\\ShowRunner.exe"}) {
        EXPECT_TRUE(MayStartUnattended(Local(program), chosen)) << program;
    }
    for (const wchar_t* program :
         {L"C:\\Downloads\\setup.exe", L"C:\\Tools\\ShowRunner.exe.bak",
          L"C:\\Tools\\POWERPNT.EXE.exe", L"C:\\Tools\\MYPPTVIEW.EXE", L"C:\\Tools\\POWERPNT.EXE ",
          L"C:/Office/POWERPNT.EXE/x.exe", L"D:\\Tools\\ShowRunner.exe"}) {
        EXPECT_FALSE(MayStartUnattended(Local(program), chosen)) << program;
    }
    // No program chosen and none named: nothing to start.
    EXPECT_FALSE(MayStartUnattended(Local(L""), L""));
    EXPECT_FALSE(MayStartUnattended(Local(L"  "), L""));
}

TEST(SameProgramPath, SharesKeepTheirLeadingSeparatorsButNotTheirCase) {
    EXPECT_TRUE(SameProgramPath(L"\\\\Server\\Share\\a.exe", L"//server/share//A.EXE"));
    EXPECT_FALSE(SameProgramPath(L"\\\\server\\share\\a.exe", L"\\server\\share\\a.exe"));
    EXPECT_FALSE(SameProgramPath(L"C:\\a.exe", L"C:\\a.exe\\b"));
}

TEST(UncheckedProgramMessage, NamesTheProgramAndHowToStartIt) {
    const std::wstring text = UncheckedProgramMessage(L"C:\\Downloads\\setup.exe");
    EXPECT_NE(text.find(L"\"C:\\Downloads\\setup.exe\""), std::wstring::npos);
    EXPECT_NE(text.find(L"\"Play All\""), std::wstring::npos);
}

}  // namespace
}  // namespace tidewell
