#include "playback/monitor_identity.h"

#include <algorithm>

namespace tidewell {
namespace {

// Device paths come back in either letter case from one Windows version to the next.
bool SamePath(const std::wstring& a, const std::wstring& b) {
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](wchar_t x, wchar_t y) { return lower(x) == lower(y); });
}

bool HasEdid(const MonitorIdentity& m) {
    return m.maker != 0 || m.product != 0;
}

bool SameEdid(const MonitorIdentity& a, const MonitorIdentity& b) {
    return HasEdid(a) && a.maker == b.maker && a.product == b.product && a.name == b.name;
}

MonitorPlace At(std::size_t index) {
    return {MonitorFound::ByIdentity, index};
}

// Among monitors of one model, the one that kept the GDI device, else its position, else the
// first.
std::size_t OneOfAKind(const MonitorIdentity& remembered,
                       const std::vector<MonitorIdentity>& listed,
                       const std::vector<std::size_t>& twins) {
    for (const std::size_t i : twins) {
        if (!remembered.gdiName.empty() && listed[i].gdiName == remembered.gdiName) return i;
    }
    for (const std::size_t i : twins) {
        if (listed[i].left == remembered.left && listed[i].top == remembered.top) return i;
    }
    return twins.front();
}

}  // namespace

MonitorPlace LocateMonitor(int number, const std::optional<MonitorIdentity>& remembered,
                           const std::vector<MonitorIdentity>& listed) {
    const bool placeExists = number >= 1 && static_cast<std::size_t>(number) <= listed.size();
    const MonitorPlace byNumber =
        placeExists ? MonitorPlace{MonitorFound::ByNumber, static_cast<std::size_t>(number) - 1}
                    : MonitorPlace{};
    if (!remembered) return byNumber;
    if (!remembered->devicePath.empty()) {
        for (std::size_t i = 0; i < listed.size(); ++i) {
            if (SamePath(listed[i].devicePath, remembered->devicePath)) return At(i);
        }
    }
    // Another port gives another device path; the EDID stays.
    if (HasEdid(*remembered)) {
        std::vector<std::size_t> twins;
        for (std::size_t i = 0; i < listed.size(); ++i) {
            if (SameEdid(*remembered, listed[i])) twins.push_back(i);
        }
        if (!twins.empty()) return At(OneOfAKind(*remembered, listed, twins));
    }
    if (!remembered->devicePath.empty() || HasEdid(*remembered)) return {MonitorFound::Gone, 0};
    // Known by its GDI device alone: nothing tells it gone, so the number decides without it.
    for (std::size_t i = 0; i < listed.size(); ++i) {
        if (!remembered->gdiName.empty() && listed[i].gdiName == remembered->gdiName) return At(i);
    }
    return byNumber;
}

std::wstring MonitorTitle(const MonitorIdentity& monitor) {
    if (!monitor.name.empty()) return monitor.name;
    constexpr std::wstring_view kGdiPrefix = L"\\\\.\\";
    std::wstring gdi = monitor.gdiName;
    if (gdi.starts_with(kGdiPrefix)) gdi.erase(0, kGdiPrefix.size());
    return gdi.empty() ? L"unnamed monitor" : gdi;
}

std::wstring OrdinalWord(std::size_t place) {
    constexpr const wchar_t* kWords[] = {L"first", L"second",  L"third",  L"fourth", L"fifth",
                                         L"sixth", L"seventh", L"eighth", L"ninth",  L"tenth"};
    if (place >= 1 && place <= std::size(kWords)) return kWords[place - 1];
    const std::size_t lastTwo = place % 100;
    const wchar_t* suffix = L"th";
    if (lastTwo < 11 || lastTwo > 13) {
        if (place % 10 == 1) suffix = L"st";
        if (place % 10 == 2) suffix = L"nd";
        if (place % 10 == 3) suffix = L"rd";
    }
    return std::to_wstring(place) + suffix;
}

std::wstring MonitorMovedLine(int number, const MonitorIdentity& monitor, std::size_t index) {
    return L"monitor " + std::to_wstring(number) + L" is " + MonitorTitle(monitor) +
           L" (now listed " + OrdinalWord(index + 1) + L")";
}

std::wstring MonitorConnectedAgainLine(int number) {
    return L"monitor " + std::to_wstring(number) + L" is connected again";
}

std::wstring MonitorNotConnectedText(int number, const MonitorIdentity& monitor) {
    return L"monitor " + std::to_wstring(number) + L", " + MonitorTitle(monitor) +
           L", is not connected";
}

std::wstring MonitorBoxText(int number, const std::wstring& listedTitle, int width, int height,
                            const std::wstring& goneTitle) {
    std::wstring text = std::to_wstring(number) + L" - ";
    if (!listedTitle.empty()) {
        text +=
            listedTitle + L" (" + std::to_wstring(width) + L" x " + std::to_wstring(height) + L")";
        if (!goneTitle.empty()) text += L"; " + goneTitle + L" is not connected";
        return text;
    }
    return text + (goneTitle.empty() ? L"not connected" : goneTitle + L" is not connected");
}

}  // namespace tidewell
