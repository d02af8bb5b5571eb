#include "about/form2_win32.h"

#include <string>

#include "about/addresses.h"
#include "common/ansi_text_win32.h"
#include "about/bevel_panel_win32.h"
#include "common/window_object_win32.h"
#include "common/label_size_win32.h"
#include "common/window_class_win32.h"
#include "app/message_pump_win32.h"
#include "app/resource.h"
#include "app/tidewell_version.h"
#include "common/application_title.h"

namespace tidewell {
namespace {

constexpr wchar_t kForm2Class[] = L"TForm2";
// A dialog frame: fixed size, a close box and no minimise or maximise box.
constexpr DWORD kForm2Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kForm2ExStyle = WS_EX_DLGMODALFRAME;
constexpr int kClientWidth = 335;
constexpr int kClientHeight = 194;
constexpr int kFontHeight = 11;  // pixels at 96 DPI, for the window font and the links alike

enum ControlId : int {
    kPanelId = 100,
    kImageId,
    kTitleLabelId,
    kVersionLabelId,
    kEmailCaptionId,
    kEmailLinkId,
    kWebsiteCaptionId,
    kWebsiteLinkId,
    kCloseButtonId,
};

HFONT CreateUiFont(int height, bool underline, const wchar_t* face) {
    return ::CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, underline ? TRUE : FALSE, FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, face);
}

void SetFont(HWND window, HGDIOBJ font) {
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace

TForm2::TForm2(Shell& shell) : shell_(shell) {}

TForm2::~TForm2() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

int TForm2::Scale(int pixels) const {
    return ::MulDiv(pixels, dpi_, 96);
}

void TForm2::Create() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    RegisterButtonFaceClass(instance, kForm2Class, &TForm2::WindowProc);
    dpi_ = SystemDpi();
    RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    ::AdjustWindowRectEx(&frame, kForm2Style, FALSE, kForm2ExStyle);
    ::CreateWindowExW(kForm2ExStyle, kForm2Class, L"About", kForm2Style, CW_USEDEFAULT,
                      CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                      nullptr, instance, this);
}

LRESULT CALLBACK TForm2::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowObject<TForm2>(hwnd, message, lParam);
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCCREATE) self->hwnd_ = hwnd;
    if (message == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        self->modal_ = false;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // Nothing in this window's handlers raises except on exhausted memory; even that must not
    // unwind through the system's code that called us.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            TntFormCreate();
            return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            // Only the button's own click closes the box: Esc (IDCANCEL) is not bound to it.
            if (id == kCloseButtonId && code == BN_CLICKED) TntButton1Click();
            if (id == kEmailLinkId && code == STN_CLICKED) TntLabel5Click();
            if (id == kWebsiteLinkId && code == STN_CLICKED) TntLabel7Click();
            return 0;
        }
        case WM_ACTIVATE:
            // The button is the only control that takes focus; it gets it back whenever the box
            // becomes active again.
            if (LOWORD(wParam) != WA_INACTIVE) ::SetFocus(TntButton1);
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

HWND TForm2::CreateLabel(HWND parent, int id, int left, int top, const wchar_t* text, DWORD style) {
    HWND label = ::CreateWindowExW(
        0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | style,
        Scale(left), Scale(top), 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        ::GetModuleHandleW(nullptr), nullptr);
    return label;
}

void TForm2::CreateControls() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    TntPanel1 =
        CreateBevelPanel(hwnd_, kPanelId, {Scale(8), Scale(8), Scale(8 + 313), Scale(8 + 145)});

    const int iconSize = Scale(32);
    icon_.reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TIDEWELL),
                                                IMAGE_ICON, iconSize, iconSize, LR_DEFAULTCOLOR)));
    Image1 = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON, Scale(24),
                               Scale(16), iconSize, iconSize, TntPanel1,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kImageId)), instance,
                               nullptr);
    ::SendMessageW(Image1, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);

    // The stored text of the title label; the creation handler puts the application title in.
    TntLabel1 = CreateLabel(TntPanel1, kTitleLabelId, 72, 16, L"Label1", 0);
    TntLabel2 =
        CreateLabel(TntPanel1, kVersionLabelId, 72, 37, L"Version: " TIDEWELL_VERSION_TEXT, 0);
    TntLabel4 = CreateLabel(TntPanel1, kEmailCaptionId, 24, 74, L"Email:", 0);
    TntLabel6 = CreateLabel(TntPanel1, kWebsiteCaptionId, 24, 92, L"Website:", 0);
    // The links notify their clicks and keep a font of their own, which the window's font change
    // at creation leaves alone.
    TntLabel5 = CreateLabel(TntPanel1, kEmailLinkId, 72, 74, kSupportEmail, SS_NOTIFY);
    TntLabel7 = CreateLabel(TntPanel1, kWebsiteLinkId, 72, 92, kMakerHostName, SS_NOTIFY);
    linkFont_.reset(CreateUiFont(Scale(kFontHeight), true, L"MS Sans Serif"));
    for (HWND link : {TntLabel5, TntLabel7}) {
        SetFont(link, linkFont_.get());
        FitLabelToText(link);
    }

    TntButton1 = ::CreateWindowExW(
        0, L"BUTTON", L"Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, Scale(128),
        Scale(159), Scale(75), Scale(25), hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseButtonId)), instance, nullptr);
}

void TForm2::FitLabelToText(HWND label) {
    const SIZE size = MeasureLabelText(label);
    ::SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window's font becomes "MS Shell Dlg 2" here, and every control takes it except the two
// links, which keep the font they were made with.
void TForm2::TntFormCreate() {
    windowFont_.reset(CreateUiFont(Scale(kFontHeight), false, L"MS Shell Dlg 2"));
    for (HWND control : {TntLabel1, TntLabel2, TntLabel4, TntLabel6, TntButton1})
        SetFont(control, windowFont_.get());
    ::SetWindowTextW(TntLabel1, kApplicationTitle);
    for (HWND label : {TntLabel1, TntLabel2, TntLabel4, TntLabel6}) FitLabelToText(label);
}

void TForm2::CentreOnScreen() {
    RECT frame{};
    ::GetWindowRect(hwnd_, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(hwnd_, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm2::ShowModal(HWND owner) {
    if (!hwnd_ || modal_) return;
    // Owned by the window it is shown over: it stays above it and out of the taskbar.
    ::SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    if (!shownBefore_) {
        CentreOnScreen();
        shownBefore_ = true;
    }
    modal_ = true;
    if (owner) ::EnableWindow(owner, FALSE);
    // Keyboard navigation (Enter and Space on the focused button) belongs to the box while it
    // is up, and goes back to the window it was shown over afterwards.
    SetNavigationWindow(hwnd_);
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetFocus(TntButton1);
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
