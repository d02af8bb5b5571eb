#include "run/play_log.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "common/plain_text.h"

namespace tidewell {
namespace {

std::string Digits(int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

}  // namespace

std::string FormatIsoTime(const LocalTimestamp& t) {
    const int offset = std::abs(t.offsetMinutes);
    return Digits(t.year, 4) + "-" + Digits(t.month, 2) + "-" + Digits(t.day, 2) + "T" +
           Digits(t.hour, 2) + ":" + Digits(t.minute, 2) + ":" + Digits(t.second, 2) + "." +
           Digits(t.millisecond, 3) + (t.offsetMinutes < 0 ? "-" : "+") + Digits(offset / 60, 2) +
           ":" + Digits(offset % 60, 2);
}

namespace {

// A column never holds the separators of columns or lines, nor anything a terminal obeys.
std::string Field(std::wstring_view text) {
    return PlainUtf8(text);
}

}  // namespace

int UtcOffsetMinutes(const LocalTimestamp& utc, const LocalTimestamp& local) {
    using namespace std::chrono;
    const auto minutes = [](const LocalTimestamp& t) {
        const sys_days date{year{t.year} / t.month / t.day};
        return date.time_since_epoch().count() * 1440LL + t.hour * 60 + t.minute;
    };
    return static_cast<int>(minutes(local) - minutes(utc));
}

std::string_view RunEventName(RunEvent event) {
    // In the order of the enumeration.
    constexpr std::string_view kNames[] = {
        "run-start",    "show-start", "show-placed", "show-end", "show-skipped",
        "show-timeout", "waiting",    "stop",        "run-end",  "error",
        "alert-start",  "alert-end",  "wake",        "monitor",
    };
    const auto index = static_cast<std::size_t>(event);
    return index < std::size(kNames) ? kNames[index] : "error";
}

std::string FormatLogLine(const LocalTimestamp& time, const RunEventRecord& record) {
    return FormatIsoTime(time) + "\t" + std::string(RunEventName(record.event)) + "\t" +
           (record.monitor > 0 ? std::to_string(record.monitor) : std::string()) + "\t" +
           Field(record.path) + "\t" + Field(record.detail) + "\r\n";
}

namespace {
constexpr std::string_view kZoneLabel = "; time zone ";
}  // namespace

std::wstring RunStartDetail(std::size_t count, bool loop, std::wstring_view zoneKey) {
    std::wstring detail = std::to_wstring(count) +
                          (count == 1 ? L" presentation" : L" presentations") +
                          (loop ? L", in a loop" : L"");
    if (!zoneKey.empty()) {
        detail.append(kZoneLabel.begin(), kZoneLabel.end());
        detail += zoneKey;
    }
    return detail;
}

std::string_view ZoneOfRunStart(std::string_view detail) {
    const std::size_t at = detail.rfind(kZoneLabel);
    return at == std::string_view::npos ? std::string_view()
                                        : detail.substr(at + kZoneLabel.size());
}

std::wstring ShowEndDetail(long long durationMilliseconds, unsigned long exitCode) {
    const long long ms = durationMilliseconds < 0 ? 0 : durationMilliseconds;
    wchar_t code[16];
    std::swprintf(code, 16, exitCode > 0xFFFF ? L"0x%08lX" : L"%lu", exitCode);
    wchar_t millis[8];
    std::swprintf(millis, 8, L"%03lld", ms % 1000);
    return std::to_wstring(ms / 1000) + L"." + millis + L" s, exit code " + code;
}

}  // namespace tidewell
