// Start-up time and peak memory of tidewell.exe with large stored playlists, against an empty
// stored playlist, measured in the same run and reported as ratios (the machine is noisy; the
// ratio is what the program's own work adds). Start-up ends when the main window is visible with
// its playlist loaded. Peak memory is the high-water resident size (VmHWM) of the Linux process
// that runs tidewell.exe under Wine, so it includes Wine's own share, equal in all runs.
//
// The stored entries are spread as real playlists are: folders of a few hundred presentations,
// dealt in turn over several drives (the temporary folder on C: and every further root given,
// such as the drives that bench/run.sh maps to folders of its own).
// A size written "<entries>:<files>" stores that many entries in one folder of the last root
// instead, of which only the first <files> exist, all named alike but for their letters (as
// "Lobby deck qxb.pptx"): the listing of one large folder for many entries.
// A size written "long" stores 12 entries of 60,000 characters on a drive that is not there.
// Usage: startup_bench.exe <tidewell.exe> <runs> <entries per folder> <entries>[,<entries>...]
//        [root ...]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "../tests/win32/support/temp_folder.h"
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

struct Sample {
    double startupMs = 0;
    double peakKiB = 0;
};

double Median(const std::vector<Sample>& samples, double Sample::*field) {
    std::vector<double> values;
    for (const Sample& s : samples) values.push_back(s.*field);
    return tidewell::bench::Median(values);
}

// Starts the program once with `files` stored, and closes it; the list then shows `rows` rows.
bool MeasureOnce(BenchPreferences& preferences, const std::wstring& exe,
                 const std::vector<std::wstring>& files, std::size_t rows,
                 std::vector<Sample>& samples) {
    preferences.Store(files, L"", 1);
    Program program(preferences, exe, std::chrono::minutes(10));
    if (!program.Main()) return false;
    const std::wstring pid = FindLinuxProcess(exe);
    HWND list = ::FindWindowExW(program.Main(), nullptr, L"SysListView32", nullptr);
    const auto shown = static_cast<std::size_t>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    if (shown != rows) {
        std::printf("expected %zu rows, the list shows %zu\n", rows, shown);
        return false;
    }
    samples.push_back({program.StartupMilliseconds(),
                       pid.empty() ? -1.0 : static_cast<double>(PeakResidentKiB(pid))});
    return true;
}

void Touch(const std::wstring& path) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
}

// `count` empty presentation files in folders of `perFolder`, the folders dealt over the roots
// in turn; returns their paths in that order.
std::vector<std::wstring> MakePlaylist(const std::vector<std::wstring>& roots, int count,
                                       int perFolder) {
    std::vector<std::wstring> files;
    for (int i = 0; i < count; ++i) {
        const int folderNumber = i / perFolder;
        const std::wstring folder = roots[folderNumber % roots.size()] + L"\\startup " +
                                    std::to_wstring(count) + L"\\Shows " +
                                    std::to_wstring(folderNumber);
        if (i % perFolder == 0) {
            ::CreateDirectoryW(folder.substr(0, folder.rfind(L'\\')).c_str(), nullptr);
            ::CreateDirectoryW(folder.c_str(), nullptr);
        }
        files.push_back(folder + L"\\Lobby deck " + std::to_wstring(i) + L".pptx");
        Touch(files.back());
    }
    return files;
}

// `count` entries in one folder below `root`, the first `existing` of them files; their names
// differ only in their letters. Files already there (bench/run.sh makes the largest folder's
// from Linux) are opened rather than made, which Wine does at once.
std::vector<std::wstring> MakeOneFolder(const std::wstring& root, int count, int existing) {
    const std::wstring folder = root + L"\\one folder " + std::to_wstring(count);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<std::wstring> files;
    for (int i = 0; i < count; ++i) {
        std::wstring letters;
        for (int n = i, digit = 0; digit < 4; ++digit, n /= 26) letters += L'a' + n % 26;
        files.push_back(folder + L"\\Lobby deck " + letters + L".pptx");
        if (i < existing) Touch(files.back());
    }
    return files;
}

// Twelve paths of 60,000 characters on a drive letter that names no drive.
std::vector<std::wstring> MakeLongEntries() {
    std::vector<std::wstring> files;
    for (int i = 0; i < 12; ++i) {
        std::wstring path = L"Q:";
        while (path.size() < 60'000 - 12) path += L"\\Lobby folder";
        files.push_back(path.substr(0, 60'000 - 12) + L"\\deck" + std::to_wstring(i + 10) +
                        L".pptx");
    }
    return files;
}

std::string Thousands(int n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
    return digits;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5) {
        std::puts(
            "usage: startup_bench.exe <tidewell.exe> <runs> <entries per folder> "
            "<entries>[,<entries>...] [root ...]");
        return 2;
    }
    const std::wstring exe = argv[1];
    const int runs = std::max(1, _wtoi(argv[2]));
    const int perFolder = std::max(1, _wtoi(argv[3]));
    struct Size {
        int entries = 0;
        int existing = -1;  // -1: folders of <entries per folder>, every file there
        bool longPaths = false;
    };
    std::vector<Size> sizes;
    for (const wchar_t* p = argv[4]; *p;) {
        wchar_t* end = nullptr;
        Size size;
        if (std::wcsncmp(p, L"long", 4) == 0) {
            size = {12, 0, true};
            end = const_cast<wchar_t*>(p + 4);
        } else {
            size.entries = std::max(1, static_cast<int>(std::wcstol(p, &end, 10)));
            if (*end == L':') size.existing = static_cast<int>(std::wcstol(end + 1, &end, 10));
        }
        sizes.push_back(size);
        p = *end == L',' ? end + 1 : end;
    }
    TempFolder local(L"tidewell-startup-bench");
    std::vector<std::wstring> roots = {local.Path()};
    for (int i = 5; i < argc; ++i) {
        std::wstring root = argv[i];
        while (!root.empty() && root.back() == L'\\') root.pop_back();
        roots.push_back(root);
    }

    // Series 0 is the empty playlist, then one series per size. The runs take turns, so that a
    // machine that slows down or warms up meanwhile weighs on every series alike.
    std::vector<std::vector<std::wstring>> playlists(1);
    std::vector<std::size_t> rows(1, 0);
    for (const Size& size : sizes) {
        if (size.longPaths) {
            playlists.push_back(MakeLongEntries());
            rows.push_back(0);  // longer than any path: left out as text no file can be
        } else if (size.existing >= 0) {
            playlists.push_back(MakeOneFolder(roots.back(), size.entries, size.existing));
            rows.push_back(static_cast<std::size_t>(size.existing));
        } else {
            playlists.push_back(MakePlaylist(roots, size.entries, perFolder));
            rows.push_back(playlists.back().size());
        }
    }
    BenchPreferences preferences;
    std::vector<std::vector<Sample>> series(playlists.size());
    std::vector<Sample> warmUp;
    bool ok = MeasureOnce(preferences, exe, {}, 0, warmUp) &&
              MeasureOnce(preferences, exe, {}, 0, warmUp);
    for (int run = 0; ok && run < runs; ++run) {
        for (std::size_t i = 0; ok && i < playlists.size(); ++i) {
            ok = MeasureOnce(preferences, exe, playlists[i], rows[i], series[i]);
        }
    }
    if (!ok) return std::puts("tidewell.exe did not start as expected"), 1;

    const double emptyMs = Median(series[0], &Sample::startupMs);
    const double emptyKiB = Median(series[0], &Sample::peakKiB);
    std::printf("start-up with an empty playlist: %.0f ms, peak %.0f KiB (median of %d)\n", emptyMs,
                emptyKiB, runs);
    for (std::size_t i = 1; i < playlists.size(); ++i) {
        const Size& size = sizes[i - 1];
        const int entries = size.entries;
        const int folders = size.existing >= 0 ? 1 : (entries + perFolder - 1) / perFolder;
        const std::size_t drives = std::min<std::size_t>(roots.size(), folders);
        const double fullMs = Median(series[i], &Sample::startupMs);
        const double fullKiB = Median(series[i], &Sample::peakKiB);
        std::printf(
            "start-up with %d entries in %d folders on %zu drives: %.0f ms, peak %.0f KiB "
            "(median of %d)\n",
            entries, folders, drives, fullMs, fullKiB, runs);

        const std::string what =
            size.longPaths       ? std::string("12 stored entries of 60,000 characters / empty")
            : size.existing >= 0 ? Thousands(entries) + " stored entries in one folder of " +
                                       Thousands(size.existing) + " files / empty"
                                 : Thousands(entries) + " stored entries / empty";
        char figure[160];
        std::snprintf(figure, sizeof(figure),
                      "%.2fx (%.0f ms against %.0f ms; %d folders on %zu drives)", fullMs / emptyMs,
                      fullMs, emptyMs, folders, drives);
        TableRow("Start-up with " + what, figure);
        std::snprintf(figure, sizeof(figure), "%.2fx (%.1f MiB against %.1f MiB)",
                      fullKiB / emptyKiB, fullKiB / 1024, emptyKiB / 1024);
        TableRow("Peak memory with " + what, figure);
    }
    return 0;
}
