#include "playback/unattended_launch.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

TEST(MayStartUnattended, PresentationProgramsByFileName_InAnyLetterCase) {
    for (const wchar_t* program :
         {L"C:\\Program Files\\Microsoft Office\\root\\Office16\\POWERPNT.EXE",
          L"D:\\Viewer\\pptview.exe", L"\\\\server\\share\\PowerPnt.Exe", L"E:PPTVIEW.EXE"}) {
        EXPECT_TRUE(MayStartUnattended(program, L"")) << program;
    }
}

TEST(MayStartUnattended, OtherPrograms_OnlyWhenTheUserChoseThem) {
    const wchar_t* chosen = L"C:\\Tools\\ShowRunner.exe";
    EXPECT_TRUE(MayStartUnattended(chosen, chosen));
    for (const wchar_t* program :
         {L"C:\\Downloads\\setup.exe", L"C:\\Tools\\ShowRunner.exe.bak",
          L"C:\\Tools\\POWERPNT.EXE.exe", L"C:\\Tools\\MYPPTVIEW.EXE", L"C:\\Tools\\POWERPNT.EXE ",
          L"C:/Office/POWERPNT.EXE/x.exe", L"C:\\TOOLS\\SHOWRUNNER.EXE"}) {
        EXPECT_FALSE(MayStartUnattended(program, chosen)) << program;
    }
    // No program chosen and none named: nothing to start.
    EXPECT_FALSE(MayStartUnattended(L"", L""));
}

TEST(UncheckedProgramMessage, NamesTheProgramAndHowToStartIt) {
    const std::wstring text = UncheckedProgramMessage(L"C:\\Downloads\\setup.exe");
    EXPECT_NE(text.find(L"\"C:\\Downloads\\setup.exe\""), std::wstring::npos);
    EXPECT_NE(text.find(L"\"Play All\""), std::wstring::npos);
}

}  // namespace
}  // namespace tidewell
