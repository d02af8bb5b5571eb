#pragma once
// What the benchmarks share: the program's stored preferences to seed a run, the Linux process
// behind a Windows one (Wine's GetProcessTimes on another process answers with the caller's own
// times, so CPU and memory are read from /proc through Wine's Z: drive), and one started
// tidewell.exe with its main window.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "../tests/e2e/e2e_support.h"

namespace tidewell::bench {

using namespace std::chrono_literals;

inline constexpr double kLinuxTicksPerSecond = 100.0;  // USER_HZ, fixed on Linux

inline std::string ReadWholeFile(const std::wstring& path) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(h, chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
    ::CloseHandle(h);
    return bytes;
}

// The Linux process that runs this tidewell.exe: its command line starts with the exe's Windows
// path. Matching the whole path keeps other people's copies on a shared machine out.
inline std::wstring FindLinuxProcess(const std::wstring& exe) {
    std::string wanted(exe.begin(), exe.end());  // the build's paths are ASCII
    std::transform(wanted.begin(), wanted.end(), wanted.begin(), ::tolower);
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(L"Z:\\proc\\*", &data);
    std::wstring found;
    if (find == INVALID_HANDLE_VALUE) return found;
    do {
        const std::wstring name = data.cFileName;
        if (name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        const std::string cmd = ReadWholeFile(L"Z:\\proc\\" + name + L"\\cmdline");
        std::string first = cmd.substr(0, cmd.find('\0'));
        std::transform(first.begin(), first.end(), first.begin(), ::tolower);
        if (first == wanted) found = name;
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return found;
}

// User plus system time of a Linux process, in seconds.
inline double CpuSeconds(const std::wstring& linuxPid) {
    const std::string stat = ReadWholeFile(L"Z:\\proc\\" + linuxPid + L"\\stat");
    std::size_t pos = stat.rfind(')');
    if (pos == std::string::npos) return -1;
    // Fields after the command name start with the state (field 3); utime and stime are 14, 15.
    std::vector<std::string> fields;
    std::size_t start = pos + 2;
    while (start < stat.size()) {
        const std::size_t end = stat.find(' ', start);
        fields.push_back(stat.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (fields.size() < 13) return -1;
    return (std::stod(fields[11]) + std::stod(fields[12])) / kLinuxTicksPerSecond;
}

using e2e::WaitUntil;

// The middle value (the mean of the two middle ones for an even count); values must not be empty.
inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The stored preferences of every tidewell.exe that a benchmark starts, under a key of the
// benchmarks' own: the programs inherit TIDEWELL_PREFERENCES_KEY naming it, so a benchmark never
// reads or overwrites the user's own playlist. The key is removed at the end.
class BenchPreferences {
  public:
    static constexpr wchar_t kKey[] = L"SOFTWARE\\hollowfin-tests\\bench";

    BenchPreferences() { e2e::UseTestPreferencesKey(kKey); }
    ~BenchPreferences() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    BenchPreferences(const BenchPreferences&) = delete;
    BenchPreferences& operator=(const BenchPreferences&) = delete;

    bool Store(const std::vector<std::wstring>& files, const std::wstring& program, int monitor) {
        return e2e::StorePreferences(files, program, monitor, kKey);
    }
};

// One started tidewell.exe with its main window; closed at the end. Taking the benchmark's
// preferences makes sure that it never starts on the user's own.
class Program {
  public:
    Program(const BenchPreferences&, const std::wstring& exe,
            std::chrono::milliseconds startTimeout = std::chrono::seconds(30)) {
        std::wstring line = L"\"" + exe + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        const auto started = std::chrono::steady_clock::now();
        if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info_)) {
            return;
        }
        // Started means the main window is on the screen, with its stored playlist loaded.
        WaitUntil(
            [&] {
                main_ = ::FindWindowW(L"TForm1", L"Tidewell");
                return main_ && ::IsWindowVisible(main_);
            },
            startTimeout);
        startup_ = std::chrono::steady_clock::now() - started;
    }
    ~Program() {
        if (main_) ::PostMessageW(main_, WM_CLOSE, 0, 0);
        if (info_.hProcess) {
            if (::WaitForSingleObject(info_.hProcess, 10000) != WAIT_OBJECT_0) {
                ::TerminateProcess(info_.hProcess, 1);
            }
            ::CloseHandle(info_.hProcess);
            ::CloseHandle(info_.hThread);
        }
    }
    HWND Main() const { return main_; }
    double StartupMilliseconds() const {
        return std::chrono::duration<double, std::milli>(startup_).count();
    }

    bool PlayAll() {
        HWND button = ::FindWindowExW(main_, nullptr, L"Button", L"Play All");
        if (!button || !WaitUntil([&] { return ::IsWindowEnabled(button) != FALSE; }, 10s)) {
            return false;
        }
        ::PostMessageW(button, BM_CLICK, 0, 0);
        return WaitUntil([&] { return !::IsWindowVisible(main_); }, 10s);
    }
    bool WaitForRunEnd(std::chrono::milliseconds timeout) {
        return WaitUntil([&] { return ::IsWindowVisible(main_) != FALSE; }, timeout);
    }

  private:
    PROCESS_INFORMATION info_{};
    HWND main_ = nullptr;
    std::chrono::steady_clock::duration startup_{};
};

// Prints one row of the benchmark table that bench/run.sh gathers: "TABLE<tab>what<tab>figure".
inline void TableRow(const std::string& what, const std::string& figure) {
    std::printf("TABLE\t%s\t%s\n", what.c_str(), figure.c_str());
    std::fflush(stdout);
}

}  // namespace tidewell::bench
