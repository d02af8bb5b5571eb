// The About box as the user meets it from the main window's Help menu: its layout and fonts, the
// modal showing, the ways to close it, and its two links.
#include <windows.h>

#include <memory>
#include <string>

#include "about/form2_win32.h"
#include "app/resource.h"
#include "about/modal_script.h"
#include "support/form_fixture.h"
#include "support/user_input.h"
#include "support/window_queries.h"

namespace tidewell::testing {
namespace {

void ClickLabel(HWND label) {
    ::SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void PostKey(HWND target, UINT message, UINT key, LPARAM flags) {
    ::PostMessageW(target, message, key, flags | 1);
}

class AboutBox : public FormFixture {
  protected:
    void SetUp() override {
        FormFixture::SetUp();
        CreateForm();
        about_ = std::make_unique<TForm2>(dialogs_, shell_);
        about_->Create();
        ASSERT_NE(about_->Handle(), nullptr);
        form_->AttachAbout(about_.get());
    }
    void TearDown() override {
        about_.reset();
        FormFixture::TearDown();
    }

    // Opens the box from the Help menu with the user's steps scripted, and returns once it has
    // closed again; fails the test when the steps did not close it themselves.
    void ShowAboutWhile(std::vector<ModalScript::Step> steps) {
        const std::size_t count = steps.size();
        ModalScript script(about_->Handle(), std::move(steps));
        Click(IDM_About1);
        EXPECT_EQ(script.StepsRun(), count) << "the box closed before every step had run";
        EXPECT_FALSE(script.GuardClosedTheBox()) << "the steps did not close the box";
    }

    std::unique_ptr<TForm2> about_;
};

TEST_F(AboutBox, Created_FrameCaptionAndClientSizeMatchTheLayout) {
    ASSERT_EQ(::GetDeviceCaps(::GetDC(nullptr), LOGPIXELSY), 96)
        << "the layout is checked at 96 DPI";
    const HWND box = about_->Handle();
    EXPECT_EQ(TextOf(box), L"About");
    EXPECT_FALSE(::IsWindowVisible(box)) << "created hidden at start";
    RECT client{};
    ::GetClientRect(box, &client);
    EXPECT_EQ(client.right, 335);
    EXPECT_EQ(client.bottom, 194);
    const LONG style = ::GetWindowLongW(box, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU) << "close box";
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(::GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(FontOf(box).lfFaceName, std::wstring(L"MS Shell Dlg 2"));
}

struct ControlCase {
    Form2Control control;
    const char* name;
    POINT place;  // in the control's parent: the panel for what it holds, else the window
    const wchar_t* text;
    const wchar_t* face;
    bool underlined;
};

TEST_F(AboutBox, Created_EveryControlHasItsPlaceTextAndFont) {
    const ControlCase cases[] = {
        {Form2Control::TntLabel1, "TntLabel1", {72, 16}, L"Tidewell", L"MS Shell Dlg 2", false},
        {Form2Control::TntLabel2,
         "TntLabel2",
         {72, 37},
         L"Version: 2.35",
         L"MS Shell Dlg 2",
         false},
        {Form2Control::TntLabel4, "TntLabel4", {24, 74}, L"Email:", L"MS Shell Dlg 2", false},
        {Form2Control::TntLabel5,
         "TntLabel5",
         {72, 74},
         L"support@hollowfin.com",
         L"MS Sans Serif",
         true},
        {Form2Control::TntLabel6, "TntLabel6", {24, 92}, L"Website:", L"MS Shell Dlg 2", false},
        {Form2Control::TntLabel7,
         "TntLabel7",
         {72, 92},
         L"www.hollowfin.com",
         L"MS Sans Serif",
         true},
        {Form2Control::TntButton1, "TntButton1", {128, 159}, L"Close", L"MS Shell Dlg 2", false},
    };
    for (const ControlCase& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND control = about_->Control(c.control);
        ASSERT_NE(control, nullptr);
        const RECT place = PlaceInParent(control);
        EXPECT_EQ(place.left, c.place.x);
        EXPECT_EQ(place.top, c.place.y);
        EXPECT_EQ(TextOf(control), c.text);
        const LOGFONTW font = FontOf(control);
        EXPECT_EQ(std::wstring(font.lfFaceName), c.face);
        EXPECT_EQ(font.lfHeight, -11);
        EXPECT_EQ(font.lfUnderline != 0, c.underlined);
        if (c.control != Form2Control::TntButton1) {
            EXPECT_EQ(::GetParent(control), about_->Control(Form2Control::TntPanel1))
                << "labels sit in the panel";
            EXPECT_GE(place.right, TextWidthInOwnFont(control)) << "label cuts its text";
        }
    }
    const RECT panel = PlaceInParent(about_->Control(Form2Control::TntPanel1));
    EXPECT_EQ(panel.left, 8);
    EXPECT_EQ(panel.top, 8);
    EXPECT_EQ(panel.right, 313);
    EXPECT_EQ(panel.bottom, 145);
    const RECT button = PlaceInParent(about_->Control(Form2Control::TntButton1));
    EXPECT_EQ(button.right, 75);
    EXPECT_EQ(button.bottom, 25);
    const RECT image = PlaceInParent(about_->Control(Form2Control::Image1));
    EXPECT_EQ(image.left, 24);
    EXPECT_EQ(image.top, 16);
    EXPECT_EQ(image.right, 32);
    EXPECT_EQ(image.bottom, 32);
    EXPECT_NE(::SendMessageW(about_->Control(Form2Control::Image1), STM_GETICON, 0, 0), 0)
        << "the application icon";
}

TEST_F(AboutBox, About1Click_ShowsModalOverMainWindowWithCloseFocused) {
    const HWND box = about_->Handle();
    const HWND main = form_->Handle();
    bool checked = false;
    ShowAboutWhile({[&] {
        checked = true;
        EXPECT_TRUE(::IsWindowVisible(box));
        EXPECT_TRUE(about_->IsModal());
        EXPECT_EQ(::GetWindow(box, GW_OWNER), main);
        EXPECT_FALSE(::IsWindowEnabled(main)) << "the main window takes no input meanwhile";
        EXPECT_EQ(::GetFocus(), about_->Control(Form2Control::TntButton1));
        // The button is the only control that the Tab key can reach.
        EXPECT_EQ(::GetNextDlgTabItem(box, about_->Control(Form2Control::TntButton1), FALSE),
                  about_->Control(Form2Control::TntButton1));
        ::SendMessageW(about_->Control(Form2Control::TntButton1), BM_CLICK, 0, 0);
    }});
    EXPECT_TRUE(checked);
    EXPECT_FALSE(::IsWindowVisible(box));
    EXPECT_TRUE(::IsWindowEnabled(main));
    EXPECT_FALSE(about_->IsModal());
}

TEST_F(AboutBox, Closed_TheMainWindowGivesTheFocusBackToItsControl) {
    form_->ShowCentered();
    ::SetForegroundWindow(form_->Handle());
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == form_->Handle(); }));
    ::SetFocus(Control(IDC_TntEdit2));
    ShowAboutWhile(
        {[&] { ::SendMessageW(about_->Control(Form2Control::TntButton1), BM_CLICK, 0, 0); }});
    EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == Control(IDC_TntEdit2); }));
}

TEST_F(AboutBox, CloseButton_IsAsWideAsItsCaptionNeeds) {
    SIZE ideal{};
    const HWND button = about_->Control(Form2Control::TntButton1);
    ASSERT_TRUE(::SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_GT(ideal.cx, TextWidthInOwnFont(button));
    EXPECT_LE(ideal.cx, PlaceInParent(button).right);
}

TEST_F(AboutBox, ShownTwice_SameBoxSameTextsReopensWhereItWasLeft) {
    const HWND box = about_->Handle();
    RECT first{};
    ShowAboutWhile({[&] {
        ::GetWindowRect(box, &first);
        // The user drags it elsewhere before closing it with the title-bar box.
        ::SetWindowPos(box, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    }});
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR((first.left + first.right) / 2, screenWidth / 2, 1) << "centred the first time";
    EXPECT_NEAR((first.top + first.bottom) / 2, screenHeight / 2, 1);

    RECT second{};
    std::wstring title, version, email, website;
    ShowAboutWhile({[&] {
        ::GetWindowRect(box, &second);
        title = TextOf(about_->Control(Form2Control::TntLabel1));
        version = TextOf(about_->Control(Form2Control::TntLabel2));
        email = TextOf(about_->Control(Form2Control::TntLabel5));
        website = TextOf(about_->Control(Form2Control::TntLabel7));
        ::SendMessageW(about_->Control(Form2Control::TntButton1), BM_CLICK, 0, 0);
    }});
    EXPECT_EQ(about_->Handle(), box) << "the same window each time";
    EXPECT_EQ(second.left, 40) << "opens where it was last";
    EXPECT_EQ(second.top, 30);
    EXPECT_EQ(title, L"Tidewell");
    EXPECT_EQ(version, L"Version: 2.35");
    EXPECT_EQ(email, L"support@hollowfin.com");
    EXPECT_EQ(website, L"www.hollowfin.com");
}

TEST_F(AboutBox, LinkClicks_HandTheirAddressesToTheShellAndLeaveTheBoxOpen) {
    const HWND box = about_->Handle();
    ShowAboutWhile({
        [&] { ClickLabel(about_->Control(Form2Control::TntLabel5)); },
        [&] { ClickLabel(about_->Control(Form2Control::TntLabel7)); },
        [&] {
            EXPECT_TRUE(::IsWindowVisible(box)) << "still open after both links";
            EXPECT_TRUE(about_->IsModal());
            EXPECT_FALSE(::IsWindowEnabled(form_->Handle()));
            ::SendMessageW(about_->Control(Form2Control::TntButton1), BM_CLICK, 0, 0);
        },
    });
    ASSERT_EQ(shell_.requests.size(), 2u);
    EXPECT_EQ(shell_.requests[0].address, L"mailto:support@hollowfin.com?subject=Tidewell");
    EXPECT_FALSE(shell_.requests[0].wide) << "the link sends the 8-bit request";
    EXPECT_EQ(shell_.requests[0].owner, box);
    EXPECT_EQ(shell_.requests[1].address, L"http://www.hollowfin.com");
    EXPECT_FALSE(shell_.requests[1].wide);
    EXPECT_EQ(shell_.requests[1].owner, box);
    EXPECT_TRUE(::IsWindowEnabled(form_->Handle()));
}

TEST_F(AboutBox, LinkThatFails_ErrorBoxShowsItAndTheBoxStaysUsable) {
    const HWND box = about_->Handle();
    shell_.failure = L"No program is set up to open this address";
    ShowAboutWhile({
        [&] { ClickLabel(about_->Control(Form2Control::TntLabel7)); },
        [&] {
            EXPECT_TRUE(::IsWindowVisible(box)) << "the error leaves the box open";
            EXPECT_TRUE(about_->IsModal());
            ::SendMessageW(about_->Control(Form2Control::TntButton1), BM_CLICK, 0, 0);
        },
    });
    // The same Error box as the main window's, final dot included.
    EXPECT_EQ(dialogs_.errors,
              std::vector<std::wstring>{L"No program is set up to open this address."});
    EXPECT_EQ(shell_.requests.size(), 1u);
    EXPECT_TRUE(::IsWindowEnabled(form_->Handle()));
}

TEST_F(AboutBox, Keyboard_AltF4EnterAndSpaceClose_EscapeDoesNot) {
    const HWND box = about_->Handle();
    constexpr LPARAM kAltDown = 1 << 29;
    constexpr LPARAM kKeyUp = static_cast<LPARAM>(0xC0000000u);
    bool openAfterEscape = false;
    ShowAboutWhile({
        [&] { PostKey(about_->Control(Form2Control::TntButton1), WM_KEYDOWN, VK_ESCAPE, 0); },
        [&] {
            openAfterEscape = ::IsWindowVisible(box) && about_->IsModal();
            PostKey(about_->Control(Form2Control::TntButton1), WM_SYSKEYDOWN, VK_F4, kAltDown);
        },
    });
    EXPECT_TRUE(openAfterEscape) << "no key but the focused button's closes the box";
    EXPECT_FALSE(::IsWindowVisible(box)) << "Alt+F4";

    ShowAboutWhile(
        {[&] { PostKey(about_->Control(Form2Control::TntButton1), WM_KEYDOWN, VK_RETURN, 0); }});
    EXPECT_FALSE(::IsWindowVisible(box)) << "Enter on the focused Close button";

    ShowAboutWhile({[&] {
        PostKey(about_->Control(Form2Control::TntButton1), WM_KEYDOWN, VK_SPACE, 0);
        PostKey(about_->Control(Form2Control::TntButton1), WM_KEYUP, VK_SPACE, kKeyUp);
    }});
    EXPECT_FALSE(::IsWindowVisible(box)) << "Space on the focused Close button";
    EXPECT_TRUE(shell_.requests.empty());
}

// The box on its own, with no main window to own it.
TEST(AboutAlone, ShownWithoutOwner_LinkGoesToTheShellAndCloseHidesIt) {
    ScriptedDialogs dialogs;
    RecordingShell shell;
    TForm2 box(dialogs, shell);
    box.Create();
    ModalScript script(
        box.Handle(),
        {[&] { ClickLabel(box.Control(Form2Control::TntLabel7)); },
         [&] { ::SendMessageW(box.Control(Form2Control::TntButton1), BM_CLICK, 0, 0); }});
    box.ShowModal(nullptr);
    EXPECT_EQ(script.StepsRun(), 2u);
    EXPECT_FALSE(script.GuardClosedTheBox());
    EXPECT_FALSE(::IsWindowVisible(box.Handle()));
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].address, L"http://www.hollowfin.com");
    EXPECT_TRUE(dialogs.errors.empty());
}

}  // namespace
}  // namespace tidewell::testing
