// What the check judged is what starts, and the program reads back what the launch meant.
#include "playback/show_launch_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/command_line_quoting.h"
#include "playback/path_check_win32.h"
#include "playback/standin_support.h"
#include "playback/unattended_launch_win32.h"

namespace tidewell::testing {
namespace {

std::vector<std::wstring> SplitAsTheProgramDoes(const std::wstring& line) {
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::wstring> arguments(argv, argv + count);
    ::LocalFree(argv);
    return arguments;
}

std::wstring ImageOf(HANDLE process) {
    std::wstring image(32768, L'\0');
    DWORD size = static_cast<DWORD>(image.size());
    if (!::QueryFullProcessImageNameW(process, 0, image.data(), &size)) return {};
    image.resize(size);
    return image;
}

class CurrentFolder {
  public:
    explicit CurrentFolder(const std::wstring& folder) {
        ::GetCurrentDirectoryW(MAX_PATH, before_);
        ::SetCurrentDirectoryW(folder.c_str());
    }
    ~CurrentFolder() { ::SetCurrentDirectoryW(before_); }

  private:
    wchar_t before_[MAX_PATH] = {};
};

// The program texts of setting files made to start something else: each is refused, or the
// program that starts is exactly the checked full path, which the trust rules judged (the
// user's own program counts by that path; a POWERPNT.EXE in a user's folder never by its name).
TEST(TrustAndLaunch, AttackTexts_RefusedOrStartExactlyTheCheckedFullPath) {
    TempFolder folder;
    StandinSettings standin;
    standin.Set(L"MODE", L"exit");
    const std::wstring powerpnt = folder.File(L"POWERPNT.EXE");
    ASSERT_TRUE(::CopyFileW(StandinPath().c_str(), powerpnt.c_str(), FALSE));
    folder.AddFolder(L"sub");
    const std::optional<CheckedPresentation> show = CheckPresentation(folder.Touch(L"a.pptx"));
    const CurrentFolder here(folder.Path());
    const std::wstring upwards = L"\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..";
    const struct {
        std::wstring text;
        bool refused;
    } cases[] = {
        {L"C:\\windows\\system32\\cmd.exe\" /c echo & \"" + upwards + powerpnt.substr(2), true},
        {L"\\\\?\\" + powerpnt, true},
        {folder.Touch(L"x.txt") + L":POWERPNT.EXE", true},
        {folder.File(L"POWERPN?.EXE"), true},
        {powerpnt + L". .", false},
        {folder.File(L"sub\\..\\POWERPNT.EXE"), false},
        {L"POWERPNT.EXE", false},
        {L" " + powerpnt + L"\t", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<CheckedProgram> program = CheckProgram(c.text);
        ASSERT_EQ(!program, c.refused);
        if (!program) continue;
        EXPECT_FALSE(MayStartProgramUnattended(*program, L""));
        EXPECT_TRUE(MayStartProgramUnattended(*program, powerpnt));
        const UniqueKernelHandle process = LaunchShow(*program, *show);
        ASSERT_TRUE(process);
        EXPECT_EQ(ImageOf(process.get()), program->FullPath());
        EXPECT_EQ(::WaitForSingleObject(process.get(), 10'000), WAIT_OBJECT_0);
    }
}

TEST(TrustAndLaunch, PowerPointByName_BelowTheProgramFoldersAsTheSystemNamesThem) {
    for (const wchar_t* named :
         {L"%ProgramFiles%\\Office\\POWERPNT.EXE", L"%ProgramFiles(x86)%\\V\\pptview.exe"}) {
        wchar_t expanded[MAX_PATH] = {};
        ASSERT_LT(::ExpandEnvironmentStringsW(named, expanded, MAX_PATH), DWORD{MAX_PATH});
        const std::optional<CheckedProgram> program = CheckProgram(expanded);
        ASSERT_TRUE(program) << expanded;
        EXPECT_TRUE(MayStartProgramUnattended(*program, L"")) << expanded;
    }
}

// Whatever the presentation's path holds, the program reads back its switches and that path.
TEST(ShowCommandLine, PresentationPaths_ReadBackAsTheSwitchesAndThePath) {
    const std::optional<CheckedProgram> viewer = CheckProgram(L"C:\\Program Files\\V\\PPTVIEW.EXE");
    ASSERT_TRUE(viewer);
    for (const wchar_t* path :
         {L"C:\\Shows\\", L"C:\\Shows\\a b\\", L"/P", L"-x.pptx", L"\\\\server\\share\\a b.ppt",
          L"C:\\Shows\\\u00c5ngstr\u00f6m \u65e5\u672c \U0001F600.pptx", L"C:\\a b\\\\\\c.ppt"}) {
        SCOPED_TRACE(path);
        const std::optional<CheckedPresentation> presentation = CheckPresentation(path);
        ASSERT_TRUE(presentation);
        EXPECT_NE(presentation->FullPath().front(), L'/');
        EXPECT_EQ(SplitAsTheProgramDoes(BuildShowCommandLine(*viewer, *presentation)),
                  (std::vector<std::wstring>{viewer->FullPath(), L"/S", L"/F",
                                             presentation->FullPath()}));
    }
    EXPECT_FALSE(CheckPresentation(L"C:\\x\" /P \"\\..\\..\\Shows\\a.pptx"));
}

TEST(AppendQuotedArgument, AnyText_ReadBackWhole) {
    std::mt19937 random(21);
    const std::wstring alphabet = L"\\\" \ta\u00e9";
    for (int round = 0; round < 500; ++round) {
        std::wstring argument;
        for (unsigned n = random() % 12; n > 0; --n)
            argument += alphabet[random() % alphabet.size()];
        std::wstring line = L"p.exe ";
        AppendQuotedArgument(line, argument);
        line += L' ';
        AppendQuotedArgument(line, L"next\\");
        EXPECT_EQ(SplitAsTheProgramDoes(line),
                  (std::vector<std::wstring>{L"p.exe", argument, L"next\\"}));
    }
}

}  // namespace
}  // namespace tidewell::testing
