// Whatever escapes everything else ends the process with the guard's own exit code, said where
// it can be seen: the run's play log when it has one, the Error box only when somebody is there.
#include "app/last_guard_win32.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "support/test_presentations.h"

namespace tidewell::testing {
namespace {

TEST(LastGuard, ExceptionNothingCaught_OwnExitCode_LoggedOrShownAsTheStartAllows) {
    TempFolder folder;
    const std::wstring log = folder.File(L"play.log");
    const struct {
        std::vector<std::wstring> arguments;
        bool boxShown, logged;
    } cases[] = {
        {{}, true, false},
        {{L"/play", L"/log", log}, false, true},
        {{L"/overview", folder.Path()}, false, false},
    };
    for (const auto& [arguments, boxShown, logged] : cases) {
        SCOPED_TRACE(arguments.empty() ? L"no arguments" : arguments.front());
        ::DeleteFileW(log.c_str());
        ScriptedDialogs dialogs;
        int code = 0;
        try {
            throw std::runtime_error("lost");
        } catch (...) {
            code = LastGuard(ParseCommandLine(arguments), dialogs);
        }
        EXPECT_EQ(code, kExitUnexpectedError);
        EXPECT_EQ(dialogs.errors.size(), boxShown ? 1u : 0u);
        const std::vector<std::uint8_t> written = ReadBytes(log);
        EXPECT_EQ(
            std::string(written.begin(), written.end()).find("\terror\t") != std::string::npos,
            logged);
    }
}

}  // namespace
}  // namespace tidewell::testing
