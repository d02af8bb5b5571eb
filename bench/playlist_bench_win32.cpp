// Measures the playlist on the real main window, in-process: appending 100,000 entries, working
// with a list that long (select, scroll, move, drag, remove), "Remove all" on it, and "Add folder"
// on a folder of 10,000 presentation files. Each figure is wall time including the repaint that
// follows, since what matters is how long the user waits.
// Usage: playlist_bench_win32.exe [entries] [folder files]
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>

#include "app/form1_win32.h"
#include "app/message_pump_win32.h"
#include "app/resource.h"
#include "playlist/playlist_view_win32.h"

namespace {

using Clock = std::chrono::steady_clock;

// Answers the folder browser with the benchmark's folder; nothing else is ever shown.
class BenchDialogs : public tidewell::Dialogs {
  public:
    std::wstring folder;
    bool RunFileDialog(HWND, tidewell::FileDialog&) override { return false; }
    std::optional<std::wstring> BrowseForFolder(HWND, const std::wstring&) override {
        return folder;
    }
    void ShowMessage(HWND, const std::wstring&) override {}
    void ShowError(HWND, const std::wstring& text) override {
        std::fwprintf(stderr, L"error: %ls\n", text.c_str());
    }
};

class NoShell : public tidewell::Shell {
  public:
    void OpenA(HWND, const std::string&) override {}
    void OpenW(HWND, const std::wstring&) override {}
};

// Runs the step, then lets the window handle what the step queued and repaint.
template <typename F>
double Measure(HWND window, F&& step) {
    const auto start = Clock::now();
    step();
    tidewell::PumpPendingMessages();
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Report(const char* what, double milliseconds) {
    std::printf("%-52s %10.1f ms\n", what, milliseconds);
    std::fflush(stdout);
}

std::wstring MakeFolder(int files) {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder =
        std::wstring(temp) + L"tidewell-bench-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < files; ++i) {
        wchar_t name[64];
        std::swprintf(name, 64, L"\\deck%05d.pptx", i);
        HANDLE file = ::CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    }
    return folder;
}

void RemoveFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    HANDLE find = ::FindFirstFileW((folder + L"\\*.*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
        } while (::FindNextFileW(find, &entry));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int entries = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 100000;
    const int folderFiles = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 10000;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    BenchDialogs dialogs;
    NoShell shell;
    const std::wstring keyPath = L"SOFTWARE\\hollowfin-bench\\playlist";
    tidewell::TForm1 form(
        tidewell::Form1Settings{&dialogs, &shell, tidewell::EnumerateMonitors(), keyPath});
    form.Create();
    form.ShowCentered();
    tidewell::PumpPendingMessages();
    const HWND window = form.Handle();
    tidewell::PlaylistView& list = form.Playlist();

    std::printf("playlist benchmark: %d entries, folder of %d files\n", entries, folderFiles);
    Report("append one by one", Measure(window, [&] {
               for (int i = 0; i < entries; ++i)
                   list.Append(L"C:\\Presentations\\Quarterly review\\deck" + std::to_wstring(i) +
                               L".pptx");
           }));
    Report("select a row in the middle (rule applied)",
           Measure(window, [&] { list.SetSelectedIndex(entries / 2); }));
    Report("scroll to the last row",
           Measure(window, [&] { ListView_EnsureVisible(form.ListView1, entries - 1, FALSE); }));
    Report("select the last row, then Move up", Measure(window, [&] {
               list.SetSelectedIndex(entries - 1);
               form.ToolButton5Click();
           }));
    Report("drag move: first row below the last",
           Measure(window, [&] { list.MoveDragged(0, -1); }));
    Report("Remove (first row)", Measure(window, [&] {
               list.SetSelectedIndex(0);
               form.ToolButton3Click();
           }));
    Report("Remove all", Measure(window, [&] { form.ToolButton4Click(); }));

    Report("append in one batch", Measure(window, [&] {
               std::vector<std::wstring> paths;
               paths.reserve(entries);
               for (int i = 0; i < entries; ++i)
                   paths.push_back(L"C:\\Presentations\\deck" + std::to_wstring(i) + L".pptx");
               list.AppendAll(std::move(paths));
           }));
    Report("Remove all (again)", Measure(window, [&] { form.ToolButton4Click(); }));

    const auto makeStart = Clock::now();
    dialogs.folder = MakeFolder(folderFiles);
    Report("(creating the folder's files)",
           std::chrono::duration<double, std::milli>(Clock::now() - makeStart).count());
    for (int run = 1; run <= 3; ++run) {
        const double ms = Measure(window, [&] { form.ToolButton2Click(); });
        char label[64];
        std::snprintf(label, sizeof(label), "Add folder, run %d (%zu rows after)", run,
                      list.Count());
        Report(label, ms);
    }
    Report("Remove all (after Add folder)", Measure(window, [&] { form.ToolButton4Click(); }));
    RemoveFolder(dialogs.folder);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\hollowfin-bench");
    ::CoUninitialize();
    return 0;
}
