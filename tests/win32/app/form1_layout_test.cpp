// The main window as a user first sees it: every control where the layout puts it, with its text
// and state, the toolbar, the menus, the dialogs' settings and the tab order.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/resource.h"
#include "support/standin_support.h"
#include "support/form_fixture.h"
#include "support/window_queries.h"

namespace tidewell::testing {
namespace {

std::wstring MenuText(HMENU menu, int position) {
    wchar_t text[256] = {};
    ::GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
    return text;
}

bool MenuItemEnabled(HMENU menu, int position) {
    return (::GetMenuState(menu, position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
}

class Form1Layout : public FormFixture {};

// How many pixels the control paints in each of two colours, painting itself as it does on
// screen but into a DC whose text colour starts as `start`: only what the window sets while the
// control paints decides the colour of the text.
struct TextColours {
    int windowText = 0;
    int start = 0;
};

TextColours PaintTextColours(HWND control, COLORREF start) {
    RECT client{};
    ::GetClientRect(control, &client);
    const HDC screen = ::GetDC(nullptr);
    const HDC dc = ::CreateCompatibleDC(screen);
    const HBITMAP canvas = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    ::ReleaseDC(nullptr, screen);
    const HGDIOBJ previous = ::SelectObject(dc, canvas);
    ::SetTextColor(dc, start);
    ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                   PRF_CLIENT | PRF_ERASEBKGND);
    TextColours counts;
    const COLORREF windowText = ::GetSysColor(COLOR_WINDOWTEXT);
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            const COLORREF pixel = ::GetPixel(dc, x, y);
            counts.windowText += pixel == windowText;
            counts.start += pixel == start;
        }
    }
    ::SelectObject(dc, previous);
    ::DeleteObject(canvas);
    ::DeleteDC(dc);
    return counts;
}

// The tips memo and its panel grow downwards to the tips' wrapped height.
bool GrowsToText(int id) {
    return id == IDC_TntPanel1 || id == IDC_TntMemo1;
}

struct ControlCase {
    int id;
    const char* name;
    RECT place;  // left, top, width, height at 96 DPI
    const wchar_t* text;
    bool enabled;
};

TEST_F(Form1Layout, FirstStart_EveryControlHasItsPlaceTextAndState) {
    CreateForm();
    ASSERT_EQ(::GetDeviceCaps(::GetDC(nullptr), LOGPIXELSY), 96)
        << "the layout is checked at 96 DPI";
    const ControlCase cases[] = {
        {IDC_TntLabel1,
         "TntLabel1",
         {336, 136, 270, 13},
         L"MS PowerPoint or MS PowerPoint Viewer executable file:",
         true},
        {IDC_TntLabel2, "TntLabel2", {336, 56, 77, 13}, L"Start on monitor:", true},
        {IDC_TntSpeedButton1, "TntSpeedButton1", {592, 160, 23, 22}, L"", true},
        {IDC_ListView1, "ListView1", {0, 38, 329, 366}, L"", true},
        {IDC_TntEdit1,
         "TntEdit1",
         {336, 160, 257, 21},
         L"Please mouse click right button to select PowerPoint executable file name-> ",
         true},
        {IDC_TntEdit2, "TntEdit2", {336, 80, 73, 21}, L"1", true},
        {IDC_TntUpDown1, "TntUpDown1", {409, 80, 15, 21}, nullptr, true},
        {IDC_BitBtn1, "BitBtn1", {344, 352, 81, 25}, L"Play All", false},
        {IDC_BitBtn2, "BitBtn2", {440, 352, 81, 25}, L"Play Selected", false},
        {IDC_BitBtn3, "BitBtn3", {536, 352, 75, 25}, L"Close", true},
        {IDC_TntPanel1, "TntPanel1", {336, 216, 281, 97}, L"", false},
        {IDC_TntMemo1, "TntMemo1", {0, 16, 273, 81}, nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND control = Control(c.id);
        ASSERT_NE(control, nullptr);
        const RECT place = PlaceInParent(control);
        EXPECT_EQ(place.left, c.place.left);
        EXPECT_EQ(place.top, c.place.top);
        const bool isLabel = c.id == IDC_TntLabel1 || c.id == IDC_TntLabel2;
        if (isLabel) {
            // Labels grow to fit their text where the system font runs wider.
            EXPECT_GE(place.right, c.place.right) << "width";
            HDC dc = ::GetDC(control);
            ::SelectObject(dc,
                           reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
            SIZE extent{};
            ::GetTextExtentPoint32W(dc, c.text, static_cast<int>(wcslen(c.text)), &extent);
            ::ReleaseDC(control, dc);
            EXPECT_GE(place.right, extent.cx) << "the whole text fits on one line";
        } else {
            EXPECT_EQ(place.right, c.place.right) << "width";
        }
        if (GrowsToText(c.id)) {
            EXPECT_GE(place.bottom, c.place.bottom) << "height";
        } else {
            EXPECT_EQ(place.bottom, c.place.bottom) << "height";
        }
        if (c.text) EXPECT_EQ(TextOf(control), c.text);
        EXPECT_EQ(::IsWindowEnabled(control) != FALSE, c.enabled);
    }

    RECT client{};
    ::GetClientRect(form_->Handle(), &client);
    EXPECT_EQ(client.right, 629);
    EXPECT_EQ(client.bottom, 423);
    EXPECT_EQ(TextOf(form_->Handle()), L"Tidewell");
    const LONG style = ::GetWindowLongW(form_->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the frame is not resizable";

    EXPECT_EQ(PlaceInParent(Control(IDC_TntStatusBar1)).top, 404);
    EXPECT_EQ(TextOf(Control(IDC_TntStatusBar1)), L"http://www.hollowfin.com");
    // The memo wraps the five tip lines at its width; its text holds them as they are.
    EXPECT_EQ(TextOf(Control(IDC_TntMemo1)),
              L"Tips:\r\nYou can mouse drag and drop PowerPoint presentation \r\n"
              L"files from desktop to file list. \r\nYou can mouse drag and drop file list item "
              L"to adjust play \r\norder.");
}

// Where each control of the main window sits when it is laid out at `dpi`: its place in its
// parent, and the parent's client size.
struct LaidOut {
    RECT client{};
    std::vector<RECT> places;
    std::vector<SIZE> parentSizes;
    std::vector<int> textWidths;  // in the control's own font
};

constexpr int kLaidOutIds[] = {
    IDC_TntToolBar1, IDC_TntStatusBar1, IDC_TntLabel1, IDC_TntLabel2,  IDC_TntSpeedButton1,
    IDC_ListView1,   IDC_TntEdit1,      IDC_TntEdit2,  IDC_TntUpDown1, IDC_BitBtn1,
    IDC_BitBtn2,     IDC_BitBtn3,       IDC_TntPanel1, IDC_TntMemo1,   IDC_MonitorName};

bool IsLabel(int id) {
    return id == IDC_TntLabel1 || id == IDC_TntLabel2;
}

// No two controls of the same parent cover each other. The layout lets the program field run one
// design pixel under the button beside it, which the slack allows.
void ExpectNoOverlap(const LaidOut& laidOut, int dpi) {
    SCOPED_TRACE(::testing::Message() << dpi << " DPI");
    const int slack = ::MulDiv(1, dpi, 96) + 1;
    for (std::size_t i = 0; i < std::size(kLaidOutIds); ++i) {
        for (std::size_t j = i + 1; j < std::size(kLaidOutIds); ++j) {
            if ((kLaidOutIds[i] == IDC_TntMemo1) != (kLaidOutIds[j] == IDC_TntMemo1)) continue;
            const RECT& a = laidOut.places[i];
            const RECT& b = laidOut.places[j];
            const LONG across =
                std::min(a.left + a.right, b.left + b.right) - std::max(a.left, b.left);
            const LONG down = std::min(a.top + a.bottom, b.top + b.bottom) - std::max(a.top, b.top);
            EXPECT_FALSE(across > slack && down > slack)
                << "controls " << kLaidOutIds[i] << " and " << kLaidOutIds[j] << " overlap";
        }
    }
}

class Form1Scaling : public FormFixture {
  protected:
    LaidOut LayOutAt(int dpi) {
        TForm1 form({&dialogs_, &shell_, MonitorsOfSize({{0, 0, 1024, 768}}), keyPath_, dpi});
        form.Create();
        LaidOut result;
        ::GetClientRect(form.Handle(), &result.client);
        for (int id : kLaidOutIds) {
            const HWND control = form.Control(id);
            RECT parent{};
            ::GetClientRect(::GetParent(control), &parent);
            result.places.push_back(PlaceInParent(control));
            result.parentSizes.push_back({parent.right, parent.bottom});
            result.textWidths.push_back(TextWidthInOwnFont(control));
        }
        return result;
    }
};

TEST_F(Form1Scaling, At144Dpi_EveryPlaceScaledOnceNothingOverlapsAllInside) {
    const LaidOut small = LayOutAt(96);
    const LaidOut large = LayOutAt(144);
    const auto scaled = [](LONG v) { return ::MulDiv(v, 144, 96); };
    EXPECT_EQ(large.client.right, scaled(small.client.right));
    EXPECT_EQ(large.client.bottom, scaled(small.client.bottom));
    for (std::size_t i = 0; i < std::size(kLaidOutIds); ++i) {
        SCOPED_TRACE(kLaidOutIds[i]);
        const RECT& a = small.places[i];  // left, top, width, height
        const RECT& b = large.places[i];
        EXPECT_NEAR(b.left, scaled(a.left), 1);
        EXPECT_NEAR(b.top, scaled(a.top), 1);
        if (!GrowsToText(kLaidOutIds[i])) {
            EXPECT_NEAR(b.bottom, scaled(a.bottom), 1) << "height";
        }
        // Labels grow to fit their text, whose width need not scale exactly with the font.
        if (IsLabel(kLaidOutIds[i])) {
            EXPECT_GE(b.right, large.textWidths[i]) << "the label cuts its text";
        } else {
            EXPECT_NEAR(b.right, scaled(a.right), 1) << "width";
        }
        EXPECT_GE(b.left, 0);
        EXPECT_GE(b.top, 0);
        EXPECT_LE(b.left + b.right, large.parentSizes[i].cx) << "inside its parent";
        EXPECT_LE(b.top + b.bottom, large.parentSizes[i].cy) << "inside its parent";
    }
    ExpectNoOverlap(small, 96);
    ExpectNoOverlap(large, 144);
}

// The tips in the dialog font (Tahoma) wrap onto more lines than the layout's memo height holds;
// the memo must show every one of them, its panel must hold it, and both stay above the buttons.
TEST_F(Form1Scaling, TipsMemo_ShowsEveryWrappedLineInTahomaAt96And144Dpi) {
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(::testing::Message() << dpi << " DPI");
        TForm1 form({&dialogs_, &shell_, MonitorsOfSize({{0, 0, 1024, 768}}), keyPath_, dpi});
        form.Create();
        const HWND memo = form.Control(IDC_TntMemo1);
        // The family of the font file drawn with, not the name asked for ("MS Shell Dlg 2").
        const HDC dc = ::GetDC(memo);
        const HGDIOBJ previous =
            ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(memo, WM_GETFONT, 0, 0)));
        const UINT size = ::GetOutlineTextMetricsW(dc, 0, nullptr);
        std::vector<BYTE> outline(std::max<std::size_t>(size, sizeof(OUTLINETEXTMETRICW)));
        auto* described = reinterpret_cast<OUTLINETEXTMETRICW*>(outline.data());
        const bool outlined = size > 0 && ::GetOutlineTextMetricsW(dc, size, described);
        ::SelectObject(dc, previous);
        ::ReleaseDC(memo, dc);
        ASSERT_TRUE(outlined);
        const std::wstring face = reinterpret_cast<const wchar_t*>(
            outline.data() + reinterpret_cast<std::size_t>(described->otmpFamilyName));
        ASSERT_EQ(face, L"Tahoma") << "the dialog font is not the one Windows uses";
        const TEXTMETRICW& metrics = described->otmTextMetrics;

        RECT client{};
        ::GetClientRect(memo, &client);
        const auto lines = static_cast<int>(::SendMessageW(memo, EM_GETLINECOUNT, 0, 0));
        EXPECT_GT(lines, 5) << "the tips no longer wrap; this test checks nothing";
        EXPECT_LE(lines * metrics.tmHeight, client.bottom);
        // The last letter of "order." is drawn inside the memo, with nothing scrolled away.
        const auto length = static_cast<WPARAM>(::GetWindowTextLengthW(memo));
        const LRESULT last = ::SendMessageW(memo, EM_POSFROMCHAR, length - 1, 0);
        EXPECT_LE(static_cast<short>(HIWORD(last)) + metrics.tmHeight, client.bottom);
        EXPECT_EQ(::SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

        const RECT memoPlace = PlaceInParent(memo);
        RECT panel{};
        ::GetClientRect(form.Control(IDC_TntPanel1), &panel);
        EXPECT_LE(memoPlace.top + memoPlace.bottom, panel.bottom) << "the panel cuts the memo";
        const RECT panelPlace = PlaceInParent(form.Control(IDC_TntPanel1));
        EXPECT_LT(panelPlace.top + panelPlace.bottom, PlaceInParent(form.Control(IDC_BitBtn1)).top);
    }
}

TEST_F(Form1Layout, ListAndEdits_HaveTheirStylesAndFonts) {
    CreateForm();
    const LONG list = ::GetWindowLongW(Control(IDC_ListView1), GWL_STYLE);
    EXPECT_EQ(list & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(list & LVS_SINGLESEL);
    EXPECT_TRUE(list & LVS_SHOWSELALWAYS);
    EXPECT_FALSE(list & LVS_EDITLABELS);
    const DWORD extended = static_cast<DWORD>(
        ::SendMessageW(Control(IDC_ListView1), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(extended & LVS_EX_GRIDLINES);

    wchar_t heading[128] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = heading;
    column.cchTextMax = 128;
    ASSERT_TRUE(::SendMessageW(Control(IDC_ListView1), LVM_GETCOLUMNW, 0,
                               reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(heading, L"PowerPoint presentation play file list");
    EXPECT_EQ(column.cx, 300);
    EXPECT_FALSE(::SendMessageW(Control(IDC_ListView1), LVM_GETCOLUMNW, 1,
                                reinterpret_cast<LPARAM>(&column)))
        << "one column only";
    EXPECT_EQ(::SendMessageW(Control(IDC_ListView1), LVM_GETITEMCOUNT, 0, 0), 0);

    EXPECT_TRUE(::GetWindowLongW(Control(IDC_TntEdit1), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(::GetWindowLongW(Control(IDC_TntEdit2), GWL_STYLE) & ES_READONLY);

    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(Control(IDC_BitBtn3), WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    ASSERT_TRUE(::GetObjectW(font, sizeof(logFont), &logFont));
    EXPECT_STREQ(logFont.lfFaceName, L"MS Shell Dlg 2");
    EXPECT_EQ(logFont.lfHeight, -11);
}

TEST_F(Form1Layout, Toolbar_HasEightButtonsWithCaptionsImagesAndStartStates) {
    CreateForm();
    struct ButtonCase {
        int id;
        const wchar_t* caption;
        bool enabled;
    };
    const ButtonCase cases[] = {
        {IDC_ToolButton1, L"Add files", true},     {IDC_ToolButton2, L"Add folder", true},
        {IDC_ToolButton3, L"Remove", false},       {IDC_ToolButton4, L"Remove all", false},
        {IDC_ToolButton5, L"Move up", false},      {IDC_ToolButton6, L"Move down", false},
        {IDC_ToolButton7, L"Save setting", false}, {IDC_ToolButton8, L"Load setting", true},
    };
    ASSERT_EQ(::SendMessageW(Control(IDC_TntToolBar1), TB_BUTTONCOUNT, 0, 0), 8);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        TBBUTTON button{};
        ASSERT_TRUE(::SendMessageW(Control(IDC_TntToolBar1), TB_GETBUTTON, i,
                                   reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(button.idCommand, cases[i].id);
        EXPECT_EQ(button.iBitmap, i);
        wchar_t caption[64] = {};
        ::SendMessageW(Control(IDC_TntToolBar1), TB_GETBUTTONTEXTW, cases[i].id,
                       reinterpret_cast<LPARAM>(caption));
        EXPECT_STREQ(caption, cases[i].caption);
        EXPECT_EQ(IsCommandEnabled(cases[i].id), cases[i].enabled);
    }
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
        ::SendMessageW(Control(IDC_TntToolBar1), TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(::ImageList_GetImageCount(images), 8);
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    EXPECT_EQ(PlaceInParent(Control(IDC_TntToolBar1)).bottom, 38) << "toolbar height";
}

// The width the toolbar control itself gives `caption` on an auto-sized button, with the real
// toolbar's font and images: what a caption needs so that the control does not cut it.
int AutoSizedWidth(HWND real, const std::wstring& caption) {
    const HWND probe = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                         WS_CHILD | TBSTYLE_FLAT | CCS_NORESIZE | CCS_NODIVIDER, 0,
                                         0, 600, 40, ::GetParent(real), nullptr, nullptr, nullptr);
    ::SendMessageW(probe, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(probe, WM_SETFONT, ::SendMessageW(real, WM_GETFONT, 0, 0), FALSE);
    ::SendMessageW(probe, TB_SETIMAGELIST, 0, ::SendMessageW(real, TB_GETIMAGELIST, 0, 0));
    TBBUTTON button{};
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
    button.iString = reinterpret_cast<INT_PTR>(caption.c_str());
    ::SendMessageW(probe, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    RECT place{};
    ::SendMessageW(probe, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&place));
    ::SendMessageW(probe, TB_SETIMAGELIST, 0, 0);  // the real toolbar owns the list
    ::DestroyWindow(probe);
    return place.right - place.left;
}

TEST_F(Form1Layout, ToolbarCaptions_NoneIsCutAndFixedButtonsShareTheWidestNeed) {
    CreateForm();
    const HWND toolbar = Control(IDC_TntToolBar1);
    RECT bar{};
    ::GetClientRect(toolbar, &bar);
    std::vector<int> fixedWidths;
    const int count = static_cast<int>(::SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        ::SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        wchar_t caption[64] = {};
        ::SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand,
                       reinterpret_cast<LPARAM>(caption));
        SCOPED_TRACE(::testing::Message() << "button " << i);
        RECT place{};
        ::SendMessageW(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&place));
        const int width = place.right - place.left;
        EXPECT_GE(width, AutoSizedWidth(toolbar, caption)) << "the caption is cut";
        EXPECT_LE(place.right, bar.right) << "the button runs past the toolbar";
        if (!(button.fsStyle & BTNS_AUTOSIZE)) fixedWidths.push_back(width);
    }
    ASSERT_EQ(fixedWidths.size(), 5u);
    for (const int width : fixedWidths) {
        EXPECT_EQ(width, fixedWidths.front()) << "the fixed buttons differ in width";
        EXPECT_GE(width, 66) << "narrower than the standard width";
    }
}

TEST_F(Form1Layout, PushButtons_AreAsWideAsTheirCaptionsNeed) {
    CreateForm();
    for (const int id : {IDC_BitBtn1, IDC_BitBtn2, IDC_BitBtn3}) {
        SIZE ideal{};
        ASSERT_TRUE(
            ::SendMessageW(Control(id), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
        EXPECT_GT(ideal.cx, TextWidthInOwnFont(Control(id))) << "button " << id;
        EXPECT_LE(ideal.cx, PlaceInParent(Control(id)).right) << "button " << id;
    }
}

TEST_F(Form1Layout, Menus_HaveTheirItemsAndStartStates) {
    CreateForm();
    HMENU bar = ::GetMenu(form_->Handle());
    ASSERT_EQ(::GetMenuItemCount(bar), 3);
    EXPECT_EQ(MenuText(bar, 0), L"File");
    EXPECT_EQ(MenuText(bar, 1), L"Edit");
    EXPECT_EQ(MenuText(bar, 2), L"Help");
    HMENU file = ::GetSubMenu(bar, 0);
    ASSERT_EQ(::GetMenuItemCount(file), 1);
    EXPECT_EQ(MenuText(file, 0), L"Exit");
    HMENU edit = ::GetSubMenu(bar, 1);
    ASSERT_EQ(::GetMenuItemCount(edit), 1);
    EXPECT_EQ(MenuText(edit, 0), L"Entry settings...");
    EXPECT_FALSE(MenuItemEnabled(edit, 0)) << "no entry is selected at start";
    HMENU help = ::GetSubMenu(bar, 2);
    const wchar_t* helpItems[] = {L"Help", L"Hollowfin's web site", L"Email support", L"About"};
    ASSERT_EQ(::GetMenuItemCount(help), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(MenuText(help, i), helpItems[i]);
        EXPECT_TRUE(MenuItemEnabled(help, i));
    }

    struct PopupCase {
        const wchar_t* caption;
        int id;
        bool enabled;
    };
    const PopupCase popup[] = {
        {L"Add files", IDC_ToolButton1, true},
        {L"Add folder", IDC_ToolButton2, true},
        {L"Remove", IDC_ToolButton3, false},
        {L"Remove all", IDC_ToolButton4, false},
        {L"Move up", IDC_ToolButton5, false},
        {L"Move down", IDC_ToolButton6, false},
        {L"Play all", IDC_BitBtn1, false},
        {L"play selected", IDC_BitBtn2, false},
        {L"Entry settings...", IDM_EntrySettings, false},
    };
    ASSERT_EQ(::GetMenuItemCount(form_->ContextMenu()), 9);
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(MenuText(form_->ContextMenu(), i), popup[i].caption);
        EXPECT_EQ(static_cast<int>(::GetMenuItemID(form_->ContextMenu(), i)), popup[i].id)
            << "the item performs the click of the control with this id";
        EXPECT_EQ(MenuItemEnabled(form_->ContextMenu(), i), popup[i].enabled);
    }
}

TEST_F(Form1Layout, FileDialogs_AreConfiguredAsTheirCommandsNeed) {
    CreateForm();
    // Each dialog as its command opens it; the script records the settings it was shown with.
    std::vector<FileDialog> shown;
    for (int i = 0; i < 4; ++i) {
        dialogs_.fileAnswers.push_back([&shown](FileDialog& dialog) {
            shown.push_back(dialog);
            return std::optional<std::vector<std::wstring>>();
        });
    }
    SetProgramPath(ExecutableFolder() + L"\\tidewell_win32_tests.exe");  // lets Save setting ask
    for (int command : {IDC_ToolButton1, IDC_TntSpeedButton1, IDC_ToolButton8, IDC_ToolButton7})
        Click(command);
    const unsigned common = FileDialog::kHideReadOnly | FileDialog::kEnableSizing;
    struct DialogCase {
        const wchar_t* name;
        FileDialog::Kind kind;
        const wchar_t* extension;
        const wchar_t* filter;
        unsigned options;
    };
    const DialogCase cases[] = {
        {L"TntOpenDialog1", FileDialog::Kind::Open, L".ppt",
         L"MS PowerPoint Presentation files|*.ppt;*.pps;*.pptx;*.ppsx",
         common | FileDialog::kAllowMultiSelect | FileDialog::kPathMustExist |
             FileDialog::kFileMustExist},
        {L"TntOpenDialog2", FileDialog::Kind::Open, L"*.exe",
         L"MS PowerPoint Viewer executable file|*.exe", common | FileDialog::kFileMustExist},
        {L"TntOpenDialog3", FileDialog::Kind::Open, L".ppsv",
         L"PowerPoint Viewer setting file|*.ppsv", common},
        {L"TntSaveDialog1", FileDialog::Kind::Save, L".ppsv",
         L"PowerPoint Viewer setting file|*.ppsv", common | FileDialog::kOverwritePrompt},
    };
    ASSERT_EQ(shown.size(), std::size(cases));
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const FileDialog& dialog = shown[i];
        const DialogCase& c = cases[i];
        SCOPED_TRACE(std::string(dialog.name.begin(), dialog.name.end()));
        EXPECT_EQ(dialog.name, c.name);
        EXPECT_EQ(dialog.kind, c.kind);
        EXPECT_EQ(dialog.defaultExtension, c.extension);
        EXPECT_EQ(dialog.filter, c.filter);
        EXPECT_EQ(dialog.options, c.options);
        EXPECT_TRUE(dialog.fileName.empty());
    }
}

TEST_F(Form1Layout, LabelsAndReadOnlyEdits_DrawTheirTextInTheWindowTextColour) {
    CreateForm();
    // A colour no scheme gives text: what the control would draw with if nothing set one.
    constexpr COLORREF kUnset = RGB(0xF0, 0x10, 0xC0);
    for (const auto& [control, name] : {std::pair{Control(IDC_TntLabel1), "TntLabel1"},
                                        std::pair{Control(IDC_TntLabel2), "TntLabel2"},
                                        std::pair{Control(IDC_TntEdit1), "TntEdit1"},
                                        std::pair{Control(IDC_TntEdit2), "TntEdit2"}}) {
        SCOPED_TRACE(name);
        const TextColours counts = PaintTextColours(control, kUnset);
        EXPECT_GT(counts.windowText, 0) << "no text in the window-text colour";
        EXPECT_EQ(counts.start, 0) << "text in a colour the window did not choose";
    }
}

TEST_F(Form1Layout, TabKey_VisitsListEditsAndButtonsInOrder) {
    CreateForm();
    const HWND expected[] = {Control(IDC_ListView1), Control(IDC_TntEdit1), Control(IDC_TntEdit2),
                             Control(IDC_BitBtn3), Control(IDC_ListView1)};
    // BitBtn1 and BitBtn2 stand between TntEdit2 and BitBtn3 but are disabled at first start.
    HWND at = Control(IDC_ListView1);
    for (std::size_t i = 1; i < std::size(expected); ++i) {
        at = ::GetNextDlgTabItem(form_->Handle(), at, FALSE);
        EXPECT_EQ(at, expected[i]) << "step " << i;
    }
    // A selected entry enables both.
    form_->Playlist().Append(L"C:\\a.ppt");
    form_->Playlist().SetSelectedIndex(0);
    EXPECT_EQ(::GetNextDlgTabItem(form_->Handle(), Control(IDC_TntEdit2), FALSE),
              Control(IDC_BitBtn1));
    EXPECT_EQ(::GetNextDlgTabItem(form_->Handle(), Control(IDC_BitBtn1), FALSE),
              Control(IDC_BitBtn2));
    EXPECT_EQ(::GetNextDlgTabItem(form_->Handle(), Control(IDC_BitBtn2), FALSE),
              Control(IDC_BitBtn3));
}

}  // namespace
}  // namespace tidewell::testing
