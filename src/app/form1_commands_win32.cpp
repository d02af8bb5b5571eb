// The main window's command table: every command id with its caption, toolbar picture, context
// menu caption, start state and handler. The toolbar, the menu bar, the context menu, the dispatch
// and the start states are all built from it, so that a command lives in one row.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/form1_win32.h"
#include "app/resource.h"
#include "common/images_win32.h"
#include "common/toolbar_width_win32.h"

namespace tidewell {

namespace {

enum class CommandPlace { Toolbar, Button, FileMenu, EditMenu, HelpMenu };

// The toolbar's buttons at 96 DPI; buttons that do not size themselves take this size.
constexpr int kToolButtonWidth = 66;
constexpr int kToolButtonHeight = 36;

}  // namespace

struct TForm1::Command {
    int id;
    CommandPlace place;
    const wchar_t* caption;         // toolbar and menu bar; push buttons have theirs in the layout
    const wchar_t* contextCaption;  // nullptr: not in the context menu
    int image;                      // toolbar picture, or -1
    bool autoSize;                  // a toolbar button as wide as its caption
    bool enabled;                   // at start
    void (*run)(TForm1&);
};

// The context menu's items share the ids of the controls whose clicks they perform, so "play
// selected" runs the play handler with BitBtn2 as sender.
// clang-format off
const TForm1::Command TForm1::kCommands[] = {
    {IDC_ToolButton1, CommandPlace::Toolbar, L"Add files", L"Add files", kImageDocument, true, true, [](TForm1& f) { f.ToolButton1Click(); }},
    {IDC_ToolButton2, CommandPlace::Toolbar, L"Add folder", L"Add folder", kImageFolder, true, true, [](TForm1& f) { f.ToolButton2Click(); }},
    {IDC_ToolButton3, CommandPlace::Toolbar, L"Remove", L"Remove", kImageRemove, false, false, [](TForm1& f) { f.ToolButton3Click(); }},
    {IDC_ToolButton4, CommandPlace::Toolbar, L"Remove all", L"Remove all", kImageRemoveAll, false, false, [](TForm1& f) { f.ToolButton4Click(); }},
    {IDC_ToolButton5, CommandPlace::Toolbar, L"Move up", L"Move up", kImageArrowUp, false, false, [](TForm1& f) { f.ToolButton5Click(); }},
    {IDC_ToolButton6, CommandPlace::Toolbar, L"Move down", L"Move down", kImageArrowDown, false, false, [](TForm1& f) { f.ToolButton6Click(); }},
    {IDC_ToolButton7, CommandPlace::Toolbar, L"Save setting", nullptr, kImageArrowDownOntoBar, false, false, [](TForm1& f) { f.ToolButton7Click(); }},
    {IDC_ToolButton8, CommandPlace::Toolbar, L"Load setting", nullptr, kImageArrowUpToBar, true, true, [](TForm1& f) { f.ToolButton8Click(); }},
    {IDC_TntSpeedButton1, CommandPlace::Button, nullptr, nullptr, -1, false, true, [](TForm1& f) { f.TntSpeedButton1Click(); }},
    {IDC_BitBtn1, CommandPlace::Button, nullptr, L"Play all", -1, false, false, [](TForm1& f) { f.BitBtn1Click(PlaySender::PlayAll); }},
    {IDC_BitBtn2, CommandPlace::Button, nullptr, L"play selected", -1, false, false, [](TForm1& f) { f.BitBtn1Click(PlaySender::PlaySelected); }},
    {IDC_BitBtn3, CommandPlace::Button, nullptr, nullptr, -1, false, true, [](TForm1& f) { f.BitBtn3Click(); }},
    {IDM_EntrySettings, CommandPlace::EditMenu, L"Entry settings...", L"Entry settings...", -1, false, false, [](TForm1& f) { f.EntrySettingsClick(); }},
    {IDM_Exit1, CommandPlace::FileMenu, L"Exit", nullptr, -1, false, true, [](TForm1& f) { f.Exit1Click(); }},
    {IDM_Help2, CommandPlace::HelpMenu, L"Help", nullptr, -1, false, true, [](TForm1& f) { f.Help2Click(); }},
    {IDM_Hollowfinswebsite1, CommandPlace::HelpMenu, L"Hollowfin's web site", nullptr, -1, false, true, [](TForm1& f) { f.Hollowfinswebsite1Click(); }},
    {IDM_Emailsupport1, CommandPlace::HelpMenu, L"Email support", nullptr, -1, false, true, [](TForm1& f) { f.Emailsupport1Click(); }},
    {IDM_About1, CommandPlace::HelpMenu, L"About", nullptr, -1, false, true, [](TForm1& f) { f.About1Click(); }},
};
// clang-format on

HMENU TForm1::CreateMenus() {
    HMENU file = ::CreatePopupMenu();
    HMENU edit = ::CreatePopupMenu();
    HMENU help = ::CreatePopupMenu();
    contextMenu_.reset(::CreatePopupMenu());
    for (const Command& command : kCommands) {
        const HMENU menu = command.place == CommandPlace::FileMenu   ? file
                           : command.place == CommandPlace::EditMenu ? edit
                           : command.place == CommandPlace::HelpMenu ? help
                                                                     : nullptr;
        if (menu) {
            ::AppendMenuW(menu, MF_STRING | (command.enabled ? 0 : MF_GRAYED), command.id,
                          command.caption);
        }
        if (command.contextCaption) {
            ::AppendMenuW(contextMenu_.get(), MF_STRING | (command.enabled ? 0 : MF_GRAYED),
                          command.id, command.contextCaption);
        }
    }
    HMENU bar = ::CreateMenu();
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"Edit");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"Help");
    return bar;
}

void TForm1::CreateToolbar() {
    const HWND toolbar = Control(IDC_TntToolBar1);
    ::SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Without its images the toolbar still has every button, with its caption.
    RunGuarded(pictureErrors_, [&] {
        toolbarImages_ = settings_.drawToolbarImages(Scale(kGlyphSize));
        ::SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbarImages_.get()));
    });

    std::vector<TBBUTTON> buttons;
    for (const Command& command : kCommands) {
        if (command.place != CommandPlace::Toolbar) continue;
        TBBUTTON button{};
        button.iBitmap = command.image;
        button.idCommand = command.id;
        button.fsState = command.enabled ? TBSTATE_ENABLED : 0;
        button.fsStyle = BTNS_BUTTON | (command.autoSize ? BTNS_AUTOSIZE : 0);
        button.iString = reinterpret_cast<INT_PTR>(command.caption);
        buttons.push_back(button);
    }
    ::SendMessageW(toolbar, TB_ADDBUTTONSW, buttons.size(),
                   reinterpret_cast<LPARAM>(buttons.data()));
    // The standard width cuts "Save setting" in Tahoma, the face behind "MS Shell Dlg 2".
    const int width = FixedButtonWidth(toolbar, Scale(kToolButtonWidth), Scale(kGlyphSize));
    ::SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(width, Scale(kToolButtonHeight)));
}

void TForm1::ApplyStartStates() {
    for (const Command& command : kCommands) {
        if (command.place == CommandPlace::Button) {
            ::EnableWindow(Control(command.id), command.enabled ? TRUE : FALSE);
        }
    }
}

void TForm1::OnCommand(int id) {
    for (const Command& command : kCommands) {
        if (command.id == id) {
            command.run(*this);
            return;
        }
    }
}

void TForm1::SetCommandEnabled(int commandId, bool enabled) {
    ::SendMessageW(Control(IDC_TntToolBar1), TB_ENABLEBUTTON, commandId,
                   MAKELPARAM(enabled ? TRUE : FALSE, 0));
    for (const HMENU menu : {contextMenu_.get(), ::GetMenu(hwnd_)}) {
        ::EnableMenuItem(menu, commandId, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
    if (const HWND button = Control(commandId)) ::EnableWindow(button, enabled ? TRUE : FALSE);
}

}  // namespace tidewell
