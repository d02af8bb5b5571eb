// What the check judged is what starts, and the program reads back what the launch meant.
#include "launch/show_launch_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "launch/path_check_win32.h"
#include "support/standin_support.h"
#include "launch/unattended_launch_win32.h"

namespace tidewell::testing {
namespace {

std::vector<std::wstring> SplitAsTheProgramDoes(const std::wstring& line) {
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::wstring> arguments(argv, argv + count);
    ::LocalFree(argv);
    return arguments;
}

// The program texts of setting files made to start something else: each is refused, or the
// program that starts is exactly the checked full path that the trust rules judged (the user's
// own program counts by it; a POWERPNT.EXE in a user's folder never counts by its name), and its
// switches follow that full path, not the text.
TEST(TrustAndLaunch, AttackTexts_RefusedOrStartExactlyTheCheckedFullPath) {
    TempFolder folder;
    StandinSettings standin;
    // Still there while the test looks at what started (Wine forgets an ended process's image),
    // and ended by the test then.
    standin.Set(L"MODE", L"exit").Set(L"DELAY_MS", L"30000");
    const std::wstring powerpnt = folder.File(L"POWERPNT.EXE");
    const std::wstring viewer = folder.File(L"PPTVIEW.EXE");
    for (const std::wstring& copy : {powerpnt, viewer}) {
        ASSERT_TRUE(::CopyFileW(StandinPath().c_str(), copy.c_str(), FALSE));
    }
    std::wstring viewerSlashed = viewer;
    std::ranges::replace(viewerSlashed, L'\\', L'/');
    const std::optional<CheckedPresentation> show = CheckPresentation(folder.Touch(L"a.pptx"));
    const std::wstring upwards = L"\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..";
    const struct {
        std::wstring text;
        std::wstring starts;  // empty: refused
    } cases[] = {
        {L"C:\\windows\\system32\\cmd.exe\" /c echo & \"" + upwards + powerpnt.substr(2), L""},
        {L"\\\\?\\" + powerpnt, L""},
        {folder.Touch(L"x.txt") + L":POWERPNT.EXE", L""},
        {folder.File(L"POWERPN?.EXE"), L""},
        {folder.File(L"\uFF02 /c calc \uFF02.exe"), L""},
        {folder.Touch(L"run.bat"), L""},
        {folder.Touch(L"run.cmd"), L""},
        {folder.Touch(L"POWERPNT.EXE.com"), L""},
        {powerpnt + L". .", powerpnt},
        {folder.File(L"sub\\..\\POWERPNT.EXE"), powerpnt},
        {L"POWERPNT.EXE", powerpnt},  // relative, to the current folder
        {L" " + powerpnt + L"\t", powerpnt},
        {viewerSlashed, viewer},
        {viewer + L".", viewer},
        {folder.File(L"x\\..\\pptview.exe"), viewer},
    };
    wchar_t before[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, before);
    ::SetCurrentDirectoryW(folder.Path().c_str());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<CheckedProgram> program = CheckProgram(c.text);
        ASSERT_EQ(!program, c.starts.empty());
        if (!program) continue;
        EXPECT_EQ(program->FullPath(), c.starts);
        EXPECT_FALSE(MayStartProgramUnattended(*program, L""));
        EXPECT_TRUE(MayStartProgramUnattended(*program, c.starts));
        const std::size_t switches = c.starts == viewer ? 2 : 1;
        EXPECT_EQ(SplitAsTheProgramDoes(BuildShowCommandLine(*program, *show)).size(),
                  2 + switches);
        const UniqueKernelHandle process = LaunchShow(*program, *show);
        std::wstring image(MAX_PATH, L'\0');
        DWORD size = MAX_PATH;
        ASSERT_TRUE(::QueryFullProcessImageNameW(process.get(), 0, image.data(), &size));
        EXPECT_EQ(image.substr(0, size), program->FullPath());
        ::TerminateProcess(process.get(), 0);
        EXPECT_EQ(::WaitForSingleObject(process.get(), 10'000), WAIT_OBJECT_0);
    }
    ::SetCurrentDirectoryW(before);
    // PowerPoint counts by its name below the program folders, as the system names them.
    for (const wchar_t* named :
         {L"%ProgramFiles%\\O\\POWERPNT.EXE", L"%ProgramFiles(x86)%\\V\\PPTVIEW.EXE"}) {
        wchar_t expanded[MAX_PATH] = {};
        ::ExpandEnvironmentStringsW(named, expanded, MAX_PATH);
        EXPECT_TRUE(MayStartProgramUnattended(*CheckProgram(expanded), L"")) << expanded;
    }
}

// Whatever the presentation's path holds, the program reads back its switches and that path; a
// path with a quote never reaches the command line.
TEST(ShowCommandLine, PresentationPaths_ReadBackAsTheSwitchesAndThePath) {
    const std::optional<CheckedProgram> viewer = CheckProgram(L"C:\\Program Files\\V\\PPTVIEW.EXE");
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

}  // namespace
}  // namespace tidewell::testing
