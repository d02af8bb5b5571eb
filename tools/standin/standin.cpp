// A stand-in for the presentation program: one process per presentation,
// one slide-show window of class "screenClass" (visible, enabled, top-level)
// that shows the presentation's file name, ending on a key, a click, a
// close request or after a set time. It logs where its window was when it
// ended, so tests and benchmarks can see what the player did to it.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "standin_options.h"

namespace standin {
namespace {

constexpr UINT_PTR kEndTimer = 1;
constexpr UINT_PTR kEnableTimer = 2;
constexpr UINT_PTR kPlacedTimer = 6;
constexpr UINT_PTR kFirstWindowTimer = 3;
constexpr UINT_PTR kShowBehindBoxTimer = 4;
constexpr wchar_t kNoticeClass[] = L"standinNotice";
constexpr wchar_t kNoticeCaption[] = L"Stand-in notice";

// Microseconds since 1970 on the wall clock, so that lines written by
// different processes can be compared.
long long NowMicros() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    return static_cast<long long>((t.QuadPart - 116444736000000000ULL) / 10);
}

struct Run {
    Options options;
    HWND show = nullptr;
    HWND notice = nullptr;
    long long start = 0;
    long long created = 0;    // show window exists (not yet visible)
    long long showing = 0;    // its showing began (becoming visible)
    long long shown = 0;      // show window visible and drawn
    long long enabled = 0;    // show window enabled
    long long firstGone = 0;  // the window shown ahead of it closed
    long long moved = 0;      // first move by somebody else
    int placements = 0;
    RECT endRect{};
    const wchar_t* reason = L"none";
    int slide = 1;       // in a slide show: the slide on screen; one past the last is the end slide
    std::wstring pages;  // in a slide show: when each Page Down came, comma-separated
};

Run g_run;
// Shows opened for later copies of the program, oldest first.
std::vector<HWND> g_handed;  // oldest first

void End(const wchar_t* reason) {
    if (g_run.reason[0] == L'n') {
        g_run.reason = reason;
    }
    GetWindowRect(g_run.show, &g_run.endRect);
    DestroyWindow(g_run.show);
}

// The message box that this thread is showing, if any.
HWND FindMessageBox() {
    HWND box = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM found) -> BOOL {
            wchar_t cls[64] = {};
            GetClassNameW(hwnd, cls, 63);
            if (lstrcmpW(cls, L"#32770") != 0) return TRUE;
            *reinterpret_cast<HWND*>(found) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&box));
    return box;
}

// Shows the show window, directly below `above` in the z-order when given,
// and starts the clock of the first window.
void ShowBehind(HWND above) {
    if (above) {
        SetWindowPos(g_run.show, above, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        SetTimer(g_run.show, kFirstWindowTimer, g_run.options.firstMs, nullptr);
    } else {
        ShowWindow(g_run.show, SW_SHOWNORMAL);
    }
    UpdateWindow(g_run.show);
    g_run.shown = NowMicros();
}

// Closes the window shown ahead of the show window: our own notice window,
// or the message box that is running its own modal loop on this thread. The
// notice window can instead fall behind the show window and stay.
void CloseFirstWindow() {
    if (g_run.notice && g_run.options.firstEnd == FirstWindowEnd::FallBehind) {
        SetWindowPos(g_run.notice, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else if (g_run.notice) {
        DestroyWindow(g_run.notice);
        g_run.notice = nullptr;
    } else if (HWND box = FindMessageBox()) {
        PostMessageW(box, WM_CLOSE, 0, 0);
    }
    g_run.firstGone = NowMicros();
}

// A slide show ends as PowerPoint's started with /S does: Page Down moves to the next slide,
// after the last one to a black end slide, and one more key press there ends the show. Esc ends
// it at once. True when the key belonged to the slide show.
bool SlideKey(WPARAM key) {
    if (g_run.options.slides <= 0 || (key != VK_NEXT && key != VK_ESCAPE)) {
        return g_run.options.slides > 0;
    }
    if (key == VK_ESCAPE) {
        End(L"key");
        return true;
    }
    if (!g_run.pages.empty()) g_run.pages += L',';
    g_run.pages += std::to_wstring(NowMicros());
    if (g_run.slide > g_run.options.slides) {
        End(L"end");
        return true;
    }
    ++g_run.slide;
    InvalidateRect(g_run.show, nullptr, TRUE);
    return true;
}

bool PaintEndSlide(HWND hwnd) {
    if (g_run.options.slides <= 0 || g_run.slide <= g_run.options.slides) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(160, 160, 160));
    client.top += 8;
    DrawTextW(dc, L"End of slide show, click to exit.", -1, &client, DT_CENTER | DT_TOP);
    EndPaint(hwnd, &ps);
    return true;
}

// "Slide 2 of 3" in a slide show, drawn large enough to read in a screenshot; empty otherwise.
std::wstring SlideText() {
    if (g_run.options.slides <= 0) return {};
    return L"Slide " + std::to_wstring(g_run.slide) + L" of " +
           std::to_wstring(g_run.options.slides);
}

// One line of text centred in `area`, in bold Arial `height` pixels high or, below 40 pixels,
// plain.
void DrawLine(HDC dc, const std::wstring& text, RECT area, int height, UINT placement) {
    HFONT font = CreateFontW(-height, 0, 0, 0, height >= 40 ? FW_BOLD : FW_NORMAL, 0, 0, 0,
                             DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, L"Arial");
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextW(dc, text.c_str(), -1, &area, DT_CENTER | DT_NOPREFIX | placement);
    SelectObject(dc, old);
    DeleteObject(font);
}

// The presentation's file name large in the middle, its slide below it, and what the show was
// started with in small print under that.
void Paint(HWND hwnd, const std::wstring& file) {
    if (PaintEndSlide(hwnd)) return;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH background = CreateSolidBrush(RGB(16, 40, 72));
    FillRect(dc, &client, background);
    DeleteObject(background);

    const size_t cut = file.find_last_of(L"\\/:");
    const std::wstring name = cut == std::wstring::npos ? file : file.substr(cut + 1);
    const std::wstring detail =
        file + L"\n" + g_run.options.switches + L"   pid " + std::to_wstring(GetCurrentProcessId());

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    const int height = (client.bottom - client.top) / 8;
    RECT area = client;
    area.bottom = (client.top + client.bottom) / 2 + height / 2;
    DrawLine(dc, name, area, height, DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS);
    area.top = area.bottom + height / 4;
    const std::wstring slide = SlideText();
    if (!slide.empty()) {
        area.bottom = area.top + height * 2 / 3;
        DrawLine(dc, slide, area, height / 2, DT_TOP | DT_SINGLELINE);
        area.top = area.bottom + height / 4;
    }
    area.bottom = client.bottom;
    DrawLine(dc, detail, area, height / 4, DT_WORDBREAK);
    EndPaint(hwnd, &ps);
}

// True when the change was a placement. Our own showing never asks for a
// frame change; the player's single SetWindowPos does, so that is what counts
// as a placement. A move to where the window already is arrives marked
// SWP_NOMOVE, and counts too.
bool CountPlacement(Run& run, const WINDOWPOS& pos) {
    if (!(pos.flags & SWP_FRAMECHANGED)) {
        return false;
    }
    ++run.placements;
    if (run.moved == 0) {
        run.moved = NowMicros();
    }
    return true;
}

void NotePositionChange(const WINDOWPOS& pos) {
    // Ended from a timer, outside the mover's SetWindowPos, once the count is reached.
    if (CountPlacement(g_run, pos) && g_run.options.untilPlaced > 0 &&
        g_run.placements == g_run.options.untilPlaced) {
        SetTimer(g_run.show, kPlacedTimer, 1, nullptr);
    }
}

LRESULT CALLBACK ShowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NCCREATE:
            g_run.created = NowMicros();
            break;
        case WM_PAINT:
            Paint(hwnd, g_run.options.file);
            return 0;
        case WM_WINDOWPOSCHANGING:
            if ((reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW) &&
                g_run.showing == 0) {
                g_run.showing = NowMicros();
            }
            break;
        case WM_WINDOWPOSCHANGED:
            NotePositionChange(*reinterpret_cast<const WINDOWPOS*>(lp));
            break;
        case WM_TIMER:
            KillTimer(hwnd, wp);
            if (wp == kEndTimer) {
                End(L"timeout");
            } else if (wp == kPlacedTimer) {
                End(L"placed");
            } else if (wp == kEnableTimer) {
                EnableWindow(hwnd, TRUE);
                g_run.enabled = NowMicros();
            } else if (wp == kFirstWindowTimer) {
                CloseFirstWindow();
            } else if (wp == kShowBehindBoxTimer) {
                ShowBehind(FindMessageBox());
            }
            return 0;
        case WM_KEYDOWN:
            if (!SlideKey(wp)) End(L"key");
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            End(L"click");
            return 0;
        case WM_CLOSE:
            End(L"close");
            return 0;
        case WM_DESTROY:
            if (g_handed.empty()) PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK NoticeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        DrawTextW(dc, kNoticeCaption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

void AppendLog(const std::wstring& line) {
    const Options& o = g_run.options;
    if (o.logPath.empty()) {
        return;
    }
    const std::string bytes = ToUtf8(line);
    HANDLE file =
        CreateFileW(o.logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// One line per show, tab-separated key=value fields; times in microseconds
// since 1970. "created" is when the show window came to exist, "showing" when
// it began to become visible, "shown" when it was visible and drawn, "ready"
// when it could first be found (visible, enabled, nothing of ours ahead of it),
// so moved - ready is the placement latency the player achieved.
std::wstring LogLine(const Run& run, const std::wstring& file, long long end) {
    const Options& o = g_run.options;
    long long ready = run.shown;
    if (run.enabled > ready) ready = run.enabled;
    if (run.firstGone > ready) ready = run.firstGone;
    return L"standin\tpid=" + std::to_wstring(GetCurrentProcessId()) + L"\tswitches=" + o.switches +
           L"\tclass=" + o.windowClass + L"\tstart=" + std::to_wstring(run.start) + L"\tcreated=" +
           std::to_wstring(run.created) + L"\tshowing=" + std::to_wstring(run.showing) +
           L"\tshown=" + std::to_wstring(run.shown) + L"\tready=" + std::to_wstring(ready) +
           L"\tmoved=" + std::to_wstring(run.moved) + L"\tplacements=" +
           std::to_wstring(run.placements) + L"\tleft=" + std::to_wstring(run.endRect.left) +
           L"\ttop=" + std::to_wstring(run.endRect.top) + L"\tend=" + std::to_wstring(end) +
           L"\treason=" + run.reason + L"\tpages=" + run.pages + L"\tfile=" + file + L"\n";
}

void WriteLog(long long end) {
    AppendLog(LogLine(g_run, g_run.options.file, end));
}

HWND CreateShowWindow(HINSTANCE instance) {
    const Options& o = g_run.options;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ShowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = o.windowClass.c_str();
    RegisterClassExW(&wc);
    const int width = o.size.cx > 0 ? o.size.cx : GetSystemMetrics(SM_CXSCREEN);
    const int height = o.size.cy > 0 ? o.size.cy : GetSystemMetrics(SM_CYSCREEN);
    return CreateWindowExW(0, o.windowClass.c_str(), o.file.c_str(), WS_POPUP, o.position.x,
                           o.position.y, width, height, nullptr, nullptr, instance, nullptr);
}

HWND CreateNoticeWindow(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = NoticeProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kNoticeClass;
    RegisterClassExW(&wc);
    HWND notice = CreateWindowExW(0, kNoticeClass, kNoticeCaption, WS_POPUP | WS_BORDER, 100, 100,
                                  300, 120, nullptr, nullptr, instance, nullptr);
    ShowWindow(notice, SW_SHOWNORMAL);
    UpdateWindow(notice);
    return notice;
}

// ---- Single instance: shows handed over by later copies ----

constexpr wchar_t kServerClass[] = L"standinServer";
constexpr ULONG_PTR kHandOffData = 0x57A9D1;

// One show opened for a later copy: a window of its own, logged when it closes.
struct HandedShow {
    std::wstring file;
    Run run;
};

LRESULT CALLBACK HandedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* show = reinterpret_cast<HandedShow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_NCCREATE: {
            show = static_cast<HandedShow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(show));
            show->run.created = NowMicros();
            break;
        }
        case WM_PAINT:
            Paint(hwnd, show->file);
            return 0;
        case WM_WINDOWPOSCHANGED:
            CountPlacement(show->run, *reinterpret_cast<const WINDOWPOS*>(lp));
            break;
        case WM_KEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_CLOSE:
            if (show->run.reason[0] == L'n') {
                show->run.reason = msg == WM_CLOSE     ? L"close"
                                   : msg == WM_KEYDOWN ? L"key"
                                                       : L"click";
            }
            GetWindowRect(hwnd, &show->run.endRect);
            DestroyWindow(hwnd);
            return 0;
        case WM_NCDESTROY:
            AppendLog(LogLine(show->run, show->file, NowMicros()));
            std::erase(g_handed, hwnd);
            delete show;
            // The copy ends with its last show.
            if (g_handed.empty() && !IsWindow(g_run.show)) PostQuitMessage(0);
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void OpenHandedShow(const std::wstring& file) {
    const Options& o = g_run.options;
    auto* show = new HandedShow{file, {}};
    show->run.start = NowMicros();
    static const bool registered = [] {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = HandedProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"screenClass";
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    (void)registered;
    const int width = o.size.cx > 0 ? o.size.cx : GetSystemMetrics(SM_CXSCREEN);
    const int height = o.size.cy > 0 ? o.size.cy : GetSystemMetrics(SM_CYSCREEN);
    HWND window =
        CreateWindowExW(0, L"screenClass", file.c_str(), WS_POPUP, o.position.x, o.position.y,
                        width, height, nullptr, nullptr, GetModuleHandleW(nullptr), show);
    if (!window) return;
    g_handed.push_back(window);
    show->run.showing = NowMicros();
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    show->run.shown = NowMicros();
}

LRESULT CALLBACK ServerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
        const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (data.dwData != kHandOffData) return FALSE;
        const std::wstring file(static_cast<const wchar_t*>(data.lpData),
                                data.cbData / sizeof(wchar_t));
        // Opened after the handing copy has been answered, as a program busy loading would.
        auto* pending = new std::wstring(file);
        PostMessageW(hwnd, WM_APP, 0, reinterpret_cast<LPARAM>(pending));
        return TRUE;
    }
    if (msg == WM_APP) {
        std::unique_ptr<std::wstring> file(reinterpret_cast<std::wstring*>(lp));
        OpenHandedShow(*file);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// True when a copy already running took the file.
bool HandToRunningCopy(const std::wstring& file) {
    HWND server = FindWindowExW(HWND_MESSAGE, nullptr, kServerClass, nullptr);
    if (!server) return false;
    COPYDATASTRUCT data{kHandOffData, static_cast<DWORD>((file.size() + 1) * sizeof(wchar_t)),
                        const_cast<wchar_t*>(file.c_str())};
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(server, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, 5000, &answer) &&
           answer == TRUE;
}

void BecomeServer(HINSTANCE instance) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = ServerProc;
    wc.hInstance = instance;
    wc.lpszClassName = kServerClass;
    RegisterClassExW(&wc);
    CreateWindowExW(0, kServerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}

// A named event that the test made and named in an option; none when it named none.
HANDLE OpenTestEvent(const std::wstring& name) {
    return name.empty() ? nullptr : OpenEventW(SYNCHRONIZE, FALSE, name.c_str());
}

// Holds the show back until the test lets it appear: a program that is slow to start for exactly
// as long as the test wants, where a set delay would race the test.
void WaitForShowSignal() {
    if (HANDLE showEvent = OpenTestEvent(g_run.options.showEvent)) {
        WaitForSingleObject(showEvent, INFINITE);
        CloseHandle(showEvent);
    }
}

// Each time the event is set, the most recent open show ends.
void EndNewestShow() {
    if (!g_handed.empty()) {
        PostMessageW(g_handed.back(), WM_CLOSE, 0, 0);
    } else if (g_run.show && IsWindow(g_run.show)) {
        End(L"signal");
    }
}

void RunMessageLoop() {
    HANDLE endEvent = OpenTestEvent(g_run.options.endEvent);
    const DWORD count = endEvent ? 1 : 0;
    for (;;) {
        const DWORD woken =
            MsgWaitForMultipleObjects(count, &endEvent, FALSE, INFINITE, QS_ALLINPUT);
        if (count && woken == WAIT_OBJECT_0) {
            EndNewestShow();
            continue;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                if (endEvent) CloseHandle(endEvent);
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

int RunShow(HINSTANCE instance) {
    g_run.start = NowMicros();
    g_run.options = ReadOptions();
    const Options& o = g_run.options;
    switch (o.mode) {
        case Mode::Exit:
            // After DELAY_MS when given: a test may look at the process before it is gone.
            if (o.delayMs) Sleep(o.delayMs);
            g_run.reason = L"exit";
            WriteLog(NowMicros());
            return 0;
        case Mode::Dialog:
            // What a program shows for a damaged or missing file; a close request answers it.
            MessageBoxW(nullptr, (L"Cannot open " + o.file).c_str(), kNoticeCaption, MB_OK);
            g_run.reason = L"dialog";
            WriteLog(NowMicros());
            return 0;
        case Mode::HandOff:
            if (HandToRunningCopy(o.file)) {
                g_run.reason = L"handed";
                WriteLog(NowMicros());
                return 0;
            }
            // The first copy shows its own file as it shows those handed to it later, each in a
            // window of its own, and ends with the last of them.
            BecomeServer(instance);
            OpenHandedShow(o.file);
            RunMessageLoop();
            return 0;
        case Mode::Show:
            break;
    }
    // Held for the whole show, closed when the process ends, as PowerPoint holds the deck it shows.
    if (o.hold && CreateFileW(o.file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr) == INVALID_HANDLE_VALUE) {
        MessageBoxW(nullptr, (L"Cannot open " + o.file).c_str(), kNoticeCaption, MB_OK);
        g_run.reason = L"dialog";
        WriteLog(NowMicros());
        return 0;
    }
    if (o.delayMs) {
        Sleep(o.delayMs);
    }
    WaitForShowSignal();
    g_run.show = CreateShowWindow(instance);
    if (!g_run.show) {
        return 2;
    }
    if (o.disabledMs) {
        EnableWindow(g_run.show, FALSE);
        SetTimer(g_run.show, kEnableTimer, o.disabledMs, nullptr);
    }
    if (o.seconds > 0) {
        SetTimer(g_run.show, kEndTimer, static_cast<UINT>(o.seconds * 1000), nullptr);
    }
    // A first window must already be on screen when the show window appears
    // below it; otherwise a watcher could find the show window in between.
    switch (o.first) {
        case FirstWindow::None:
            ShowBehind(nullptr);
            break;
        case FirstWindow::Window:
            g_run.notice = CreateNoticeWindow(instance);
            ShowBehind(g_run.notice);
            break;
        case FirstWindow::MessageBox:
            // The box runs its own modal loop; the show window appears from
            // inside it, once the box is up.
            SetTimer(g_run.show, kShowBehindBoxTimer, 1, nullptr);
            MessageBoxW(nullptr, L"The show starts when this box closes.", kNoticeCaption, MB_OK);
            if (g_run.firstGone == 0) {
                g_run.firstGone = NowMicros();  // closed by hand
            }
            break;
    }

    RunMessageLoop();
    WriteLog(NowMicros());
    return 0;
}

}  // namespace
}  // namespace standin

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return standin::RunShow(instance);
}
