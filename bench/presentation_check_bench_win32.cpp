// The check of a presentation before it is copied or played: how long it takes for a large deck.
// Usage: presentation_check_bench DECK [ROUNDS]: the check of the deck's bytes in memory; prints
//        the fastest and the slowest round.
//        presentation_check_bench --copy DECK COPIES: the deck taken as one on a share (copied
//        into COPIES and checked there) and as one on this disk (checked where it is), as a run
//        prepares it; prints the time and the process's peak memory.
// Each prints TABLE rows for bench/run.sh.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "bench_support_win32.h"
#include "copies/local_copies_win32.h"
#include "copies/presentation_check_win32.h"

namespace {

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

double Megabytes(std::uint64_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

int CheckInMemory(const wchar_t* path, int rounds) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    const std::vector<std::uint8_t> deck{std::istreambuf_iterator<char>(in), {}};
    std::vector<double> ms;
    std::wstring finding;
    for (int round = 0; round < rounds; ++round) {
        LARGE_INTEGER start{}, end{};
        ::QueryPerformanceCounter(&start);
        finding = tidewell::FindingText(tidewell::CheckPresentationBytes(deck));
        ::QueryPerformanceCounter(&end);
        ms.push_back(Milliseconds(start, end));
    }
    std::sort(ms.begin(), ms.end());
    const double megabytes = Megabytes(deck.size());
    std::printf("check of a %.1f MB deck (%ls): fastest %.0f ms, slowest %.0f ms of %d rounds\n",
                megabytes, finding.empty() ? L"whole" : finding.c_str(), ms.front(), ms.back(),
                rounds);
    std::printf(
        "TABLE\tCheck of a %.0f MB deck before it is copied or played (fastest of %d)\t%.0f ms\n",
        megabytes, rounds, ms.front());
    return 0;
}

// This process as Linux sees it, for its memory: Wine runs each program as a Linux process whose
// command line starts with the program's path as it was started ("self" would be the Wine
// server, which opens files for it). Another run of this benchmark at the same time would be
// taken for this one.
std::wstring LinuxProcess() {
    WIN32_FIND_DATAW data{};
    HANDLE find = ::FindFirstFileW(L"Z:\\proc\\*", &data);
    if (find == INVALID_HANDLE_VALUE) return {};
    std::wstring found;
    do {
        const std::wstring pid = data.cFileName;
        if (pid.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        const std::string program =
            tidewell::bench::ReadWholeFile(L"Z:\\proc\\" + pid + L"\\cmdline").c_str();
        if (program.ends_with("presentation_check_bench.exe")) found = pid;
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return found;
}

// A field of Linux's account of this process, in MB: "VmHWM" is the peak resident size, pages of
// a mapped file included; "RssAnon" the private memory resident now.
double LinuxMemoryMB(const char* field) {
    static const std::wstring pid = LinuxProcess();
    const std::string status =
        pid.empty() ? std::string()
                    : tidewell::bench::ReadWholeFile(L"Z:\\proc\\" + pid + L"\\status");
    const std::size_t at = status.find(std::string("\n") + field + ":");
    return at == std::string::npos ? -1
                                   : std::stod(status.substr(at + std::strlen(field) + 2)) / 1024.0;
}

// Prepares the deck once as a run does, and tells the time, whether it is whole, and the peak
// private memory meanwhile (sampled, as Linux keeps no peak of it).
void PrepareOnce(tidewell::LocalCopies& copies, const std::wstring& deck, const char* what,
                 double megabytes) {
    std::atomic<bool> done{false};
    std::atomic<double> peakPrivate{LinuxMemoryMB("RssAnon")};
    std::thread sampler([&] {
        while (!done) {
            peakPrivate = std::max(peakPrivate.load(), LinuxMemoryMB("RssAnon"));
            ::Sleep(5);
        }
    });
    LARGE_INTEGER start{}, end{};
    ::QueryPerformanceCounter(&start);
    const tidewell::PreparedShow show = copies.Prepare(deck, true);
    ::QueryPerformanceCounter(&end);
    done = true;
    sampler.join();
    const std::wstring outcome = show.playPath.empty() ? show.skipped
                                 : show.fromCopy       ? L"whole, plays from its copy"
                                                       : L"whole, plays in place";
    const double ms = Milliseconds(start, end);
    std::printf("%s of a %.0f MB deck (%ls): %.0f ms, peak private memory %.0f MB\n", what,
                megabytes, outcome.c_str(), ms, peakPrivate.load());
    std::printf(
        "TABLE\t%s of a %.0f MB deck, as a run prepares it (its 300 ms look for a writer "
        "included)\t%.0f ms\n",
        what, megabytes, ms);
    std::printf("TABLE\tPeak private memory meanwhile (sampled every 5 ms)\t%.0f MB\n",
                peakPrivate.load());
}

int CopyAndCheck(const std::wstring& deck, const std::wstring& folder) {
    const double megabytes =
        Megabytes(static_cast<std::uint64_t>(std::filesystem::file_size(deck)));
    tidewell::LocalCopies fromShare(folder, [](const std::wstring&) { return true; });
    PrepareOnce(fromShare, deck, "Copy and check", megabytes);
    tidewell::LocalCopies onThisDisk(folder, [](const std::wstring&) { return false; });
    PrepareOnce(onThisDisk, deck, "Check in place", megabytes);
    std::printf(
        "TABLE\tPeak resident memory of the process (the mapped deck's pages included)\t"
        "%.0f MB\n",
        LinuxMemoryMB("VmHWM"));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const bool copy = argc == 4 && std::wstring(argv[1]) == L"--copy";
    if (argc < 2 || (!copy && std::wstring(argv[1]).starts_with(L"--"))) {
        std::fputs(
            "usage: presentation_check_bench DECK [ROUNDS]\n"
            "       presentation_check_bench --copy DECK COPIES\n",
            stderr);
        return 2;
    }
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const int result = copy ? CopyAndCheck(argv[2], argv[3])
                            : CheckInMemory(argv[1], argc > 2 ? std::max(1, _wtoi(argv[2])) : 5);
    ::CoUninitialize();
    return result;
}
