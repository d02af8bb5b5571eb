#pragma once
// Dates as the reports and the command line write them: "2026-12-08", held as a count of days, so
// that a range of days is two numbers and the day after is one more.
#include <optional>
#include <string>
#include <string_view>

namespace tidewell {

// Days since 1970-01-01 of a valid calendar date.
int DayNumber(int year, unsigned month, unsigned day);

// Whether year-month-day names a day of the calendar (year 0 to 9999).
bool ValidDate(int year, int month, int day);

// "2026-12-08" of a day number.
std::string IsoDate(int day);

// The day number of "2026-12-08"; none when the text is not such a date.
std::optional<int> DayOfIsoDate(std::string_view text);

// Digits at a fixed place of a text known to be long enough; -1 when one of them is not a digit.
int DigitsAt(std::string_view text, std::size_t at, std::size_t count);

}  // namespace tidewell
