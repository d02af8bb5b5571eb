#pragma once
// Helpers for tests that drive the built program as a separate process: start it, find its
// windows, ask it to close, wait for it to end.
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tidewell::e2e {

// The folder that holds this test executable (and tidewell.exe beside it).
std::wstring ExecutableFolder();

struct RunningProgram {
    PROCESS_INFORMATION info{};
    ~RunningProgram();
    // Ends the process if it still runs (a failed test must not leave it behind).
    void Kill();
};

// `creationFlags` as CreateProcessW takes them (CREATE_SUSPENDED, say).
bool StartProgram(const std::wstring& exePath, const std::wstring& arguments,
                  RunningProgram& program, DWORD creationFlags = 0);

// Polls the condition every 10 ms until it holds (true) or the time is up (false).
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The processes that this process started and that still run.
std::vector<DWORD> ProcessesStartedBy(DWORD processId);

// The first visible top-level window of the process with this class, waiting up to timeout;
// with `visibleOnly` false, also a hidden one.
HWND WaitForWindow(DWORD processId, const wchar_t* className, std::chrono::milliseconds timeout,
                   bool visibleOnly = true);

std::wstring WindowCaption(HWND window);

// The first visible show window of any stand-in process (class "screenClass"), waiting up to
// 20 s; the program's own windows are of other classes.
// The shows a test waits for are those of the Tidewell it started (`FollowShowsOf`; 0: of any)
// and of programs it started itself, never a show that an earlier test's Tidewell left behind.
void FollowShowsOf(DWORD tidewellProcessId);
bool IsFollowedShow(HWND window);

// What a test that waited in vain for a show can see: every show window (caption, corner,
// visible, its process) and every process of this program file's name still running, with the
// process that started it. A failure then says whether the show never came, came elsewhere, or was
// kept from ending.
std::string DescribeShows(const std::wstring& programName);

HWND WaitForShowWindow();

// Every display monitor's full rectangle, in the order the program numbers them (monitor N is
// entry N - 1).
std::vector<RECT> MonitorRects();

// The control with the keyboard focus in the thread that owns `window`, or nullptr.
HWND FocusedControlOf(HWND window);

// Sets an environment variable that the programs started from this process inherit, for as long
// as this object lives.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name) {
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedEnvironment() { ::SetEnvironmentVariableW(name_, nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const wchar_t* name_;
};

// An environment variable of the process, empty when not set.
inline std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : L"";
}

// The preferences key of the end-to-end tests and benchmarks, below HKEY_CURRENT_USER: never the
// user's own, so that running them on a developer's machine leaves that person's playlist alone.
inline constexpr wchar_t kPreferencesKey[] = L"SOFTWARE\\hollowfin-tests\\e2e";

// Points every program started from this process (they inherit its environment) at that key, or
// at another key of the tests' own.
inline void UseTestPreferencesKey(const wchar_t* keyPath = kPreferencesKey) {
    ::SetEnvironmentVariableW(L"TIDEWELL_PREFERENCES_KEY", keyPath);
    // Nor do they touch that person's local copies of presentations (a test may have its own).
    if (::GetEnvironmentVariableW(L"TIDEWELL_COPIES_FOLDER", nullptr, 0) > 0) return;
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    ::SetEnvironmentVariableW(L"TIDEWELL_COPIES_FOLDER",
                              (std::wstring(temp, length) + L"tidewell-e2e-copies").c_str());
}

// Writes the program's stored preferences as the program itself stores them: the playlist
// joined by CR LF, the presentation program's path (also as the one the user chose) and the
// monitor number, all REG_SZ. Inline, so that the benchmarks can use it without the rest of this
// file's code.
inline bool StorePreferences(const std::vector<std::wstring>& files, const std::wstring& program,
                             int monitor, const wchar_t* keyPath = kPreferencesKey) {
    std::wstring joined;
    for (const auto& f : files) joined += (joined.empty() ? L"" : L"\r\n") + f;
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {L"files", joined},
        {L"pptexfile", program},
        {L"monitorc", std::to_wstring(monitor)},
        {L"chosenpptexfile", program}};
    bool ok = true;
    for (const auto& [name, value] : values) {
        ok = ok && ::RegSetValueExW(
                       key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    ::RegCloseKey(key);
    return ok;
}

}  // namespace tidewell::e2e
