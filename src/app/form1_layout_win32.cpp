// The main window's fixed layout: every control, its place at 96 DPI, its parent, caption and
// style, and what each control needs once it exists.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>

#include "about/addresses.h"
#include "app/form1_win32.h"
#include "app/resource.h"
#include "common/images_win32.h"
#include "common/panel_win32.h"
#include "common/unique_handle_win32.h"

namespace tidewell {

namespace {

// The tips memo's five lines, trailing blanks included; the memo wraps them at its width.
constexpr wchar_t kTipsText[] =
    L"Tips:\r\n"
    L"You can mouse drag and drop PowerPoint presentation \r\n"
    L"files from desktop to file list. \r\n"
    L"You can mouse drag and drop file list item to adjust play \r\n"
    L"order.";

constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr DWORD kReadOnlyEdit = WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL;
constexpr DWORD kListStyle =
    WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA;
// The window has a fixed size, so the bars are placed where the layout says rather than left to
// size themselves from their font (which makes them a pixel or two taller on some systems).
constexpr DWORD kToolbarStyle =
    TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER | CCS_NORESIZE;
constexpr DWORD kStatusStyle = CCS_NORESIZE | CCS_NOPARENTALIGN;

// Stacking order is table order, which is also the tab order of the controls that stop. The
// play buttons' start states come from the command table.
// clang-format off
constexpr std::array<ControlRow, 15> kControls = {{
    {IDC_TntToolBar1,     0,             TOOLBARCLASSNAMEW, {0, 0, 629, 38},     nullptr,   kToolbarStyle, 0},
    {IDC_TntStatusBar1,   0,             STATUSCLASSNAMEW,  {0, 404, 629, 19},   nullptr,   kStatusStyle, 0},
    {IDC_TntLabel1,       0,             WC_STATICW,        {336, 136, 270, 13}, L"MS PowerPoint or MS PowerPoint Viewer executable file:", kLabel, 0},
    {IDC_TntLabel2,       0,             WC_STATICW,        {336, 56, 77, 13},   L"Start on monitor:", kLabel, 0},
    {IDC_TntSpeedButton1, 0,             WC_BUTTONW,        {592, 160, 23, 22},  L"",        BS_PUSHBUTTON | BS_ICON, 0},
    {IDC_ListView1,       0,             WC_LISTVIEWW,      {0, 38, 329, 366},   L"",        kListStyle, WS_EX_CLIENTEDGE},
    {IDC_TntEdit1,        0,             WC_EDITW,          {336, 160, 257, 21}, kProgramPrompt, kReadOnlyEdit, WS_EX_CLIENTEDGE},
    {IDC_TntEdit2,        0,             WC_EDITW,          {336, 80, 73, 21},   L"0",       kReadOnlyEdit, WS_EX_CLIENTEDGE},
    {IDC_TntUpDown1,      0,             UPDOWN_CLASSW,     {409, 80, 15, 21},   L"",        UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0},
    {IDC_MonitorName,     0,             WC_STATICW,        {336, 106, 281, 26}, L"",        SS_LEFT | SS_NOPREFIX, 0},
    {IDC_BitBtn1,         0,             WC_BUTTONW,        {344, 352, 81, 25},  L"Play All", WS_TABSTOP | BS_PUSHBUTTON, 0},
    {IDC_BitBtn2,         0,             WC_BUTTONW,        {440, 352, 81, 25},  L"Play Selected", WS_TABSTOP | BS_PUSHBUTTON, 0},
    {IDC_BitBtn3,         0,             WC_BUTTONW,        {536, 352, 75, 25},  L"Close",   WS_TABSTOP | BS_PUSHBUTTON, 0},
    {IDC_TntPanel1,       0,             kPanelClass,       {336, 216, 281, 97}, L"",        WS_DISABLED, 0},
    {IDC_TntMemo1,        IDC_TntPanel1, WC_EDITW,          {0, 16, 273, 81},    kTipsText,  ES_MULTILINE | ES_AUTOVSCROLL, 0},
}};
// clang-format on

constexpr int kListColumnWidth = 300;  // at 96 DPI, until the first "Add files" fits it
// The least room left between the tips panel and the push buttons below it, at 96 DPI.
constexpr int kTipsClearance = 8;

const Rect96& PlaceOf(int id) {
    return std::find_if(kControls.begin(), kControls.end(),
                        [id](const ControlRow& row) { return row.id == id; })
        ->place;
}

RECT PlaceInWindow(HWND control) {
    RECT place{};
    ::GetWindowRect(control, &place);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// The height the memo's client area needs to show every line it wraps its text into.
int WrappedTextHeight(HWND memo) {
    const auto lines = static_cast<int>(::SendMessageW(memo, EM_GETLINECOUNT, 0, 0));
    TEXTMETRICW metrics{};
    {
        const UniqueWindowDC dc(memo);
        const SelectedObject font(
            dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(memo, WM_GETFONT, 0, 0)));
        ::GetTextMetricsW(dc.get(), &metrics);
    }
    RECT format{};  // where the memo starts its first line
    ::SendMessageW(memo, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    return format.top + lines * metrics.tmHeight;
}

// The tips wrap onto more lines in the dialog font than the layout's memo holds, and a memo cut
// short hides the last tip. The memo and its panel grow downwards to the wrapped text's height,
// but stop `clearance` pixels above `below` (the push buttons); nothing else moves.
void GrowTipsToText(HWND memo, HWND panel, HWND below, int clearance) {
    const RECT memoPlace = PlaceInWindow(memo);
    const RECT panelPlace = PlaceInWindow(panel);
    const int room = PlaceInWindow(below).top - clearance - panelPlace.top - memoPlace.top;
    const int height = std::min(room, WrappedTextHeight(memo));
    if (height <= memoPlace.bottom - memoPlace.top) return;
    ::SetWindowPos(memo, nullptr, 0, 0, memoPlace.right - memoPlace.left, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int panelHeight =
        std::max<int>(panelPlace.bottom - panelPlace.top, memoPlace.top + height);
    ::SetWindowPos(panel, nullptr, 0, 0, panelPlace.right - panelPlace.left, panelHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void TForm1::CreateControls() {
    // "MS Shell Dlg 2" at 8 points; every control takes this font when it is made.
    font_ = CreateUiFont(PointsToPixels(8), L"MS Shell Dlg 2");
    CreateLayout(kControls, static_cast<HFONT>(font_.get()));
    CreateToolbar();

    const HWND status = Control(IDC_TntStatusBar1);
    int parts[] = {-1};
    ::SendMessageW(status, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    const std::wstring address = MakerWebAddress();
    ::SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(address.c_str()));

    GrowLabelToText(Control(IDC_TntLabel1));
    GrowLabelToText(Control(IDC_TntLabel2));
    GrowTipsToText(Control(IDC_TntMemo1), Control(IDC_TntPanel1), Control(IDC_BitBtn1),
                   Scale(kTipsClearance));

    const HWND list = Control(IDC_ListView1);
    constexpr DWORD kListExStyle = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
    ListView_SetExtendedListViewStyleEx(list, kListExStyle, kListExStyle);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = Scale(kListColumnWidth);
    column.pszText = const_cast<wchar_t*>(L"PowerPoint presentation play file list");
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));

    const HWND upDown = Control(IDC_TntUpDown1);
    ::SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Control(IDC_TntEdit2)), 0);
    // Setting the buddy lets the arrows pick a place and width of their own; keep the layout's.
    const RECT upDownBounds = ScaledBounds(PlaceOf(IDC_TntUpDown1));
    ::SetWindowPos(upDown, nullptr, upDownBounds.left, upDownBounds.top, upDownBounds.right,
                   upDownBounds.bottom, SWP_NOZORDER | SWP_NOACTIVATE);

    RunGuarded(pictureErrors_, [this] {
        speedButtonGlyph_ = CreateOpenFolderGlyph(Scale(kGlyphSize));
        ::SendMessageW(Control(IDC_TntSpeedButton1), BM_SETIMAGE, IMAGE_ICON,
                       reinterpret_cast<LPARAM>(speedButtonGlyph_.get()));
    });
    ApplyStartStates();
}

}  // namespace tidewell
