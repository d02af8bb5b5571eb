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
#include "bench_support_win32.h"

using namespace std::chrono_literals;
using tidewell::testing::ReadStandinLog;
using tidewell::testing::StandinSettings;
using tidewell::testing::StandinShow;
using tidewell::testing::TempFolder;
using namespace tidewell::bench;

namespace {

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
    char figure[64];
    std::snprintf(figure, sizeof(figure), "%.2f%% of one core (%.3f s in %.1f s)",
                  100.0 * showCpu / wall, showCpu, wall);
    TableRow("CPU of tidewell.exe while a show plays", figure);
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
    char figure[96];
    std::snprintf(figure, sizeof(figure), "median %.0f ms, max %.0f ms (%zu shows)", median,
                  latencies.back(), latencies.size());
    TableRow("Placement latency (show window appears -> moved)", figure);
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
