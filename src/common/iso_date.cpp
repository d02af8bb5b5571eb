#include "common/iso_date.h"

#include <chrono>
#include <cstdio>

namespace tidewell {

int DayNumber(int year, unsigned month, unsigned day) {
    using namespace std::chrono;
    return static_cast<int>(
        sys_days{std::chrono::year{year} / month / day}.time_since_epoch().count());
}

bool ValidDate(int year, int month, int day) {
    return year >= 0 && month >= 1 && day >= 1 &&
           std::chrono::year_month_day{std::chrono::year{year} / month / day}.ok();
}

std::string IsoDate(int day) {
    using namespace std::chrono;
    const year_month_day date{sys_days{days{day}}};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

int DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<int> DayOfIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const int year = DigitsAt(text, 0, 4), month = DigitsAt(text, 5, 2), day = DigitsAt(text, 8, 2);
    if (!ValidDate(year, month, day)) return std::nullopt;
    return DayNumber(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
}

}  // namespace tidewell
