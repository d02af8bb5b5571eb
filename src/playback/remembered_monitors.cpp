#include "playback/remembered_monitors.h"

#include <climits>
#include <vector>

#include "common/text_rules.h"

namespace tidewell {
namespace {

// As many numbers as anyone has monitors, and then some: a value grown by hand stays small.
constexpr std::size_t kMostRemembered = 64;
constexpr int kHighestMonitorNumber = 32767;  // what the selector can hold
constexpr std::size_t kFields = 8;

// One field of a line: no tab or line break of a name may split it.
std::wstring Field(std::wstring_view text) {
    std::wstring field(text);
    for (wchar_t& c : field) {
        if (c < L' ' || c == 0x7F || c == 0x2028) c = L' ';
    }
    return field;
}

std::vector<std::wstring_view> Fields(std::wstring_view line) {
    std::vector<std::wstring_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find(L'\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::wstring_view::npos) return fields;
        start = tab + 1;
    }
}

std::optional<int> Whole(std::wstring_view text, int low, int high) {
    const int value = ParseIntOrDefault(text, INT_MIN);
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

std::optional<MonitorIdentity> RememberedMonitors::Of(int number) const {
    const auto found = byNumber_.find(number);
    if (found == byNumber_.end()) return std::nullopt;
    return found->second;
}

void RememberedMonitors::Remember(int number, MonitorIdentity monitor) {
    if (number < 1 || number > kHighestMonitorNumber) return;
    if (!byNumber_.contains(number) && byNumber_.size() >= kMostRemembered) return;
    byNumber_[number] = std::move(monitor);
}

std::wstring RememberedMonitors::Encode() const {
    std::vector<std::wstring> lines;
    for (const auto& [number, m] : byNumber_) {
        lines.push_back(std::to_wstring(number) + L"\t" + Field(m.devicePath) + L"\t" +
                        Field(m.name) + L"\t" + std::to_wstring(m.maker) + L"\t" +
                        std::to_wstring(m.product) + L"\t" + Field(m.gdiName) + L"\t" +
                        std::to_wstring(m.left) + L"\t" + std::to_wstring(m.top));
    }
    return Trim(LinesToText(lines));
}

RememberedMonitors RememberedMonitors::Decode(std::wstring_view stored) {
    RememberedMonitors remembered;
    for (const std::wstring& line : TextToLines(stored)) {
        const std::vector<std::wstring_view> f = Fields(line);
        if (f.size() != kFields) continue;
        const auto number = Whole(f[0], 1, kHighestMonitorNumber);
        const auto maker = Whole(f[3], 0, 0xFFFF), product = Whole(f[4], 0, 0xFFFF);
        const auto left = Whole(f[6], INT_MIN + 1, INT_MAX),
                   top = Whole(f[7], INT_MIN + 1, INT_MAX);
        if (!number || !maker || !product || !left || !top) continue;
        remembered.Remember(
            *number,
            MonitorIdentity{std::wstring(f[1]), std::wstring(f[2]), static_cast<unsigned>(*maker),
                            static_cast<unsigned>(*product), std::wstring(f[5]), *left, *top});
    }
    return remembered;
}

std::wstring RememberedMonitorsValueName(std::wstring_view computer) {
    return L"monitors on " + std::wstring(computer);
}

}  // namespace tidewell
