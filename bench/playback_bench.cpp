// Measures a play run of the real tidewell.exe with the stand-in presentation program:
//  1. the processor time tidewell.exe uses while one long show plays (against the same time
//     idle, measured in the same run), read from the Linux process that runs it under Wine,
//     because Wine's GetProcessTimes on another process answers with the caller's own times;
//  2. the placement latency: from the moment a show window exists to its move onto monitor 2,
//     as the stand-in itself logs them (its window's creation and the first move it receives),
//     over many short shows; so the figure is the time the audience could see the show on the
//     wrong monitor, not what the program says about itself.
// Usage: playback_bench.exe <tidewell.exe> <standin.exe> [show seconds] [show count]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "../tests/win32/support/standin_support.h"
#include "bench_support_win32.h"

using namespace std::chrono_literals;
using tidewell::testing::ReadStandinLog;
using tidewell::testing::StandinSettings;
using tidewell::testing::StandinShow;
using tidewell::testing::TempFolder;
using namespace tidewell::bench;

namespace {

constexpr int kMonitor = 2;

// "median 1.2 ms, max 3.4 ms"; values must not be empty.
std::string Spread(const std::vector<double>& values) {
    char text[64];
    std::snprintf(text, sizeof(text), "median %.1f ms, max %.1f ms", Median(values),
                  *std::max_element(values.begin(), values.end()));
    return text;
}  // the second of the benchmark's two displays

int MeasureCpu(const std::wstring& tidewell, const std::wstring& standin, double seconds) {
    TempFolder folder;
    StandinSettings settings;
    BenchPreferences preferences;
    settings.Set(L"SECONDS", std::to_wstring(seconds)).Set(L"LOG", folder.File(L"cpu.log"));
    preferences.Store({folder.Touch(L"long show.ppt")}, standin, kMonitor);
    Program program(preferences, tidewell);
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
    char figure[64];
    std::snprintf(figure, sizeof(figure), "%.2f%% of one core (%.3f s in %.1f s)",
                  100.0 * showCpu / wall, showCpu, wall);
    TableRow("CPU of tidewell.exe while a show plays", figure);
    return 0;
}

int MeasureLatency(const std::wstring& tidewell, const std::wstring& standin, int shows) {
    TempFolder folder;
    StandinSettings settings;
    BenchPreferences preferences;
    const std::wstring log = folder.File(L"latency.log");
    // Each show ends once it has been placed (or after 20 s if it never is).
    settings.Set(L"SECONDS", L"20").Set(L"UNTIL_PLACED", L"1").Set(L"LOG", log);
    std::vector<std::wstring> files;
    for (int i = 0; i < shows; ++i) files.push_back(folder.Touch(std::to_wstring(i) + L".ppt"));
    preferences.Store(files, standin, kMonitor);
    Program program(preferences, tidewell);
    if (!program.Main() || !program.PlayAll()) return std::puts("the play run did not start"), 1;
    if (!program.WaitForRunEnd(std::chrono::seconds(10 * shows))) {
        return std::puts("the play run did not end"), 1;
    }
    // Times in ms from the stand-in's own log: its window created, its showing begun, the window
    // shown and drawn, moved.
    std::vector<double> fromCreation, fromShowing, fromShown, standinShowing;
    int unplaced = 0;
    for (const StandinShow& show : ReadStandinLog(log)) {
        if (show.moved == 0) {
            ++unplaced;
            continue;
        }
        fromCreation.push_back((show.moved - show.created) / 1000.0);
        fromShowing.push_back((show.moved - show.showing) / 1000.0);
        fromShown.push_back((show.moved - show.shown) / 1000.0);
        standinShowing.push_back((show.shown - show.showing) / 1000.0);
    }
    if (fromShown.empty()) return std::puts("no show was placed"), 1;
    std::printf("placement: %zu shows placed, %d never placed\n", fromShown.size(), unplaced);
    std::printf("placement: shown and drawn -> moved: %s\n", Spread(fromShown).c_str());
    std::printf("placement: showing begun -> moved: %s\n", Spread(fromShowing).c_str());
    std::printf("placement: created -> moved: %s\n", Spread(fromCreation).c_str());
    std::printf("placement: the stand-in itself, showing begun -> shown and drawn: %s\n",
                Spread(standinShowing).c_str());
    const std::string count = " (" + std::to_string(fromShown.size()) + " shows, " +
                              std::to_string(unplaced) + " unplaced)";
    TableRow("Placement: show window shown and drawn -> moved to its monitor",
             Spread(fromShown) + count);
    TableRow("Placement: showing begun -> moved (the stand-in's own showing included)",
             Spread(fromShowing));
    TableRow("Placement: show window created -> moved", Spread(fromCreation));
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
    return status;
}
