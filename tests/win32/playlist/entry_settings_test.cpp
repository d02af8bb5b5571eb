#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <set>

#include "common/message_pump_win32.h"
#include "playlist/entry_settings_dialog_win32.h"
#include "playlist_fixture.h"
#include "support/user_input.h"
#include "support/window_queries.h"

namespace tidewell::testing::playlist_tests {
namespace {

// The open "Entry settings" dialog of this thread, if any.
HWND SettingsDialog() {
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM result) {
            wchar_t title[64]{};
            ::GetWindowTextW(window, title, 64);
            if (std::wstring_view(title).starts_with(kEntrySettingsTitle)) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

class EntrySettingsDialogTest : public PlaylistFixture {
  protected:
    // Keys reach the list as they reach it in the program: the window shown and in front, its
    // dialog navigation run by the pump.
    void SetUp() override {
        PlaylistFixture::SetUp();
        SetNavigationWindow(form_->Handle());
        form_->ShowCentered();
        ::SetForegroundWindow(form_->Handle());
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == form_->Handle(); }));
    }
    void TearDown() override {
        SetNavigationWindow(nullptr);
        PlaylistFixture::TearDown();
    }
    // Presses Enter on the selected row and acts in the dialog it opens as the steps say, one step
    // per timer tick from inside the dialog's own loop; returns once the dialog has gone. A dialog
    // the steps leave open is closed after a few seconds, and the test fails.
    void EditWithEnter(std::vector<std::function<void(HWND)>> steps) {
        ActInDialog([] { UserInput::Key(VK_RETURN); }, std::move(steps));
    }
    // The same with the dialog opened by `open`.
    void ActInDialog(const std::function<void()>& open,
                     std::vector<std::function<void(HWND)>> steps) {
        steps_ = std::move(steps);
        next_ = 0;
        ticks_ = 0;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &EntrySettingsDialogTest::Tick);
        open();
        const bool done = PumpUntil([&] { return next_ == steps_.size() && !SettingsDialog(); });
        ::KillTimer(nullptr, timer);
        EXPECT_TRUE(done);
        EXPECT_TRUE(dialogs_.errors.empty()) << dialogs_.errors.front();
        EXPECT_LT(ticks_, kGiveUpTicks) << "the steps did not close the dialog";
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        const HWND dialog = SettingsDialog();
        if (!dialog) return;
        if (next_ < steps_.size()) return steps_[next_++](dialog);
        if (++ticks_ == kGiveUpTicks) ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
    static constexpr int kGiveUpTicks = 150;
    static inline std::vector<std::function<void(HWND)>> steps_;
    static inline std::size_t next_ = 0;
    static inline int ticks_ = 0;

    static void Click(HWND dialog, int id) {
        ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    }
};

TEST_F(EntrySettingsDialogTest, EnterOnRow_DialogSetsTheSelectedEntryOnly) {
    Fill({L"C:\\Shows\\Welcome.pptx", L"C:\\Shows\\Breakfast.pptx"});
    ClickRow(1);
    EditWithEnter({[](HWND) { UserInput::Key('N', VK_MENU); },
                   [](HWND dialog) {
                       EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, kAdvanceEdit)) << "Alt+N";
                       ::SetDlgItemTextW(dialog, kShowForEdit, L"300");
                       Click(dialog, kFirstDayBox + 5);  // Saturday off
                       Click(dialog, kFirstDayBox + 6);  // Sunday off
                       Click(dialog, kHoursBox);
                   },
                   [](HWND dialog) { Click(dialog, IDOK); }});
    EXPECT_TRUE(List().Entry(0).settings.Empty());
    EXPECT_EQ(FormatEntryLine(List().Entry(1)),
              L"C:\\Shows\\Breakfast.pptx\tdays=Mon-Fri\thours=08:00-17:00\tshowfor=300");

    // Opened again, the dialog shows what the entry has; Cancel keeps it.
    EditWithEnter({[](HWND dialog) {
        wchar_t text[16]{};
        ::GetDlgItemTextW(dialog, kShowForEdit, text, 16);
        EXPECT_STREQ(text, L"300");
        EXPECT_EQ(::SendDlgItemMessageW(dialog, kFirstDayBox + 5, BM_GETCHECK, 0, 0),
                  BST_UNCHECKED);
        ::SetDlgItemTextW(dialog, kShowForEdit, L"");
        Click(dialog, IDCANCEL);
    }});
    EXPECT_EQ(List().Entry(1).settings.showForSeconds, 300);
}

// The dialog's texts and controls, in the order of the tab.
std::vector<HWND> DialogControls(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        controls.push_back(c);
    return controls;
}

bool IsCheckBox(HWND control) {
    const auto type = ::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE;
}

// Every text whole in the dialog's font, inside the dialog and over no other control; every access
// key the only one of its letter, leading into a field.
void ExpectWholeTextsAndAccessKeys(HWND dialog) {
    RECT client{};
    ::GetClientRect(dialog, &client);
    const std::vector<HWND> controls = DialogControls(dialog);
    std::set<wchar_t> keys;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        std::wstring text = TextOf(controls[i]);
        SCOPED_TRACE(::testing::PrintToString(text));
        if (const std::size_t mark = text.find(L'&'); mark != std::wstring::npos) {
            EXPECT_TRUE(keys.insert(static_cast<wchar_t>(std::towupper(text[mark + 1]))).second)
                << "an access key twice";
            text.erase(mark, 1);
            const HWND field = IsCheckBox(controls[i]) ? controls[i] : controls.at(i + 1);
            EXPECT_TRUE(::GetWindowLongW(field, GWL_STYLE) & WS_TABSTOP) << "leads to no field";
        }
        const RECT place = PlaceInParent(controls[i]);
        SIZE ideal{};
        if (IsCheckBox(controls[i])) {
            EXPECT_TRUE(
                ::SendMessageW(controls[i], BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
        }
        EXPECT_GE(place.right, std::max<LONG>(ideal.cx, TextWidthInOwnFont(controls[i], text)))
            << "cut";
        EXPECT_LE(place.left + place.right, client.right) << "outside the dialog";
        RECT a{};
        ::GetWindowRect(controls[i], &a);
        for (std::size_t j = 0; j < i; ++j) {
            RECT b{};
            RECT both{};
            ::GetWindowRect(controls[j], &b);
            EXPECT_FALSE(::IntersectRect(&both, &a, &b)) << "over " << ::GetDlgCtrlID(controls[j]);
        }
    }
    EXPECT_GE(keys.size(), 6u);
}

TEST_F(EntrySettingsDialogTest, At96And144Dpi_EveryTextWholeEveryAccessKeyUniqueIntoAField) {
    const std::vector<EntrySettings> settings(1);
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(::testing::Message() << dpi << " DPI");
        ActInDialog([&] { RunEntrySettingsDialog(form_->Handle(), settings, dpi); },
                    {[dpi](HWND dialog) {
                        EXPECT_EQ(FontOf(dialog).lfHeight, -::MulDiv(8, dpi, 72));
                        ExpectWholeTextsAndAccessKeys(dialog);
                        Click(dialog, IDCANCEL);
                    }});
    }
}

}  // namespace
}  // namespace tidewell::testing::playlist_tests
