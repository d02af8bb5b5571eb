#include "playlist/entry_settings_dialog_win32.h"

#include <commctrl.h>

#include <array>
#include <string>
#include <string_view>

#include "common/system_dpi_win32.h"
#include "common/win32_error_win32.h"

namespace tidewell {
namespace {

constexpr wchar_t kDiffersCue[] = L"(differs)";
constexpr int kPointSize = 8;
constexpr int kDefaultStart = 8 * 60;
constexpr int kDefaultEnd = 17 * 60;

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
    EntrySettingsDialog(const std::vector<EntrySettings>& settings, int dpi)
        : settings_(settings), form_(FormOf(settings)), dpi_(dpi) {}

    std::optional<SettingsForm> Run(HWND owner) {
        const std::wstring title = settings_.size() == 1
                                       ? std::wstring(kEntrySettingsTitle)
                                       : std::wstring(kEntrySettingsTitle) + L" (" +
                                             std::to_wstring(settings_.size()) + L" entries)";
        // The dialog's font is given in points, which the system turns into pixels at its own
        // density; another density is the same font at a size scaled by the ratio.
        const int density = dpi_ > 0 ? dpi_ : SystemDpi();
        const DialogTemplate dialog = EntrySettingsTemplate(
            title, static_cast<WORD>(::MulDiv(kPointSize, density, SystemDpi())));
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
                FitEntrySettingsToTexts(dialog);
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
    int dpi_;
    HWND dialog_ = nullptr;
    bool shown_ = false;
    std::array<bool, kUntilPicker + 1> touched_{};
};

}  // namespace

std::optional<SettingsForm> RunEntrySettingsDialog(HWND owner,
                                                   const std::vector<EntrySettings>& settings,
                                                   int dpi) {
    return EntrySettingsDialog(settings, dpi).Run(owner);
}

}  // namespace tidewell
