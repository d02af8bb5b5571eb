// Measures a play run of the real tidewell.exe with the stand-in presentation program:
//  1. the processor time tidewell.exe uses while one long show plays (against the same time
//     idle, measured in the same run), read from the Linux process that runs it under Wine,
//     because Wine's GetProcessTimes on another process answers with the caller's own times;
//  2. the placement latency: from the moment a show window could first be found to its move
//     onto monitor 2, as the stand-in logs them, over many short shows.
// Usage: playback_bench.exe <tidewell.exe> <standin.exe> [show seconds] [show count]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "../tests/win32/playback/standin_support.h"

using namespace std::chrono_literals;
using tidewell::testing::ReadStandinLog;
using tidewell::testing::StandinSettings;
using tidewell::testing::StandinShow;
using tidewell::testing::TempFolder;

namespace {

constexpr wchar_t kPreferencesKey[] = L"SOFTWARE\\hollowfin\\lanternrow";
constexpr double kLinuxTicksPerSecond = 100.0;  // USER_HZ, fixed on Linux

std::string ReadWholeFile(const std::wstring& path) {
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
std::wstring FindLinuxProcess(const std::wstring& exe) {
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
double CpuSeconds(const std::wstring& linuxPid) {
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

template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

void Seed(const std::vector<std::wstring>& files, const std::wstring& program) {
    std::wstring joined;
    for (const auto& f : files) joined += f + L"\r\n";
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kPreferencesKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr);
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {L"files", joined}, {L"pptexfile", program}, {L"monitorc", L"2"}};
    for (const auto& [name, value] : values) {
        ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    ::RegCloseKey(key);
}

// One started tidewell.exe with its main window; closed at the end.
class Program {
  public:
    explicit Program(const std::wstring& exe) {
        std::wstring line = L"\"" + exe + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info_)) {
            return;
        }
        WaitUntil([&] { return (main_ = ::FindWindowW(L"TForm1", L"Tidewell")) != nullptr; }, 30s);
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
};

int MeasureCpu(const std::wstring& tidewell, const std::wstring& standin, double seconds) {
    TempFolder folder;
    StandinSettings settings;
    settings.Set(L"SECONDS", std::to_wstring(seconds)).Set(L"LOG", folder.File(L"cpu.log"));
    Seed({folder.Touch(L"long show.ppt")}, standin);
    Program program(tidewell);
    if (!program.Main()) return std::puts("tidewell.exe did not start"), 1;
    const std::wstring pid = FindLinuxProcess(tidewell);
    if (pid.empty()) return std::puts("cannot find the Linux process of tidewell.exe"), 1;

    std::this_thread::sleep_for(1s);  // let start-up work settle
    const double idleStart = CpuSeconds(pid);
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double idleCpu = CpuSeconds(pid) - idleStart;

    if (!program.PlayAll()) return std::puts("the play run did not start"), 1;
    WaitUntil([] { return ::FindWindowW(L"screenClass", nullptr) != nullptr; }, 10s);
    const auto wallStart = std::chrono::steady_clock::now();
    const double showStart = CpuSeconds(pid);
    if (!program.WaitForRunEnd(std::chrono::milliseconds(static_cast<int>(seconds * 1000)) + 30s)) {
        return std::puts("the play run did not end"), 1;
    }
    const double showCpu = CpuSeconds(pid) - showStart;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::printf("cpu: tidewell.exe is Linux process %ls, %.2f s cpu in all so far\n", pid.c_str(),
                CpuSeconds(pid));
    std::printf("cpu: idle %.0f s: %.3f s cpu (%.2f%% of one core)\n", seconds, idleCpu,
                100.0 * idleCpu / seconds);
    std::printf("cpu: during a %.0f s show (%.2f s wall): %.3f s cpu (%.2f%% of one core)\n",
                seconds, wall, showCpu, 100.0 * showCpu / wall);
    return 0;
}

int MeasureLatency(const std::wstring& tidewell, const std::wstring& standin, int shows) {
    TempFolder folder;
    StandinSettings settings;
    const std::wstring log = folder.File(L"latency.log");
    settings.Set(L"SECONDS", L"0.5").Set(L"LOG", log);
    std::vector<std::wstring> files;
    for (int i = 0; i < shows; ++i) files.push_back(folder.Touch(std::to_wstring(i) + L".ppt"));
    Seed(files, standin);
    Program program(tidewell);
    if (!program.Main() || !program.PlayAll()) return std::puts("the play run did not start"), 1;
    if (!program.WaitForRunEnd(std::chrono::seconds(10 * shows))) {
        return std::puts("the play run did not end"), 1;
    }
    std::vector<double> latencies;
    int unplaced = 0;
    for (const StandinShow& show : ReadStandinLog(log)) {
        if (show.moved == 0) {
            ++unplaced;
            continue;
        }
        latencies.push_back((show.moved - show.ready) / 1000.0);
    }
    if (latencies.empty()) return std::puts("no show was placed"), 1;
    std::sort(latencies.begin(), latencies.end());
    const double median =
        latencies.size() % 2
            ? latencies[latencies.size() / 2]
            : (latencies[latencies.size() / 2 - 1] + latencies[latencies.size() / 2]) / 2;
    std::printf(
        "placement: %zu shows placed, %d never placed; latency median %.1f ms, "
        "min %.1f ms, max %.1f ms (budget: one 100 ms poll)\n",
        latencies.size(), unplaced, median, latencies.front(), latencies.back());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::puts("usage: playback_bench.exe <tidewell.exe> <standin.exe> [seconds] [shows]");
        return 2;
    }
    const double seconds = argc > 3 ? std::wcstod(argv[3], nullptr) : 10.0;
    const int shows = argc > 4 ? std::max(1, _wtoi(argv[4])) : 25;
    int status = MeasureCpu(argv[1], argv[2], seconds);
    status |= MeasureLatency(argv[1], argv[2], shows);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kPreferencesKey);
    return status;
}
