// The Help menu's three shell commands: the exact address each hands to the shell, whether it goes
// as 8-bit or wide text, and the window that owns the request.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/resource.h"
#include "support/form_fixture.h"

namespace tidewell::testing {
namespace {

class HelpCommands : public FormFixture {
  protected:
    void SetUp() override {
        FormFixture::SetUp();
        CreateForm();
    }
};

struct CommandCase {
    int id;
    const char* name;
    bool wide;
    const wchar_t* address;
};

TEST_F(HelpCommands, EachMenuCommand_OpensItsExactAddressOwnedByTheMainWindow) {
    const CommandCase cases[] = {
        {IDM_Help2, "Help2", false, L"http://www.hollowfin.com/ppt/tidewell/tidewell.htm?a=help"},
        {IDM_Hollowfinswebsite1, "Hollowfinswebsite1", false, L"http://www.hollowfin.com"},
        {IDM_Emailsupport1, "Emailsupport1", true,
         L"mailto:support@hollowfin.com?subject=Tidewell"},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        shell_.requests.clear();
        Click(c.id);
        ASSERT_EQ(shell_.requests.size(), 1u) << "one shell call per command";
        EXPECT_EQ(shell_.requests[0].address, c.address);
        EXPECT_EQ(shell_.requests[0].wide, c.wide);
        EXPECT_EQ(shell_.requests[0].owner, form_->Handle());
        EXPECT_TRUE(dialogs_.messages.empty() && dialogs_.errors.empty()) << "nothing is shown";
    }
}

TEST_F(HelpCommands, StatusBar_ShowsTheAddressThatTheWebSiteCommandOpens) {
    wchar_t text[256] = {};
    ::SendMessageW(Control(IDC_TntStatusBar1), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    Click(IDM_Hollowfinswebsite1);
    ASSERT_EQ(shell_.requests.size(), 1u);
    EXPECT_EQ(std::wstring(text), shell_.requests[0].address);
}

// The real shell, with no browser or mail program behind the address: the command must come back
// without a message, an error or a change to the window.
TEST_F(HelpCommands, RealShellWithNothingToOpenTheAddress_CommandReturnsQuietly) {
    SystemShell shell;
    const std::wstring captionBefore = [&] {
        wchar_t caption[64] = {};
        ::GetWindowTextW(form_->Handle(), caption, 64);
        return std::wstring(caption);
    }();
    shell.OpenW(form_->Handle(), L"mailto:support@hollowfin.com?subject=Tidewell");
    PumpMessages();
    wchar_t caption[64] = {};
    ::GetWindowTextW(form_->Handle(), caption, 64);
    EXPECT_EQ(std::wstring(caption), captionBefore);
    EXPECT_TRUE(::IsWindowEnabled(form_->Handle()));
    EXPECT_TRUE(dialogs_.errors.empty());
}

}  // namespace
}  // namespace tidewell::testing
