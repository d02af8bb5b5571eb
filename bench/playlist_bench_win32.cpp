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

#include "../tests/win32/support/temp_folder.h"
#include "app/form1_win32.h"
#include "common/message_pump_win32.h"
#include "app/resource.h"
#include "bench_support_win32.h"
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
    bool AskYesNo(HWND, const std::wstring&) override { return false; }
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

// The figures that go into the shared benchmark table.
void TableRow(const std::string& what, double milliseconds) {
    char figure[32];
    std::snprintf(figure, sizeof(figure), "%.0f ms", milliseconds);
    tidewell::bench::TableRow("Playlist: " + what, figure);
}

void FillFolder(const tidewell::testing::TempFolder& folder, int files) {
    for (int i = 0; i < files; ++i) {
        wchar_t name[64];
        std::swprintf(name, 64, L"deck%05d.pptx", i);
        folder.Touch(name);
    }
}

}  // namespace

// A command as the toolbar sends it.
void Click(HWND window, int commandId) {
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

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
    const std::string rows = std::to_string(entries) + " rows";
    const double append = Measure(window, [&] {
        for (int i = 0; i < entries; ++i)
            list.Append(L"C:\\Presentations\\Quarterly review\\deck" + std::to_wstring(i) +
                        L".pptx");
    });
    Report("append one by one", append);
    TableRow("append " + rows + " one by one", append);
    const double select = Measure(window, [&] { list.SetSelectedIndex(entries / 2); });
    Report("select a row in the middle (rule applied)", select);
    TableRow("select a row among " + rows, select);
    Report("scroll to the last row", Measure(window, [&] {
               ListView_EnsureVisible(form.Control(IDC_ListView1), entries - 1, FALSE);
           }));
    Report("select the last row, then Move up", Measure(window, [&] {
               list.SetSelectedIndex(entries - 1);
               Click(window, IDC_ToolButton5);
           }));
    const double drag = Measure(window, [&] { list.MoveDragged(0, -1); });
    Report("drag move: first row below the last", drag);
    TableRow("drag move of the first of " + rows + " to the end", drag);
    Report("Remove (first row)", Measure(window, [&] {
               list.SetSelectedIndex(0);
               Click(window, IDC_ToolButton3);
           }));
    const double removeAll = Measure(window, [&] { Click(window, IDC_ToolButton4); });
    Report("Remove all", removeAll);
    TableRow("Remove all on " + rows, removeAll);

    // Rows far longer than any path a file can have, as a playlist kept for a drive that does
    // not answer could hold them: the list draws every visible row's path compacted to its width.
    const HWND listControl = form.Control(IDC_ListView1);
    for (int i = 0; i < 12; ++i) {
        std::wstring path = L"Q:";
        while (path.size() < 60'000) path += L"\\Lobby folder";
        list.Append(path.substr(0, 60'000 - 12) + L"\\deck" + std::to_wstring(i + 10) + L".pptx");
    }
    const double paint = Measure(window, [&] { ::InvalidateRect(listControl, nullptr, TRUE); });
    Report("paint of 12 rows of 60,000 characters", paint);
    TableRow("paint of 12 rows of 60,000 characters", paint);
    Click(window, IDC_ToolButton4);
    tidewell::PumpPendingMessages();

    tidewell::testing::TempFolder folder(L"tidewell-bench");
    const auto fillStart = Clock::now();
    FillFolder(folder, folderFiles);
    Report("(creating the folder's files)",
           std::chrono::duration<double, std::milli>(Clock::now() - fillStart).count());
    dialogs.folder = folder.Path();
    for (int run = 1; run <= 3; ++run) {
        const double ms = Measure(window, [&] { Click(window, IDC_ToolButton2); });
        char label[64];
        std::snprintf(label, sizeof(label), "Add folder, run %d (%zu rows after)", run,
                      list.Count());
        Report(label, ms);
        if (run == 1) TableRow("Add folder of " + std::to_string(folderFiles) + " files", ms);
    }
    Report("Remove all (after Add folder)",
           Measure(window, [&] { Click(window, IDC_ToolButton4); }));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\hollowfin-bench");
    ::CoUninitialize();
    return 0;
}
