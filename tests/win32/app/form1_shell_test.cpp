// The application shell's behaviour: the Monitor selector's range, the close paths, and the one
// place that shows errors escaping a command.
#include <windows.h>
#include <commctrl.h>

#include "common/message_pump_win32.h"
#include "app/resource.h"
#include "common/app_error.h"
#include "playlist/playlist_view_win32.h"
#include "support/form_fixture.h"
#include "support/user_input.h"

namespace tidewell::testing {
namespace {

void PressKey(HWND window, UINT key) {
    ::SendMessageW(window, WM_KEYDOWN, key, 1);
    ::SendMessageW(window, WM_KEYUP, key, 0xC0000001);
}

std::wstring ReadValue(const std::wstring& key, const wchar_t* name) {
    wchar_t data[1024] = {};
    DWORD size = sizeof(data);
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return data;
}

bool QuitPosted() {
    MSG message;
    return ::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

class Form1Shell : public FormFixture {};

TEST_F(Form1Shell, ThreeMonitors_ArrowKeysStepBetweenOneAndThreeWithoutWrapping) {
    CreateForm(MonitorsOfSize({{0, 0, 800, 600}, {800, 0, 1600, 600}, {1600, 0, 2400, 600}}));
    EXPECT_EQ(MonitorNumber(), 1);
    PressKey(Control(IDC_TntEdit2), VK_DOWN);
    EXPECT_EQ(MonitorNumber(), 1) << "no wrap below 1";
    PressKey(Control(IDC_TntEdit2), VK_UP);
    PressKey(Control(IDC_TntEdit2), VK_UP);
    EXPECT_EQ(MonitorNumber(), 3);
    EXPECT_EQ(::GetWindowTextLengthW(Control(IDC_TntEdit2)), 1);
    PressKey(Control(IDC_TntEdit2), VK_UP);
    EXPECT_EQ(MonitorNumber(), 3) << "no wrap above the count";
    wchar_t text[8] = {};
    ::GetWindowTextW(Control(IDC_TntEdit2), text, 8);
    EXPECT_STREQ(text, L"3");
}

TEST_F(Form1Shell, OneMonitor_RangeIsOneToOne) {
    CreateForm(MonitorsOfSize({{0, 0, 1024, 768}}));
    int low = 0, high = 0;
    ::SendMessageW(Control(IDC_TntUpDown1), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                   reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 1);
    PressKey(Control(IDC_TntEdit2), VK_UP);
    EXPECT_EQ(MonitorNumber(), 1);
}

struct ClosePath {
    const char* name;
    void (*close)(TForm1&);
};

class Form1ClosePaths : public FormFixture, public ::testing::WithParamInterface<ClosePath> {};

TEST_P(Form1ClosePaths, Close_StoresPreferencesAndEndsTheProgram) {
    CreateForm();
    SetMonitorNumber(2);
    GetParam().close(*form_);
    EXPECT_TRUE(form_->IsClosed());
    EXPECT_EQ(form_->Handle(), nullptr) << "the window is destroyed";
    EXPECT_TRUE(QuitPosted()) << "the message loop is told to end";
    EXPECT_EQ(ReadValue(keyPath_, L"monitorc"), L"2");
    EXPECT_EQ(ReadValue(keyPath_, L"files"), L"");
    EXPECT_TRUE(dialogs_.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryPath, Form1ClosePaths,
    ::testing::Values(
        ClosePath{"CloseBox",
                  [](TForm1& f) { ::SendMessageW(f.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        ClosePath{
            "Exit",
            [](TForm1& f) { ::SendMessageW(f.Handle(), WM_COMMAND, MAKEWPARAM(IDM_Exit1, 0), 0); }},
        ClosePath{"CloseButton",
                  [](TForm1& f) { ::SendMessageW(f.Control(IDC_BitBtn3), BM_CLICK, 0, 0); }},
        ClosePath{"Taskbar", [](TForm1& f) { ::SendMessageW(f.Handle(), WM_CLOSE, 0, 0); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Form1Shell, ErrorEscapingACommand_IsShownOnceWithItsFinalDotAndTheProgramGoesOn) {
    CreateForm();
    shell_.failure = L"Stream write error";
    Click(IDM_Help2);
    shell_.failure = L"Cannot open file \"x\". Access denied.";
    Click(IDM_Hollowfinswebsite1);
    ASSERT_EQ(dialogs_.errors.size(), 2u);
    EXPECT_EQ(dialogs_.errors[0], L"Stream write error.");
    EXPECT_EQ(dialogs_.errors[1], L"Cannot open file \"x\". Access denied.");
    EXPECT_TRUE(::IsWindow(form_->Handle()));
    shell_.failure.clear();
    Click(IDM_Help2);
    EXPECT_EQ(shell_.requests.size(), 3u) << "the commands still work afterwards";
    EXPECT_EQ(dialogs_.errors.size(), 2u);
}

TEST_F(Form1Shell, ReadOnlyFieldsAndTips_RefuseTyping) {
    CreateForm();
    const std::wstring before = [&] {
        wchar_t t[256] = {};
        ::GetWindowTextW(Control(IDC_TntEdit1), t, 256);
        return std::wstring(t);
    }();
    ::SetFocus(Control(IDC_TntEdit1));
    ::SendMessageW(Control(IDC_TntEdit1), WM_CHAR, L'x', 1);
    wchar_t after[256] = {};
    ::GetWindowTextW(Control(IDC_TntEdit1), after, 256);
    EXPECT_EQ(before, after);
    // The tips memo sits in a disabled panel: it cannot take the focus.
    EXPECT_FALSE(::IsWindowEnabled(Control(IDC_TntPanel1)));
    ::SetFocus(Control(IDC_TntMemo1));
    EXPECT_NE(::GetFocus(), Control(IDC_TntMemo1));
}

TEST_F(Form1Shell, ToolbarImagesCannotBeDrawn_StartGoesOnWithEveryControlAndSaysWhy) {
    drawToolbarImages_ = [](int) -> UniqueImageList {
        throw AppError(L"Could not draw the program's pictures (CreateDIBSection)");
    };
    CreateForm();
    EXPECT_EQ(dialogs_.errors, std::vector<std::wstring>{
                                   L"Could not draw the program's pictures (CreateDIBSection)"});
    for (const int id :
         {IDC_TntToolBar1, IDC_TntStatusBar1, IDC_ListView1, IDC_TntEdit1, IDC_TntEdit2,
          IDC_TntUpDown1, IDC_TntLabel1, IDC_TntLabel2, IDC_TntSpeedButton1, IDC_BitBtn1,
          IDC_BitBtn2, IDC_BitBtn3, IDC_TntPanel1, IDC_TntMemo1}) {
        EXPECT_NE(Control(id), nullptr) << "control " << id << " is missing";
    }
    const HWND toolbar = Control(IDC_TntToolBar1);
    EXPECT_EQ(::SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 8);
    EXPECT_EQ(::SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0), 0);
    EXPECT_TRUE(IsCommandEnabled(IDC_ToolButton1));

    // The window works: commands reach their subsystems, and the close stores the preferences.
    form_->Playlist().AppendAll({L"C:\\a.ppt", L"C:\\b.ppt"});
    form_->Playlist().SetSelectedIndex(1);
    Click(IDC_ToolButton5);  // "Move up"
    EXPECT_EQ(form_->Playlist().SelectedIndex(), 0);
    ::SendMessageW(form_->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form_->IsClosed());
    EXPECT_EQ(ReadValue(keyPath_, L"files"), L"C:\\b.ppt\r\nC:\\a.ppt");
    EXPECT_EQ(dialogs_.errors.size(), 1u);
}

// The main window shown and in front as the program runs it, with its loop's dialog navigation,
// and a second top-level window that stands for another program to switch to.
class Form1Focus : public FormFixture {
  protected:
    void SetUp() override {
        FormFixture::SetUp();
        CreateForm();
        SetNavigationWindow(form_->Handle());
        form_->ShowCentered();
        other_ = ::CreateWindowExW(0, L"STATIC", L"Another program", WS_POPUP | WS_VISIBLE, 0, 0,
                                   200, 100, nullptr, nullptr, nullptr, nullptr);
        BringToFront(form_->Handle());
    }
    void TearDown() override {
        SetNavigationWindow(nullptr);
        ::DestroyWindow(other_);
        FormFixture::TearDown();
    }

    static void BringToFront(HWND window) {
        ::SetForegroundWindow(window);
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == window; }));
    }

    void SwitchAwayAndBack() {
        BringToFront(other_);
        EXPECT_NE(::GetFocus(), Control(IDC_TntEdit1));
        BringToFront(form_->Handle());
    }

    HWND other_ = nullptr;
};

TEST_F(Form1Focus, AtStart_TheListHasTheFocusAndTakesTheFirstKey) {
    EXPECT_EQ(::GetFocus(), Control(IDC_ListView1));
    form_->Playlist().AppendAll({L"C:\\a.ppt", L"C:\\b.ppt"});
    UserInput::Key(VK_DOWN);
    EXPECT_TRUE(PumpUntil([&] { return form_->Playlist().SelectedIndex() == 0; }))
        << "the first key did not reach the list";
}

TEST_F(Form1Focus, SwitchingAwayAndBack_GivesTheFocusBackToTheControlThatHadIt) {
    UserInput::Key(VK_TAB);
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == Control(IDC_TntEdit1); }));
    SwitchAwayAndBack();
    EXPECT_EQ(::GetFocus(), Control(IDC_TntEdit1));
    UserInput::Key(VK_TAB, VK_SHIFT);
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == Control(IDC_ListView1); }));
    SwitchAwayAndBack();
    EXPECT_EQ(::GetFocus(), Control(IDC_ListView1));
}

TEST_F(Form1Focus, ControlDisabledMeanwhile_FocusGoesToTheList) {
    form_->Playlist().AppendAll({L"C:\\a.ppt"});
    form_->Playlist().SetSelectedIndex(0);
    ::SetFocus(Control(IDC_BitBtn1));
    BringToFront(other_);
    Click(IDC_ToolButton4);  // "Remove all" disables "Play All"
    ASSERT_FALSE(::IsWindowEnabled(Control(IDC_BitBtn1)));
    BringToFront(form_->Handle());
    EXPECT_EQ(::GetFocus(), Control(IDC_ListView1));
}

}  // namespace
}  // namespace tidewell::testing
