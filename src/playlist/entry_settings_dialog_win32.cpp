#include "playlist/entry_settings_dialog_win32.h"

#include <commctrl.h>

#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include "common/win32_error_win32.h"

namespace tidewell {
namespace {

constexpr std::array<const wchar_t*, 7> kDayCaptions{L"Mon", L"Tue", L"Wed", L"Thu",
                                                     L"Fri", L"Sat", L"Sun"};
constexpr wchar_t kDiffersCue[] = L"(differs)";
constexpr int kDefaultStart = 8 * 60;
constexpr int kDefaultEnd = 17 * 60;

// A dialog template built in memory, in dialog units, so that the dialog scales with its font
// like any resource dialog without the playlist needing resources of its own.
class DialogTemplate {
  public:
    DialogTemplate(const wchar_t* title, short width, short height) {
        Align(4);
        Put<DWORD>(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
        Put<DWORD>(0);
        countAt_ = bytes_.size();
        Put<WORD>(0);
        Put<short>(0);
        Put<short>(0);
        Put<short>(width);
        Put<short>(height);
        Put<WORD>(0);  // no menu
        Put<WORD>(0);  // the standard dialog class
        PutText(title);
        Put<WORD>(8);
        PutText(L"MS Shell Dlg 2");
    }

    void Add(const wchar_t* windowClass, const wchar_t* text, int id, DWORD style, short x, short y,
             short width, short height) {
        Align(4);
        Put<DWORD>(style | WS_CHILD | WS_VISIBLE);
        Put<DWORD>(0);
        Put<short>(x);
        Put<short>(y);
        Put<short>(width);
        Put<short>(height);
        Put<WORD>(static_cast<WORD>(id));
        PutText(windowClass);
        PutText(text);
        Put<WORD>(0);  // no creation data
        WORD count = 0;
        std::memcpy(&count, bytes_.data() + countAt_, sizeof count);
        ++count;
        std::memcpy(bytes_.data() + countAt_, &count, sizeof count);
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

  private:
    template <class T>
    void Put(T value) {
        const auto* raw = reinterpret_cast<const unsigned char*>(&value);
        bytes_.insert(bytes_.end(), raw, raw + sizeof value);
    }
    void PutText(std::wstring_view text) {
        for (const wchar_t c : text) Put<WORD>(c);
        Put<WORD>(0);
    }
    void Align(std::size_t boundary) {
        while (bytes_.size() % boundary) bytes_.push_back(0);
    }

    std::vector<unsigned char> bytes_;
    std::size_t countAt_ = 0;
};

SYSTEMTIME TimeOfDay(int minutes) {
    SYSTEMTIME time{};
    ::GetLocalTime(&time);
    time.wHour = static_cast<WORD>(minutes / 60 % 24);
    time.wMinute = static_cast<WORD>(minutes % 60);
    time.wSecond = 0;
    time.wMilliseconds = 0;
    return time;
}

SYSTEMTIME DateOf(const std::chrono::year_month_day& date) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(static_cast<int>(date.year()));
    time.wMonth = static_cast<WORD>(static_cast<unsigned>(date.month()));
    time.wDay = static_cast<WORD>(static_cast<unsigned>(date.day()));
    return time;
}

class EntrySettingsDialog {
  public:
    explicit EntrySettingsDialog(const std::vector<EntrySettings>& settings)
        : settings_(settings), form_(FormOf(settings)) {}

    std::optional<SettingsForm> Run(HWND owner) {
        const std::wstring title = settings_.size() == 1
                                       ? std::wstring(kEntrySettingsTitle)
                                       : std::wstring(kEntrySettingsTitle) + L" (" +
                                             std::to_wstring(settings_.size()) + L" entries)";
        DialogTemplate dialog(title.c_str(), 250, 150);
        constexpr DWORD kLabel = SS_LEFT;
        constexpr DWORD kEdit = WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL;
        dialog.Add(WC_STATICW, L"Show for at most", -1, kLabel, 7, 10, 62, 8);
        dialog.Add(WC_EDITW, L"", kShowForEdit, kEdit | WS_GROUP, 72, 8, 40, 12);
        dialog.Add(WC_STATICW, L"seconds (empty: until the show ends)", -1, kLabel, 116, 10, 130,
                   8);
        dialog.Add(WC_STATICW, L"Next slide every", -1, kLabel, 7, 28, 62, 8);
        dialog.Add(WC_EDITW, L"", kAdvanceEdit, kEdit, 72, 26, 40, 12);
        dialog.Add(WC_STATICW, L"seconds (empty: the deck's own timings)", -1, kLabel, 116, 28, 130,
                   8);
        dialog.Add(WC_STATICW, L"Days", -1, kLabel, 7, 48, 62, 8);
        for (int day = 0; day < 7; ++day) {
            dialog.Add(WC_BUTTONW, kDayCaptions[day], kFirstDayBox + day,
                       BS_AUTOCHECKBOX | WS_TABSTOP | (day == 0 ? WS_GROUP : 0),
                       static_cast<short>(72 + day * 25), 47, 25, 10);
        }
        dialog.Add(WC_BUTTONW, L"Between", kHoursBox, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 7,
                   68, 62, 10);
        dialog.Add(DATETIMEPICK_CLASSW, L"", kHoursStart, DTS_TIMEFORMAT | DTS_UPDOWN | WS_TABSTOP,
                   72, 66, 60, 13);
        dialog.Add(WC_STATICW, L"and", -1, kLabel, 138, 68, 16, 8);
        dialog.Add(DATETIMEPICK_CLASSW, L"", kHoursEnd, DTS_TIMEFORMAT | DTS_UPDOWN | WS_TABSTOP,
                   156, 66, 60, 13);
        dialog.Add(WC_STATICW, L"From", -1, kLabel, 7, 88, 62, 8);
        dialog.Add(DATETIMEPICK_CLASSW, L"", kFromPicker,
                   DTS_SHORTDATEFORMAT | DTS_SHOWNONE | WS_TABSTOP | WS_GROUP, 72, 86, 90, 13);
        dialog.Add(WC_STATICW, L"Until", -1, kLabel, 7, 106, 62, 8);
        dialog.Add(DATETIMEPICK_CLASSW, L"", kUntilPicker,
                   DTS_SHORTDATEFORMAT | DTS_SHOWNONE | WS_TABSTOP | WS_GROUP, 72, 104, 90, 13);
        dialog.Add(WC_BUTTONW, L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 138, 129, 50,
                   14);
        dialog.Add(WC_BUTTONW, L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 193, 129, 50, 14);

        const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.Get(),
                                                         owner, &EntrySettingsDialog::Procedure,
                                                         reinterpret_cast<LPARAM>(this));
        ThrowLastErrorIf(result == -1, L"DialogBoxIndirectParamW",
                         L"The entry settings cannot be shown.");
        if (result != IDOK) return std::nullopt;
        return form_;
    }

  private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<EntrySettingsDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        if (!self) return FALSE;
        // Nothing may leave a dialog procedure; a dialog that failed is a dialog cancelled.
        try {
            return self->Handle(dialog, message, wParam, lParam);
        } catch (...) {
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
    }

    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_INITDIALOG:
                dialog_ = dialog;
                Show();
                return TRUE;
            case WM_NOTIFY: {
                const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
                if (header.code == DTN_DATETIMECHANGE)
                    OnPickerChanged(static_cast<int>(header.idFrom));
                return FALSE;
            }
            case WM_COMMAND:
                return OnCommand(LOWORD(wParam), HIWORD(wParam));
            default:
                return FALSE;
        }
    }

    HWND Item(int id) const { return ::GetDlgItem(dialog_, id); }

    void Show() {
        ShowSeconds(kShowForEdit, form_.showForSeconds);
        ShowSeconds(kAdvanceEdit, form_.advanceSeconds);
        for (int day = 0; day < 7; ++day) ShowBox(kFirstDayBox + day, form_.days[day]);
        ShowBox(kHoursBox, FormField<bool>{form_.hours.differs, form_.hours.value.has_value()});
        const HourSpan hours = form_.hours.value.value_or(HourSpan{kDefaultStart, kDefaultEnd});
        ShowTime(kHoursStart, hours.start);
        ShowTime(kHoursEnd, hours.end);
        ShowDate(kFromPicker, form_.from.value);
        ShowDate(kUntilPicker, form_.until.value);
        shown_ = true;
    }

    void ShowSeconds(int id, const FormField<std::optional<int>>& field) {
        if (field.value) ::SetWindowTextW(Item(id), std::to_wstring(*field.value).c_str());
        if (field.differs) {
            ::SendMessageW(Item(id), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(kDiffersCue));
        }
    }

    // A box that differs between the entries shows its third state until it is clicked.
    void ShowBox(int id, const FormField<bool>& field) {
        if (field.differs) {
            ::SendMessageW(Item(id), BM_SETSTYLE, BS_AUTO3STATE, FALSE);
            ::SendMessageW(Item(id), BM_SETCHECK, BST_INDETERMINATE, 0);
        } else {
            ::SendMessageW(Item(id), BM_SETCHECK, field.value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }

    void ShowTime(int id, int minutes) {
        // The user's own short time format: no seconds, 12 or 24 hours as the user chose.
        wchar_t format[80]{};
        if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTTIME, format, 80) > 0) {
            ::SendMessageW(Item(id), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format));
        }
        SYSTEMTIME time = TimeOfDay(minutes);
        ::SendMessageW(Item(id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    }

    void ShowDate(int id, const std::optional<std::chrono::year_month_day>& date) {
        SYSTEMTIME time = date ? DateOf(*date) : SYSTEMTIME{};
        if (!date) ::GetLocalTime(&time);
        ::SendMessageW(Item(id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
        // With a time given, though it is not read: Wine refuses GDT_NONE without one.
        if (!date) {
            ::SendMessageW(Item(id), DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&time));
        }
    }

    void OnPickerChanged(int id) {
        if (!shown_) return;
        touched_[id] = true;
        // Setting a time says "between these hours".
        if (id == kHoursStart || id == kHoursEnd) {
            ::SendMessageW(Item(kHoursBox), BM_SETCHECK, BST_CHECKED, 0);
        }
    }

    INT_PTR OnCommand(int id, int code) {
        if (code == EN_CHANGE && shown_ && id < kFirstDayBox) touched_[id] = true;
        if (id == IDCANCEL) ::EndDialog(dialog_, IDCANCEL);
        if (id == IDOK && Read()) ::EndDialog(dialog_, IDOK);
        return id == IDOK || id == IDCANCEL ? TRUE : FALSE;
    }

    // Takes what the user set into the form; false (after saying why) when it cannot be used.
    bool Read() {
        SettingsForm form = form_;
        if (!ReadSeconds(kShowForEdit, form.showForSeconds) ||
            !ReadSeconds(kAdvanceEdit, form.advanceSeconds)) {
            return Refuse(L"Seconds are a whole number from 1 to " +
                          std::to_wstring(kMaxEntrySeconds) + L", or empty.");
        }
        for (int day = 0; day < 7; ++day) ReadBox(kFirstDayBox + day, form.days[day]);
        const LRESULT hours = ::SendMessageW(Item(kHoursBox), BM_GETCHECK, 0, 0);
        if (hours == BST_CHECKED) {
            form.hours.Set(HourSpan{MinuteOf(kHoursStart), EndMinute(MinuteOf(kHoursEnd))});
        } else if (hours == BST_UNCHECKED) {
            form.hours.Set(std::nullopt);
        }
        ReadDate(kFromPicker, form.from);
        ReadDate(kUntilPicker, form.until);
        if (const auto problem = FormProblem(form, settings_)) return Refuse(*problem);
        form_ = form;
        return true;
    }

    bool ReadSeconds(int id, FormField<std::optional<int>>& field) {
        if (!touched_[id]) return true;
        const int length = ::GetWindowTextLengthW(Item(id));
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        text.resize(static_cast<std::size_t>(::GetWindowTextW(Item(id), text.data(), length + 1)));
        if (text.empty()) {
            field.Set(std::nullopt);
            return true;
        }
        const auto seconds = ParseEntrySeconds(text);
        if (seconds) field.Set(seconds);
        return seconds.has_value();
    }

    void ReadBox(int id, FormField<bool>& field) {
        const LRESULT state = ::SendMessageW(Item(id), BM_GETCHECK, 0, 0);
        if (state != BST_INDETERMINATE) field.Set(state == BST_CHECKED);
    }

    int MinuteOf(int id) const {
        SYSTEMTIME time{};
        ::SendMessageW(Item(id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
        return time.wHour * 60 + time.wMinute;
    }

    // A span that ends at midnight ends at 24:00, not at the start of the day.
    static int EndMinute(int minute) { return minute == 0 ? 24 * 60 : minute; }

    void ReadDate(int id, FormField<std::optional<std::chrono::year_month_day>>& field) {
        if (!touched_[id]) return;
        SYSTEMTIME time{};
        if (::SendMessageW(Item(id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) !=
            GDT_VALID) {
            field.Set(std::nullopt);
            return;
        }
        field.Set(std::chrono::year_month_day{std::chrono::year(time.wYear),
                                              std::chrono::month(time.wMonth),
                                              std::chrono::day(time.wDay)});
    }

    bool Refuse(const std::wstring& why) {
        ::MessageBoxW(dialog_, why.c_str(), kEntrySettingsTitle, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    const std::vector<EntrySettings>& settings_;
    SettingsForm form_;
    HWND dialog_ = nullptr;
    bool shown_ = false;
    std::array<bool, kUntilPicker + 1> touched_{};
};

}  // namespace

std::optional<SettingsForm> RunEntrySettingsDialog(HWND owner,
                                                   const std::vector<EntrySettings>& settings) {
    return EntrySettingsDialog(settings).Run(owner);
}

}  // namespace tidewell
