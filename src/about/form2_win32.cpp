#include "about/form2_win32.h"

#include <array>
#include <string>

#include "about/addresses.h"
#include "common/ansi_text_win32.h"
#include "common/application_title.h"
#include "common/message_pump_win32.h"
#include "common/panel_win32.h"
#include "common/program_resources.h"
#include "common/tidewell_version.h"

namespace tidewell {
namespace {

// A dialog frame: fixed size, a close box and no minimise or maximise box.
constexpr WindowShape kForm2Shape{L"TForm2",
                                L"About",
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                WS_EX_DLGMODALFRAME,
                                335,
                                194,
                                0,
                                nullptr};
constexpr int kFontHeight = 11;  // pixels at 96 DPI, for the window font and the links alike
constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;

constexpr int Id(Form2Control control) {
    return static_cast<int>(control);
}

// The labels are made without a size; they take the size of their text once they have a font.
// clang-format off
const std::array<ControlRow, 9> kControls = {{
    {Id(Form2Control::TntPanel1), 0, kPanelClass, {8, 8, 313, 145}, L"", WS_CLIPSIBLINGS | kPanelBevel, 0},
    {Id(Form2Control::Image1), Id(Form2Control::TntPanel1), L"STATIC", {24, 16, 32, 32}, L"", SS_ICON, 0},
    // The stored text of the title label; the creation handler puts the application title in.
    {Id(Form2Control::TntLabel1), Id(Form2Control::TntPanel1), L"STATIC", {72, 16, 0, 0}, L"Label1", kLabel, 0},
    {Id(Form2Control::TntLabel2), Id(Form2Control::TntPanel1), L"STATIC", {72, 37, 0, 0}, L"Version: " TIDEWELL_VERSION_TEXT, kLabel, 0},
    {Id(Form2Control::TntLabel4), Id(Form2Control::TntPanel1), L"STATIC", {24, 74, 0, 0}, L"Email:", kLabel, 0},
    {Id(Form2Control::TntLabel6), Id(Form2Control::TntPanel1), L"STATIC", {24, 92, 0, 0}, L"Website:", kLabel, 0},
    {Id(Form2Control::TntLabel5), Id(Form2Control::TntPanel1), L"STATIC", {72, 74, 0, 0}, kSupportEmail, kLabel | SS_NOTIFY, 0},
    {Id(Form2Control::TntLabel7), Id(Form2Control::TntPanel1), L"STATIC", {72, 92, 0, 0}, kMakerHostName, kLabel | SS_NOTIFY, 0},
    {Id(Form2Control::TntButton1), 0, L"BUTTON", {128, 159, 75, 25}, L"Close", WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
}};
// clang-format on

// Each command of the box: the control, the notification that runs it, its handler. Only the
// button's own click closes the box: Esc (IDCANCEL) is not bound to it.
struct Form2Command {
    Form2Control control;
    int code;
    void (*run)(TForm2&);
};

void SetFont(HWND window, HGDIOBJ font) {
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace

TForm2::TForm2(Dialogs& dialogs, Shell& shell) : Window(dialogs), shell_(shell) {}

TForm2::~TForm2() {
    Destroy();
}

void TForm2::Create() {
    Window::Create(kForm2Shape);
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_ACTIVATE:
            // The button is the only control that takes focus.
            RestoreFocusOnActivation(wParam, Control(Form2Control::TntButton1));
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(windowFont_.get());
        case WM_CLOSE:
            // The title-bar box and Alt+F4 end the modal loop like "Close"; the window is kept.
            TntButton1Click();
            return 0;
        default:
            return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void TForm2::OnCommand(int id, int code) {
    static constexpr Form2Command kCommands[] = {
        {Form2Control::TntButton1, BN_CLICKED, [](TForm2& f) { f.TntButton1Click(); }},
        {Form2Control::TntLabel5, STN_CLICKED, [](TForm2& f) { f.TntLabel5Click(); }},
        {Form2Control::TntLabel7, STN_CLICKED, [](TForm2& f) { f.TntLabel7Click(); }},
    };
    for (const Form2Command& command : kCommands) {
        if (Id(command.control) == id && command.code == code) command.run(*this);
    }
}

void TForm2::CreateControls() {
    CreateLayout(kControls, nullptr);
    const int iconSize = Scale(32);
    icon_.reset(
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TIDEWELL),
                                        IMAGE_ICON, iconSize, iconSize, LR_DEFAULTCOLOR)));
    ::SendMessageW(Control(Form2Control::Image1), STM_SETICON,
                   reinterpret_cast<WPARAM>(icon_.get()), 0);
    // The links keep a font of their own, which the window's font change at creation leaves
    // alone.
    linkFont_ = CreateUiFont(Scale(kFontHeight), L"MS Sans Serif", true);
    for (Form2Control link : {Form2Control::TntLabel5, Form2Control::TntLabel7}) {
        SetFont(Control(link), linkFont_.get());
        SizeLabelToText(Control(link));
    }
}

// The window's font becomes "MS Shell Dlg 2" here, and every control takes it except the two
// links, which keep the font they were made with.
void TForm2::TntFormCreate() {
    windowFont_ = CreateUiFont(Scale(kFontHeight), L"MS Shell Dlg 2");
    for (Form2Control control :
         {Form2Control::TntLabel1, Form2Control::TntLabel2, Form2Control::TntLabel4,
          Form2Control::TntLabel6, Form2Control::TntButton1})
        SetFont(Control(control), windowFont_.get());
    ::SetWindowTextW(Control(Form2Control::TntLabel1), kApplicationTitle);
    for (Form2Control label : {Form2Control::TntLabel1, Form2Control::TntLabel2,
                               Form2Control::TntLabel4, Form2Control::TntLabel6})
        SizeLabelToText(Control(label));
}

void TForm2::ShowModal(HWND owner) {
    if (!hwnd_ || modal_) return;
    // Owned by the window it is shown over: it stays above it and out of the taskbar.
    ::SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    if (!shownBefore_) {
        CentreOnScreen(SWP_NOACTIVATE);
        shownBefore_ = true;
    }
    modal_ = true;
    if (owner) ::EnableWindow(owner, FALSE);
    // Keyboard navigation (Enter and Space on the focused button) belongs to the box while it
    // is up, and goes back to the window it was shown over afterwards.
    SetNavigationWindow(hwnd_);
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetFocus(Control(Form2Control::TntButton1));
    while (modal_) {
        if (!PumpPendingMessages()) break;  // WM_QUIT: posted again for the main loop
        if (modal_) ::WaitMessage();
    }
    modal_ = false;
    SetNavigationWindow(owner);
    // The owner is enabled before the box is hidden, so that activation returns to it.
    if (owner) ::EnableWindow(owner, TRUE);
    if (hwnd_) ::ShowWindow(hwnd_, SW_HIDE);
}

void TForm2::TntButton1Click() {
    // Ending the modal loop is enough: ShowModal hides the box once its owner takes input again.
    if (modal_) {
        modal_ = false;
        return;
    }
    if (hwnd_) ::ShowWindow(hwnd_, SW_HIDE);
}

void TForm2::TntLabel5Click() {
    // The link reads the title as 8-bit text in the system code page, the one the shell reads its
    // 8-bit request in.
    constexpr auto page = AnsiCodePage::System;
    const std::string request =
        ToAnsi(std::wstring(L"mailto:") + kSupportEmail + L"?subject=", page) +
        ToAnsi(kApplicationTitle, page);
    shell_.OpenA(hwnd_, request);
}

void TForm2::TntLabel7Click() {
    shell_.OpenA(hwnd_, ToAnsi(MakerWebAddress(), AnsiCodePage::System));
}

}  // namespace tidewell
