#include "standin_options.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <optional>
#include <string_view>

#include "deck_slides.h"

namespace standin {
namespace {

std::optional<std::wstring> EnvValue(const wchar_t* name) {
    const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
    if (needed == 0) {
        return std::nullopt;
    }
    std::wstring value(needed, L'\0');
    const DWORD got = GetEnvironmentVariableW(name, value.data(), needed);
    value.resize(got);
    return value;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) {
            return false;
        }
    }
    return true;
}

DWORD ToMs(const std::wstring& text) {
    return static_cast<DWORD>(std::wcstoul(text.c_str(), nullptr, 10));
}

// "x,y" or "WxH": two integers split at the first non-digit after the first.
std::pair<long, long> ToPair(const std::wstring& text) {
    wchar_t* rest = nullptr;
    const long a = std::wcstol(text.c_str(), &rest, 10);
    const long b = (rest && *rest) ? std::wcstol(rest + 1, nullptr, 10) : 0;
    return {a, b};
}

void Apply(Options& options, std::wstring_view name, const std::wstring& value) {
    if (EqualsNoCase(name, L"seconds")) {
        options.seconds = std::wcstod(value.c_str(), nullptr);
    } else if (EqualsNoCase(name, L"log")) {
        options.logPath = value;
    } else if (EqualsNoCase(name, L"class")) {
        options.windowClass = value;
    } else if (EqualsNoCase(name, L"first")) {
        options.first = EqualsNoCase(value, L"messagebox") ? FirstWindow::MessageBox
                        : EqualsNoCase(value, L"window")   ? FirstWindow::Window
                                                           : FirstWindow::None;
    } else if (EqualsNoCase(name, L"first_end")) {
        options.firstEnd =
            EqualsNoCase(value, L"behind") ? FirstWindowEnd::FallBehind : FirstWindowEnd::Close;
    } else if (EqualsNoCase(name, L"first_ms")) {
        options.firstMs = ToMs(value);
    } else if (EqualsNoCase(name, L"disabled_ms")) {
        options.disabledMs = ToMs(value);
    } else if (EqualsNoCase(name, L"delay_ms")) {
        options.delayMs = ToMs(value);
    } else if (EqualsNoCase(name, L"pos")) {
        const auto [x, y] = ToPair(value);
        options.position = {x, y};
    } else if (EqualsNoCase(name, L"until_placed")) {
        options.untilPlaced = static_cast<int>(ToMs(value));
    } else if (EqualsNoCase(name, L"mode")) {
        options.mode = EqualsNoCase(value, L"exit")      ? Mode::Exit
                       : EqualsNoCase(value, L"handoff") ? Mode::HandOff
                       : EqualsNoCase(value, L"dialog")  ? Mode::Dialog
                                                         : Mode::Show;
    } else if (EqualsNoCase(name, L"end_event")) {
        options.endEvent = value;
    } else if (EqualsNoCase(name, L"show_event")) {
        options.showEvent = value;
    } else if (EqualsNoCase(name, L"slides")) {
        options.slidesOfDeck = EqualsNoCase(value, L"deck");
        options.slides = static_cast<int>(ToMs(value));
    } else if (EqualsNoCase(name, L"hold")) {
        options.hold = ToMs(value) != 0;
    } else if (EqualsNoCase(name, L"size")) {
        const auto [w, h] = ToPair(value);
        options.size = {w, h};
    }
}

constexpr const wchar_t* kOptionNames[] = {
    L"seconds",     L"log",        L"class",  L"first", L"first_ms",     L"first_end",
    L"disabled_ms", L"delay_ms",   L"pos",    L"size",  L"until_placed", L"mode",
    L"end_event",   L"show_event", L"slides", L"hold"};

}  // namespace

Options ReadOptions() {
    Options options;
    for (const wchar_t* name : kOptionNames) {
        std::wstring variable = L"TIDEWELL_STANDIN_";
        for (const wchar_t* c = name; *c; ++c) {
            variable += static_cast<wchar_t>(std::towupper(*c));
        }
        if (auto value = EnvValue(variable.c_str())) {
            Apply(options, name, *value);
        }
    }

    int count = 0;
    std::unique_ptr<LPWSTR, decltype(&LocalFree)> args(
        CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    for (int i = 1; args && i < count; ++i) {
        const std::wstring_view arg = args.get()[i];
        if (arg.size() >= 2 && arg[0] == L'/') {
            const auto equals = arg.find(L'=');
            if (equals != std::wstring_view::npos) {
                Apply(options, arg.substr(1, equals - 1), std::wstring(arg.substr(equals + 1)));
                continue;
            }
            if (!options.switches.empty()) {
                options.switches += L' ';
            }
            options.switches += arg;
        } else if (options.file.empty()) {
            options.file = arg;
        }
    }
    if (options.slidesOfDeck) options.slides = std::max(1, CountDeckSlides(options.file));
    return options;
}

}  // namespace standin
