// The main window's fixed layout: every control, its place at 96 DPI, its caption and state.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <iterator>

#include "about/addresses.h"
#include "app/form1_win32.h"
#include "app/images_win32.h"
#include "app/resource.h"
#include "common/label_size_win32.h"
#include "common/window_class_win32.h"

namespace tidewell {

namespace {

// The tips memo's five lines, trailing blanks included; the memo wraps them at its width.
constexpr wchar_t kTipsText[] =
    L"Tips:\r\n"
    L"You can mouse drag and drop PowerPoint presentation \r\n"
    L"files from desktop to file list. \r\n"
    L"You can mouse drag and drop file list item to adjust play \r\n"
    L"order.";

constexpr wchar_t kPanelClass[] = L"TPanel";

struct ControlSpec {
    HWND TForm1::*member;
    const wchar_t* windowClass;
    int id;
    RECT bounds;  // left, top, width, height at 96 DPI (stored as right/bottom = width/height)
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
};

// Stacking order is creation order, which is also the tab order of the controls that stop.
const std::array<ControlSpec, 12> kControls = {{
    {&TForm1::TntLabel1,
     WC_STATICW,
     IDC_TntLabel1,
     {336, 136, 270, 13},
     L"MS PowerPoint or MS PowerPoint Viewer executable file:",
     SS_LEFTNOWORDWRAP | SS_NOPREFIX,
     0},
    {&TForm1::TntLabel2,
     WC_STATICW,
     IDC_TntLabel2,
     {336, 56, 77, 13},
     L"Start on monitor:",
     SS_LEFTNOWORDWRAP | SS_NOPREFIX,
     0},
    {&TForm1::TntSpeedButton1,
     WC_BUTTONW,
     IDC_TntSpeedButton1,
     {592, 160, 23, 22},
     L"",
     BS_PUSHBUTTON | BS_ICON,
     0},
    {&TForm1::ListView1,
     WC_LISTVIEWW,
     IDC_ListView1,
     {0, 38, 329, 366},
     L"",
     WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA,
     WS_EX_CLIENTEDGE},
    {&TForm1::TntEdit1,
     WC_EDITW,
     IDC_TntEdit1,
     {336, 160, 257, 21},
     kProgramPrompt,
     WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL,
     WS_EX_CLIENTEDGE},
    {&TForm1::TntEdit2,
     WC_EDITW,
     IDC_TntEdit2,
     {336, 80, 73, 21},
     L"0",
     WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL,
     WS_EX_CLIENTEDGE},
    {&TForm1::TntUpDown1,
     UPDOWN_CLASSW,
     IDC_TntUpDown1,
     {409, 80, 15, 21},
     L"",
     UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
     0},
    {&TForm1::BitBtn1,
     WC_BUTTONW,
     IDC_BitBtn1,
     {344, 352, 81, 25},
     L"Play All",
     WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON,
     0},
    {&TForm1::BitBtn2,
     WC_BUTTONW,
     IDC_BitBtn2,
     {440, 352, 81, 25},
     L"Play Selected",
     WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON,
     0},
    {&TForm1::BitBtn3,
     WC_BUTTONW,
     IDC_BitBtn3,
     {536, 352, 75, 25},
     L"Close",
     WS_TABSTOP | BS_PUSHBUTTON,
     0},
    {&TForm1::TntPanel1, kPanelClass, IDC_TntPanel1, {336, 216, 281, 97}, L"", WS_DISABLED, 0},
    {&TForm1::TntMemo1,
     WC_EDITW,
     IDC_TntMemo1,
     {0, 16, 273, 81},
     kTipsText,
     ES_MULTILINE | ES_AUTOVSCROLL,
     0},
}};

// The panel forwards the colour requests of its memo to the main window, which paints it in the
// button face like the rest of the window.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) {
        ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
        ::SetTextColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

struct ToolButtonSpec {
    int id;
    const wchar_t* caption;
    bool autoSize;
    bool enabled;
};

const std::array<ToolButtonSpec, 8> kToolButtons = {{
    {IDC_ToolButton1, L"Add files", true, true},
    {IDC_ToolButton2, L"Add folder", true, true},
    {IDC_ToolButton3, L"Remove", false, false},
    {IDC_ToolButton4, L"Remove all", false, false},
    {IDC_ToolButton5, L"Move up", false, false},
    {IDC_ToolButton6, L"Move down", false, false},
    {IDC_ToolButton7, L"Save setting", false, false},
    {IDC_ToolButton8, L"Load setting", true, true},
}};

// Labels size themselves to their text, as the layout's own labels do: where the system's dialog
// font runs wider than the one the layout was drawn with, the text grows to the right instead of
// wrapping onto a hidden second line.
void FitLabelToText(HWND label) {
    const SIZE text = MeasureLabelText(label);
    RECT place{};
    ::GetWindowRect(label, &place);
    if (text.cx > place.right - place.left) {
        ::SetWindowPos(label, nullptr, 0, 0, text.cx, place.bottom - place.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace

void TForm1::CreateControls() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    RegisterButtonFaceClass(instance, kPanelClass, PanelProc);
    const auto scale = [this](LONG v) { return ::MulDiv(v, dpi_, 96); };

    CreateToolbar();
    // The window has a fixed size, so the bar is placed where the layout says rather than left to
    // size itself from its font (which makes it a pixel or two taller on some systems).
    TntStatusBar1 = ::CreateWindowExW(
        0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN, 0,
        scale(404), scale(629), scale(19), hwnd_, reinterpret_cast<HMENU>(IDC_TntStatusBar1),
        instance, nullptr);
    ::SendMessageW(TntStatusBar1, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    int parts[] = {-1};
    ::SendMessageW(TntStatusBar1, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    const std::wstring address = MakerWebAddress();
    ::SendMessageW(TntStatusBar1, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(address.c_str()));

    for (const auto& entry : kControls) {
        const bool inPanel = entry.member == &TForm1::TntMemo1;
        const HWND parent = inPanel ? TntPanel1 : hwnd_;
        HWND control = ::CreateWindowExW(
            entry.exStyle, entry.windowClass, entry.text, WS_CHILD | WS_VISIBLE | entry.style,
            scale(entry.bounds.left), scale(entry.bounds.top), scale(entry.bounds.right),
            scale(entry.bounds.bottom), parent, reinterpret_cast<HMENU>(entry.id), instance,
            nullptr);
        this->*entry.member = control;
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }

    FitLabelToText(TntLabel1);
    FitLabelToText(TntLabel2);

    ::SendMessageW(ListView1, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = scale(300);
    column.pszText = const_cast<wchar_t*>(L"PowerPoint presentation play file list");
    ::SendMessageW(ListView1, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));

    ::SendMessageW(TntUpDown1, UDM_SETBUDDY, reinterpret_cast<WPARAM>(TntEdit2), 0);
    // Setting the buddy lets the arrows pick a width of their own; keep the layout's.
    ::SetWindowPos(TntUpDown1, nullptr, scale(409), scale(80), scale(15), scale(21),
                   SWP_NOZORDER | SWP_NOACTIVATE);

    speedButtonGlyph_.reset(CreateOpenFolderGlyph(scale(kGlyphSize)));
    ::SendMessageW(TntSpeedButton1, BM_SETIMAGE, IMAGE_ICON,
                   reinterpret_cast<LPARAM>(speedButtonGlyph_.get()));
}

void TForm1::CreateToolbar() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    TntToolBar1 = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                    WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                        CCS_TOP | CCS_NODIVIDER | CCS_NORESIZE,
                                    0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(IDC_TntToolBar1),
                                    instance, nullptr);
    ::SendMessageW(TntToolBar1, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(TntToolBar1, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    toolbarImages_ = CreateToolbarImages(::MulDiv(kGlyphSize, dpi_, 96));
    ::SendMessageW(TntToolBar1, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbarImages_));

    std::array<TBBUTTON, kToolButtons.size()> buttons{};
    for (std::size_t i = 0; i < kToolButtons.size(); ++i) {
        const auto& entry = kToolButtons[i];
        buttons[i].iBitmap = static_cast<int>(i);
        buttons[i].idCommand = entry.id;
        buttons[i].fsState = entry.enabled ? TBSTATE_ENABLED : 0;
        buttons[i].fsStyle = BTNS_BUTTON | (entry.autoSize ? BTNS_AUTOSIZE : 0);
        buttons[i].iString = reinterpret_cast<INT_PTR>(entry.caption);
    }
    ::SendMessageW(TntToolBar1, TB_ADDBUTTONSW, buttons.size(),
                   reinterpret_cast<LPARAM>(buttons.data()));
    ::SendMessageW(TntToolBar1, TB_SETBUTTONSIZE, 0,
                   MAKELPARAM(::MulDiv(66, dpi_, 96), ::MulDiv(36, dpi_, 96)));
    // The bar is as high as its buttons plus a two-pixel margin; left to itself the control
    // adds padding of its own, so it is placed rather than sized automatically.
    ::MoveWindow(TntToolBar1, 0, 0, ::MulDiv(629, dpi_, 96), ::MulDiv(38, dpi_, 96), FALSE);
}

void TForm1::CreateMenus() {
    TntMainMenu2 = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, IDM_Exit1, L"Exit");
    HMENU help = ::CreatePopupMenu();
    ::AppendMenuW(help, MF_STRING, IDM_Help2, L"Help");
    ::AppendMenuW(help, MF_STRING, IDM_Hollowfinswebsite1, L"Hollowfin's web site");
    ::AppendMenuW(help, MF_STRING, IDM_Emailsupport1, L"Email support");
    ::AppendMenuW(help, MF_STRING, IDM_About1, L"About");
    ::AppendMenuW(TntMainMenu2, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File");
    ::AppendMenuW(TntMainMenu2, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"Help");

    // Each context item carries the command id of the control whose click it performs.
    TntPopupMenu1 = ::CreatePopupMenu();
    ::AppendMenuW(TntPopupMenu1, MF_STRING, IDC_ToolButton1, L"Add files");
    ::AppendMenuW(TntPopupMenu1, MF_STRING, IDC_ToolButton2, L"Add folder");
    ::AppendMenuW(TntPopupMenu1, MF_STRING | MF_GRAYED, IDC_ToolButton3, L"Remove");
    ::AppendMenuW(TntPopupMenu1, MF_STRING | MF_GRAYED, IDC_ToolButton4, L"Remove all");
    ::AppendMenuW(TntPopupMenu1, MF_STRING | MF_GRAYED, IDC_ToolButton5, L"Move up");
    ::AppendMenuW(TntPopupMenu1, MF_STRING | MF_GRAYED, IDC_ToolButton6, L"Move down");
    ::AppendMenuW(TntPopupMenu1, MF_STRING | MF_GRAYED, IDC_BitBtn1, L"Play all");
    ::AppendMenuW(TntPopupMenu1, MF_STRING | MF_GRAYED, IDC_BitBtn2, L"play selected");
}

void TForm1::CreateFileDialogs() {
    constexpr unsigned kCommon = FileDialog::kHideReadOnly | FileDialog::kEnableSizing;
    TntOpenDialog1 = {L"TntOpenDialog1", FileDialog::Kind::Open, L".ppt",
                      L"MS PowerPoint Presentation files|*.ppt;*.pps;*.pptx;*.ppsx",
                      kCommon | FileDialog::kAllowMultiSelect | FileDialog::kPathMustExist |
                          FileDialog::kFileMustExist};
    TntOpenDialog2 = {L"TntOpenDialog2", FileDialog::Kind::Open, L"*.exe",
                      L"MS PowerPoint Viewer executable file|*.exe",
                      kCommon | FileDialog::kFileMustExist};
    TntOpenDialog3 = {L"TntOpenDialog3", FileDialog::Kind::Open, L".ppsv",
                      L"PowerPoint Viewer setting file|*.ppsv", kCommon};
    TntSaveDialog1 = {L"TntSaveDialog1", FileDialog::Kind::Save, L".ppsv",
                      L"PowerPoint Viewer setting file|*.ppsv",
                      kCommon | FileDialog::kOverwritePrompt};
}

}  // namespace tidewell
