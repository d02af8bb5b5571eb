#pragma once
// Helpers for tests that play the stand-in presentation program (tools/standin): where it is,
// how to tell it what to do, and what its log says about each show. Header-only, so that the
// in-process tests and the end-to-end tests share it.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "../support/temp_folder.h"

namespace tidewell::testing {

inline std::wstring ExecutableFolder() {
    std::wstring path(MAX_PATH * 4, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L"\\/"));
}

// The build puts standin.exe beside the test executables.
inline std::wstring StandinPath() {
    return ExecutableFolder() + L"\\standin.exe";
}

// Sets TIDEWELL_STANDIN_<NAME> variables for the shows started while it lives (children inherit
// the environment) and clears every one of them again at the end.
class StandinSettings {
  public:
    StandinSettings() { ClearAll(); }
    ~StandinSettings() { ClearAll(); }
    StandinSettings(const StandinSettings&) = delete;
    StandinSettings& operator=(const StandinSettings&) = delete;

    StandinSettings& Set(const std::wstring& name, const std::wstring& value) {
        ::SetEnvironmentVariableW((L"TIDEWELL_STANDIN_" + name).c_str(), value.c_str());
        return *this;
    }

  private:
    static void ClearAll() {
        for (const wchar_t* name :
             {L"SECONDS", L"LOG", L"CLASS", L"FIRST", L"FIRST_MS", L"FIRST_END", L"DISABLED_MS",
              L"DELAY_MS", L"POS", L"SIZE", L"UNTIL_PLACED", L"MODE", L"END_EVENT", L"SHOW_EVENT",
              L"SLIDES", L"HOLD"}) {
            ::SetEnvironmentVariableW((std::wstring(L"TIDEWELL_STANDIN_") + name).c_str(), nullptr);
        }
    }
};

// One line of the stand-in's log: one show, from start to end. Times in microseconds.
struct StandinShow {
    DWORD pid = 0;
    std::wstring switches;
    std::wstring windowClass;
    std::wstring file;
    std::wstring reason;
    long long start = 0, created = 0, showing = 0, shown = 0, ready = 0, moved = 0, end = 0;
    int placements = 0;
    int left = 0, top = 0;
    std::vector<long long> pages;  // in a slide show: when each Page Down came
};

inline std::wstring FromUtf8(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

inline StandinShow ParseStandinLine(const std::wstring& line) {
    StandinShow show;
    std::size_t pos = 0;
    while (pos < line.size()) {
        std::size_t tab = line.find(L'\t', pos);
        const std::wstring field = line.substr(pos, tab == std::wstring::npos ? tab : tab - pos);
        const std::size_t eq = field.find(L'=');
        const std::wstring key = field.substr(0, eq);
        const std::wstring value = eq == std::wstring::npos ? L"" : field.substr(eq + 1);
        if (key == L"file") {
            show.file = line.substr(pos + 5);  // runs to the end of the line
            break;
        }
        if (key == L"pid") show.pid = std::stoul(value);
        if (key == L"switches") show.switches = value;
        if (key == L"class") show.windowClass = value;
        if (key == L"reason") show.reason = value;
        if (key == L"start") show.start = std::stoll(value);
        if (key == L"created") show.created = std::stoll(value);
        if (key == L"showing") show.showing = std::stoll(value);
        if (key == L"shown") show.shown = std::stoll(value);
        if (key == L"ready") show.ready = std::stoll(value);
        if (key == L"moved") show.moved = std::stoll(value);
        if (key == L"end") show.end = std::stoll(value);
        if (key == L"placements") show.placements = std::stoi(value);
        if (key == L"left") show.left = std::stoi(value);
        if (key == L"top") show.top = std::stoi(value);
        for (std::size_t at = 0; key == L"pages" && at < value.size();) {
            const std::size_t comma = value.find(L',', at);
            show.pages.push_back(std::stoll(value.substr(at, comma - at)));
            at = comma == std::wstring::npos ? value.size() : comma + 1;
        }
        if (tab == std::wstring::npos) break;
        pos = tab + 1;
    }
    return show;
}

// Every show logged so far, in the order they ended; empty when there is no log yet.
inline std::vector<StandinShow> ReadStandinLog(const std::wstring& path) {
    std::vector<StandinShow> shows;
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return shows;
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(h, chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
    ::CloseHandle(h);
    const std::wstring text = FromUtf8(bytes);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find(L'\n', pos);
        const std::wstring line = text.substr(pos, nl == std::wstring::npos ? nl : nl - pos);
        if (!line.empty()) shows.push_back(ParseStandinLine(line));
        if (nl == std::wstring::npos) break;
        pos = nl + 1;
    }
    return shows;
}

}  // namespace tidewell::testing
