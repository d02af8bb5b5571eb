// The check of a presentation before it is copied or played: how long it takes for a large deck.
// Usage: presentation_check_bench DECK [ROUNDS]. Prints the fastest and the slowest round, and a
// TABLE row for bench/run.sh.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "copies/presentation_check_win32.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: presentation_check_bench DECK [ROUNDS]\n", stderr);
        return 2;
    }
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    std::ifstream in(std::filesystem::path(argv[1]), std::ios::binary);
    const std::vector<std::uint8_t> deck{std::istreambuf_iterator<char>(in), {}};
    const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> ms;
    std::wstring finding;
    for (int round = 0; round < rounds; ++round) {
        LARGE_INTEGER start{}, end{};
        ::QueryPerformanceCounter(&start);
        finding = tidewell::FindingText(tidewell::CheckPresentationBytes(deck));
        ::QueryPerformanceCounter(&end);
        ms.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                     static_cast<double>(frequency.QuadPart));
    }
    std::sort(ms.begin(), ms.end());
    const double megabytes = static_cast<double>(deck.size()) / (1024.0 * 1024.0);
    std::printf("check of a %.1f MB deck (%ls): fastest %.0f ms, slowest %.0f ms of %d rounds\n",
                megabytes, finding.empty() ? L"whole" : finding.c_str(), ms.front(), ms.back(),
                rounds);
    std::printf(
        "TABLE\tCheck of a %.0f MB deck before it is copied or played (fastest of %d)\t%.0f ms\n",
        megabytes, rounds, ms.front());
    ::CoUninitialize();
    return 0;
}
