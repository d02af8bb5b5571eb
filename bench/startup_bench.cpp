// Start-up time and peak memory of tidewell.exe with 5,000 stored playlist entries, against an
// empty stored playlist, measured in the same run and reported as ratios (the machine is noisy;
// the ratio is what the program's own work adds). Start-up ends when the main window is visible
// with its playlist loaded. Peak memory is the high-water resident size (VmHWM) of the Linux
// process that runs tidewell.exe under Wine, so it includes Wine's own share, equal in both runs.
// Usage: startup_bench.exe <tidewell.exe> [entries] [runs]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "../tests/win32/playback/standin_support.h"
#include "bench_support_win32.h"

using namespace tidewell::bench;
using tidewell::testing::TempFolder;

namespace {

// Peak resident memory of a Linux process, in KiB.
long PeakResidentKiB(const std::wstring& linuxPid) {
    const std::string status = ReadWholeFile(L"Z:\\proc\\" + linuxPid + L"\\status");
    const std::size_t at = status.find("VmHWM:");
    return at == std::string::npos ? -1 : std::stol(status.substr(at + 6));
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Sample {
    double startupMs = 0;
    double peakKiB = 0;
};

// Starts the program `runs` times with `files` stored, closes it each time.
bool Measure(const std::wstring& exe, const std::vector<std::wstring>& files, int runs,
             std::vector<Sample>& samples) {
    for (int run = 0; run < runs; ++run) {
        Seed(files, L"");
        Program program(exe);
        if (!program.Main()) return false;
        const std::wstring pid = FindLinuxProcess(exe);
        HWND list = ::FindWindowExW(program.Main(), nullptr, L"SysListView32", nullptr);
        const auto rows = static_cast<std::size_t>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        if (rows != files.size()) {
            std::printf("expected %zu rows, the list shows %zu\n", files.size(), rows);
            return false;
        }
        samples.push_back({program.StartupMilliseconds(),
                           pid.empty() ? -1.0 : static_cast<double>(PeakResidentKiB(pid))});
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::puts("usage: startup_bench.exe <tidewell.exe> [entries] [runs]");
        return 2;
    }
    const std::wstring exe = argv[1];
    const int entries = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5000;
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 5;

    TempFolder folder;
    std::vector<std::wstring> files;
    for (int i = 0; i < entries; ++i)
        files.push_back(folder.Touch(L"deck " + std::to_wstring(i) + L".pptx"));

    // One warm-up start so that both series meet the same warm file cache and wineserver.
    std::vector<Sample> warmUp, empty, full;
    const bool ok = Measure(exe, {}, 1, warmUp) && Measure(exe, {}, runs, empty) &&
                    Measure(exe, files, runs, full);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kPreferencesKey);
    if (!ok) return std::puts("tidewell.exe did not start as expected"), 1;

    auto median = [](const std::vector<Sample>& s, double Sample::*field) {
        std::vector<double> v;
        for (const auto& x : s) v.push_back(x.*field);
        return Median(v);
    };
    const double emptyMs = median(empty, &Sample::startupMs);
    const double fullMs = median(full, &Sample::startupMs);
    const double emptyKiB = median(empty, &Sample::peakKiB);
    const double fullKiB = median(full, &Sample::peakKiB);
    std::printf("start-up: empty %.0f ms, %d entries %.0f ms (median of %d)\n", emptyMs, entries,
                fullMs, runs);
    std::printf("peak memory: empty %.0f KiB, %d entries %.0f KiB\n", emptyKiB, entries, fullKiB);

    char figure[128];
    std::snprintf(figure, sizeof(figure), "%.2fx (%.0f ms against %.0f ms)", fullMs / emptyMs,
                  fullMs, emptyMs);
    TableRow("Start-up with " + std::to_string(entries) + " stored entries / empty", figure);
    std::snprintf(figure, sizeof(figure), "%.2fx (%.1f MiB against %.1f MiB)", fullKiB / emptyKiB,
                  fullKiB / 1024, emptyKiB / 1024);
    TableRow("Peak memory with " + std::to_string(entries) + " stored entries / empty", figure);
    return 0;
}
