#include "playlist/entry_settings_layout_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "common/label_size_win32.h"

namespace tidewell {
namespace {

// In dialog units: the room around the rows and between the controls of a row, how far apart the
// rows are and how high each is, and the buttons' size.
constexpr short kMargin = 7;
constexpr short kGap = 4;
constexpr short kRowPitch = 19;
constexpr short kRowHeight = 13;
constexpr short kButtonWidth = 50;
constexpr short kButtonHeight = 14;
constexpr short kButtonGap = 5;
// What a check box draws left of its text: the box and the room after it, a little more than
// Windows and Wine draw at any density.
constexpr int kCheckBoxRoom = 14;

constexpr std::array<const wchar_t*, 7> kDayCaptions{L"Mon", L"Tue", L"Wed", L"Thu",
                                                     L"Fri", L"Sat", L"Sun"};

struct SettingsControl {
    int row;
    const wchar_t* windowClass;
    const wchar_t* text;
    int id;
    DWORD style;
    short width;  // in dialog units; a text's is only a first guess
    short height;
};

constexpr DWORD kLabel = SS_LEFTNOWORDWRAP;
constexpr DWORD kEdit = WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL;
constexpr DWORD kBox = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kTime = DTS_TIMEFORMAT | DTS_UPDOWN | WS_TABSTOP;
constexpr DWORD kDate = DTS_SHORTDATEFORMAT | DTS_SHOWNONE | WS_TABSTOP | WS_GROUP;

// Row by row, left to right, which is also the tab order: each label comes just before its field,
// so that its access key lands in the field.
std::vector<SettingsControl> Controls() {
    std::vector<SettingsControl> controls = {
        {0, WC_STATICW, L"&Show for at most", kShowForLabel, kLabel, 62, 8},
        {0, WC_EDITW, L"", kShowForEdit, kEdit | WS_GROUP, 40, 12},
        {0, WC_STATICW, L"seconds (empty: until the show ends)", kShowForUnit, kLabel, 130, 8},
        {1, WC_STATICW, L"&Next slide every", kAdvanceLabel, kLabel, 62, 8},
        {1, WC_EDITW, L"", kAdvanceEdit, kEdit, 40, 12},
        {1, WC_STATICW, L"seconds (empty: the deck's own timings)", kAdvanceUnit, kLabel, 130, 8},
        {2, WC_STATICW, L"&Days", kDaysLabel, kLabel, 62, 8},
    };
    for (int day = 0; day < 7; ++day) {
        controls.push_back({2, WC_BUTTONW, kDayCaptions[day], kFirstDayBox + day,
                            kBox | (day == 0 ? WS_GROUP : 0), 25, 10});
    }
    controls.insert(controls.end(),
                    {
                        {3, WC_BUTTONW, L"B&etween", kHoursBox, kBox | WS_GROUP, 62, 10},
                        {3, DATETIMEPICK_CLASSW, L"", kHoursStart, kTime, 60, 13},
                        {3, WC_STATICW, L"&and", kHoursAnd, kLabel, 16, 8},
                        {3, DATETIMEPICK_CLASSW, L"", kHoursEnd, kTime, 60, 13},
                        {4, WC_STATICW, L"&From", kFromLabel, kLabel, 62, 8},
                        {4, DATETIMEPICK_CLASSW, L"", kFromPicker, kDate, 90, 13},
                        {5, WC_STATICW, L"&Until", kUntilLabel, kLabel, 62, 8},
                        {5, DATETIMEPICK_CLASSW, L"", kUntilPicker, kDate, 90, 13},
                    });
    return controls;
}

constexpr int kRows = 6;
constexpr short kButtonsTop = kMargin + kRows * kRowPitch + 1;
constexpr short kFirstWidth = 250;

bool IsCheckBox(const SettingsControl& control) {
    return std::wstring_view(control.windowClass) == WC_BUTTONW;
}

bool IsText(const SettingsControl& control) {
    return IsCheckBox(control) || std::wstring_view(control.windowClass) == WC_STATICW;
}

int DialogUnits(HWND dialog, int units) {
    RECT place{0, 0, units, 0};
    ::MapDialogRect(dialog, &place);
    return place.right;
}

// Left, top, width, height in the dialog's client area.
RECT PlaceOf(HWND control) {
    RECT place{};
    ::GetWindowRect(control, &place);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return {place.left, place.top, place.right - place.left, place.bottom - place.top};
}

void MoveTo(HWND control, int left, int width) {
    const RECT place = PlaceOf(control);
    ::SetWindowPos(control, nullptr, left, place.top, width, place.bottom,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

// The width the control needs: a text its own, anything else what the template gave it.
int NeededWidth(HWND dialog, const SettingsControl& control) {
    const HWND window = ::GetDlgItem(dialog, control.id);
    if (!IsText(control)) return PlaceOf(window).right;
    const int text = MeasureLabelText(window).cx;
    return IsCheckBox(control) ? text + DialogUnits(dialog, kCheckBoxRoom) : text;
}

// Gives the dialog a client area `width` pixels wide, keeping its middle where it was.
void SetClientWidth(HWND dialog, int width) {
    RECT frame{};
    RECT client{};
    ::GetWindowRect(dialog, &frame);
    ::GetClientRect(dialog, &client);
    const int outer = width + (frame.right - frame.left) - client.right;
    const int left = (frame.left + frame.right) / 2 - outer / 2;
    ::SetWindowPos(dialog, nullptr, left, frame.top, outer, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

DialogTemplate EntrySettingsTemplate(std::wstring_view title, WORD pointSize) {
    DialogTemplate dialog(title, kFirstWidth, kButtonsTop + kButtonHeight + kMargin, pointSize);
    int row = -1;
    short left = 0;
    for (const SettingsControl& control : Controls()) {
        if (control.row != row) {
            row = control.row;
            left = kMargin;
        }
        const auto top =
            static_cast<short>(kMargin + row * kRowPitch + (kRowHeight - control.height) / 2);
        dialog.Add(control.windowClass, control.text, control.id, control.style, left, top,
                   control.width, control.height);
        left = static_cast<short>(left + control.width + kGap);
    }
    const short cancelLeft = kFirstWidth - kMargin - kButtonWidth;
    dialog.Add(WC_BUTTONW, L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP,
               cancelLeft - kButtonGap - kButtonWidth, kButtonsTop, kButtonWidth, kButtonHeight);
    dialog.Add(WC_BUTTONW, L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, cancelLeft, kButtonsTop,
               kButtonWidth, kButtonHeight);
    return dialog;
}

void FitEntrySettingsToTexts(HWND dialog) {
    const std::vector<SettingsControl> controls = Controls();
    const int margin = DialogUnits(dialog, kMargin);
    const int gap = DialogUnits(dialog, kGap);
    // The fields start where the widest label ends.
    int labels = 0;
    int row = -1;
    for (const SettingsControl& control : controls) {
        if (control.row != row) labels = std::max(labels, NeededWidth(dialog, control));
        row = control.row;
    }
    int widest = 0;
    int right = 0;
    row = -1;
    for (const SettingsControl& control : controls) {
        const HWND window = ::GetDlgItem(dialog, control.id);
        if (control.row != row) {
            row = control.row;
            MoveTo(window, margin, labels);
            right = margin + labels;
            continue;
        }
        const int width = NeededWidth(dialog, control);
        MoveTo(window, right + gap, width);
        right += gap + width;
        widest = std::max(widest, right);
    }
    const int button = DialogUnits(dialog, kButtonWidth);
    const int buttonGap = DialogUnits(dialog, kButtonGap);
    const int width = std::max(widest, margin + 2 * button + buttonGap) + margin;
    MoveTo(::GetDlgItem(dialog, IDCANCEL), width - margin - button, button);
    MoveTo(::GetDlgItem(dialog, IDOK), width - margin - 2 * button - buttonGap, button);
    SetClientWidth(dialog, width);
}

}  // namespace tidewell
