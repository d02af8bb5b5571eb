// A stand-in for the presentation program: one process per presentation,
// one slide-show window of class "screenClass" (visible, enabled, top-level)
// that shows the presentation's file name, ending on a key, a click, a
// close request or after a set time. It logs where its window was when it
// ended, so tests and benchmarks can see what the player did to it.
#include <windows.h>

#include <string>

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
};

Run g_run;

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

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH background = CreateSolidBrush(RGB(16, 40, 72));
    FillRect(dc, &client, background);
    DeleteObject(background);

    const std::wstring& file = g_run.options.file;
    const size_t cut = file.find_last_of(L"\\/:");
    const std::wstring name = cut == std::wstring::npos ? file : file.substr(cut + 1);
    const std::wstring detail =
        file + L"\n" + g_run.options.switches + L"   pid " + std::to_wstring(GetCurrentProcessId());

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    const int height = (client.bottom - client.top) / 8;
    HFONT big = CreateFontW(-height, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                            ANTIALIASED_QUALITY, 0, L"Arial");
    HGDIOBJ old = SelectObject(dc, big);
    RECT top = client;
    top.bottom = (client.top + client.bottom) / 2 + height / 2;
    DrawTextW(dc, name.c_str(), -1, &top,
              DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    HFONT small = CreateFontW(-height / 4, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                              ANTIALIASED_QUALITY, 0, L"Arial");
    SelectObject(dc, small);
    RECT bottom = client;
    bottom.top = top.bottom + height / 4;
    DrawTextW(dc, detail.c_str(), -1, &bottom, DT_CENTER | DT_NOPREFIX | DT_WORDBREAK);
    SelectObject(dc, old);
    DeleteObject(big);
    DeleteObject(small);
    EndPaint(hwnd, &ps);
}

void NotePositionChange(const WINDOWPOS& pos) {
    // Our own showing never asks for a frame change; the player's single
    // SetWindowPos does, so that is what counts as a placement. A move to
    // where the window already is arrives marked SWP_NOMOVE, and counts too.
    if (pos.flags & SWP_FRAMECHANGED) {
        ++g_run.placements;
        if (g_run.moved == 0) {
            g_run.moved = NowMicros();
        }
        // Ended from a timer, outside the mover's SetWindowPos, once the count is reached.
        if (g_run.options.untilPlaced > 0 && g_run.placements == g_run.options.untilPlaced) {
            SetTimer(g_run.show, kPlacedTimer, 1, nullptr);
        }
    }
}

LRESULT CALLBACK ShowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NCCREATE:
            g_run.created = NowMicros();
            break;
        case WM_PAINT:
            Paint(hwnd);
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
            End(L"key");
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            End(L"click");
            return 0;
        case WM_CLOSE:
            End(L"close");
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
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

// One line per run, tab-separated key=value fields; times in microseconds
// since 1970. "created" is when the show window came to exist, "showing" when
// it began to become visible, "shown" when it was visible and drawn, "ready"
// when it could first be found (visible, enabled, nothing of ours ahead of it),
// so moved - ready is the placement latency the player achieved.
void WriteLog(long long end) {
    const Options& o = g_run.options;
    if (o.logPath.empty()) {
        return;
    }
    long long ready = g_run.shown;
    if (g_run.enabled > ready) ready = g_run.enabled;
    if (g_run.firstGone > ready) ready = g_run.firstGone;
    const std::wstring line =
        L"standin\tpid=" + std::to_wstring(GetCurrentProcessId()) + L"\tswitches=" + o.switches +
        L"\tclass=" + o.windowClass + L"\tstart=" + std::to_wstring(g_run.start) + L"\tcreated=" +
        std::to_wstring(g_run.created) + L"\tshowing=" + std::to_wstring(g_run.showing) +
        L"\tshown=" + std::to_wstring(g_run.shown) + L"\tready=" + std::to_wstring(ready) +
        L"\tmoved=" + std::to_wstring(g_run.moved) + L"\tplacements=" +
        std::to_wstring(g_run.placements) + L"\tleft=" + std::to_wstring(g_run.endRect.left) +
        L"\ttop=" + std::to_wstring(g_run.endRect.top) + L"\tend=" + std::to_wstring(end) +
        L"\treason=" + g_run.reason + L"\tfile=" + o.file + L"\n";
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

int RunShow(HINSTANCE instance) {
    g_run.start = NowMicros();
    g_run.options = ReadOptions();
    const Options& o = g_run.options;
    if (o.delayMs) {
        Sleep(o.delayMs);
    }
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

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    WriteLog(NowMicros());
    return 0;
}

}  // namespace
}  // namespace standin

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return standin::RunShow(instance);
}
