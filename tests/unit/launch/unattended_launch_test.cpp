#include "launch/unattended_launch.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

const InstalledPlaces kPlaces{{L"C:\\Program Files", L"C:\\Program Files (x86)\\"},
                              {L"D:\\Office\\POWERPNT.EXE"}};

TEST(MayStartUnattended, PresentationProgramsByFileName_OnlyWhereAdministratorsInstall) {
    for (const wchar_t* program :
         {L"C:\\Program Files\\Microsoft Office\\root\\Office16\\POWERPNT.EXE",
          L"c:\\program files (x86)\\Viewer\\pptview.exe", L"C:\\Program Files\\PowerPnt.Exe",
          L"D:\\Office\\PowerPnt.Exe"}) {
        EXPECT_TRUE(MayStartUnattended(program, kPlaces, L"")) << program;
        EXPECT_FALSE(MayStartUnattended(program, {}, L"")) << program;
    }
    for (const wchar_t* program :
         {L"C:\\Program Files Extra\\POWERPNT.EXE", L"C:\\Program FilesPOWERPNT.EXE",
          L"C:\\Users\\Public\\POWERPNT.EXE", L"C:\\Users\\me\\Downloads\\pptview.exe",
          L"E:\\POWERPNT.EXE", L"D:\\Office\\PPTVIEW.EXE", L"D:\\POWERPNT.EXE",
          L"C:\\Program Files\\Tools\\setup.exe", L"\\\\server\\share\\POWERPNT.EXE"}) {
        EXPECT_FALSE(MayStartUnattended(program, kPlaces, L"")) << program;
    }
}

TEST(MayStartUnattended, OtherPrograms_OnlyWhenTheUserChoseThem) {
    const wchar_t* chosen = L"C:\\Tools\\ShowRunner.exe";
    for (const wchar_t* program : {L"C:\\Tools\\ShowRunner.exe", L"C:\\TOOLS\\SHOWRUNNER.EXE",
                                   L"c:/tools/showrunner.exe", L"C:\\Tools\\\\ShowRunner.exe"}) {
        EXPECT_TRUE(MayStartUnattended(program, kPlaces, chosen)) << program;
    }
    for (const wchar_t* program : {L"C:\\Downloads\\setup.exe", L"C:\\Tools\\ShowRunner.exe.bak",
                                   L"C:\\Tools\\POWERPNT.EXE.exe", L"C:\\Tools\\MYPPTVIEW.EXE",
                                   L"C:\\Tools\\POWERPNT.EXE", L"D:\\Tools\\ShowRunner.exe"}) {
        EXPECT_FALSE(MayStartUnattended(program, kPlaces, chosen)) << program;
    }
    // No program chosen and none named: nothing to start.
    EXPECT_FALSE(MayStartUnattended(L"", kPlaces, L""));
}

// A registration that is expanded with Tidewell's own environment would let whoever starts it say
// where PowerPoint is: only the system's variables count.
TEST(ExpandSystemVariables, SystemVariablesOnly_AnyOtherRefused) {
    const SystemVariables system{{L"ProgramFiles", L"C:\\Program Files"},
                                 {L"SystemRoot", L"C:\\W"}};
    const struct {
        const wchar_t* registered;
        std::optional<std::wstring> expanded;
    } cases[] = {
        {L"%ProgramFiles%\\Office\\POWERPNT.EXE", L"C:\\Program Files\\Office\\POWERPNT.EXE"},
        {L"%PROGRAMFILES%\\a%systemroot%", L"C:\\Program Files\\aC:\\W"},
        {L"D:\\Office\\POWERPNT.EXE", L"D:\\Office\\POWERPNT.EXE"},
        {L"%TEMP%\\POWERPNT.EXE", std::nullopt},
        {L"%ProgramFiles%%OFFICE%\\POWERPNT.EXE", std::nullopt},
        {L"C:\\100%\\POWERPNT.EXE", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExpandSystemVariables(c.registered, system), c.expanded) << c.registered;
    }
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
