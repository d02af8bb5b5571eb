#include "e2e_support.h"

#include <algorithm>

#include <tlhelp32.h>

#include <sstream>
#include <thread>
#include <vector>

namespace tidewell::e2e {

std::wstring ExecutableFolder() {
    std::vector<wchar_t> path(32768);
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring full(path.data(), length);
    return full.substr(0, full.find_last_of(L"\\/"));
}

RunningProgram::~RunningProgram() {
    Kill();
    if (info.hThread) ::CloseHandle(info.hThread);
    if (info.hProcess) ::CloseHandle(info.hProcess);
}

void RunningProgram::Kill() {
    if (info.hProcess && ::WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(info.hProcess, 1);
        ::WaitForSingleObject(info.hProcess, 5000);
    }
}

bool StartProgram(const std::wstring& exePath, const std::wstring& arguments,
                  RunningProgram& program, DWORD creationFlags) {
    UseTestPreferencesKey();
    std::wstring commandLine = L"\"" + exePath + L"\" " + arguments;
    STARTUPINFOW startup{sizeof(startup)};
    return ::CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                            creationFlags, nullptr, nullptr, &startup, &program.info) != FALSE;
}

std::vector<DWORD> ProcessesStartedBy(DWORD processId) {
    std::vector<DWORD> started;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
         more = ::Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID == processId) started.push_back(entry.th32ProcessID);
    }
    ::CloseHandle(snapshot);
    return started;
}

namespace {
struct Search {
    DWORD processId;
    const wchar_t* className;
    HWND found;
    bool visibleOnly;
};
}  // namespace

HWND WaitForWindow(DWORD processId, const wchar_t* className, std::chrono::milliseconds timeout,
                   bool visibleOnly) {
    Search search{processId, className, nullptr, visibleOnly};
    WaitUntil(
        [&] {
            ::EnumWindows(
                [](HWND window, LPARAM data) -> BOOL {
                    auto& s = *reinterpret_cast<Search*>(data);
                    DWORD owner = 0;
                    ::GetWindowThreadProcessId(window, &owner);
                    wchar_t name[256] = {};
                    ::GetClassNameW(window, name, 256);
                    if (owner == s.processId && (!s.visibleOnly || ::IsWindowVisible(window)) &&
                        std::wstring(name) == s.className) {
                        s.found = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeout);
    return search.found;
}

namespace {
DWORD followedTidewell = 0;
}  // namespace

void FollowShowsOf(DWORD tidewellProcessId) {
    followedTidewell = tidewellProcessId;
}

bool IsFollowedShow(HWND window) {
    if (!followedTidewell) return true;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    // Shows handed over go to a copy of the program that the test itself started.
    for (const DWORD starter : {followedTidewell, ::GetCurrentProcessId()}) {
        const std::vector<DWORD> started = ProcessesStartedBy(starter);
        if (std::ranges::find(started, processId) != started.end()) return true;
    }
    return false;
}

std::string DescribeShows(const std::wstring& programName) {
    std::wostringstream text;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
         more = ::Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, programName.c_str()) == 0) {
            text << L"  running: " << entry.szExeFile << L" " << entry.th32ProcessID
                 << L" started by " << entry.th32ParentProcessID << L"\n";
        }
    }
    ::CloseHandle(snapshot);
    for (HWND w = ::FindWindowW(L"screenClass", nullptr); w;
         w = ::FindWindowExW(nullptr, w, L"screenClass", nullptr)) {
        RECT r{};
        ::GetWindowRect(w, &r);
        DWORD process = 0;
        ::GetWindowThreadProcessId(w, &process);
        text << L"  show \"" << WindowCaption(w) << L"\" at " << r.left << L"," << r.top
             << (::IsWindowVisible(w) ? L" visible" : L" hidden") << L", process " << process
             << L"\n";
    }
    const std::wstring wide = text.str();
    std::string narrow(wide.size() * 3, '\0');
    narrow.resize(::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        narrow.data(), static_cast<int>(narrow.size()), nullptr,
                                        nullptr));
    return narrow;
}

HWND WaitForShowWindow() {
    HWND show = nullptr;
    WaitUntil(
        [&] {
            show = nullptr;
            for (HWND w = ::FindWindowW(L"screenClass", nullptr); w && !show;
                 w = ::FindWindowExW(nullptr, w, L"screenClass", nullptr)) {
                if (::IsWindowVisible(w) && IsFollowedShow(w)) show = w;
            }
            return show != nullptr;
        },
        std::chrono::seconds(20));
    return show;
}

std::wstring WindowCaption(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

HWND FocusedControlOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

std::vector<RECT> MonitorRects() {
    std::vector<RECT> rects;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof(info);
            ::GetMonitorInfoW(monitor, &info);
            reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&rects));
    return rects;
}

}  // namespace tidewell::e2e
