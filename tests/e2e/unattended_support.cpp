#include "unattended_support.h"

#include <tlhelp32.h>

namespace tidewell::e2e {

TestPreferences::TestPreferences() {
    Remove();
}

TestPreferences::~TestPreferences() {
    Remove();
}

void TestPreferences::Remove() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kPreferencesKey);
}

std::optional<std::wstring> TestPreferences::Value(const wchar_t* name) const {
    wchar_t data[32768] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CURRENT_USER, kPreferencesKey, name, RRF_RT_REG_SZ, nullptr, data,
                       &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(data);
}

bool TestPreferences::KeyExists() const {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kPreferencesKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

void WriteSettingFile(const std::wstring& path, const std::vector<std::wstring>& lines) {
    std::wstring text = L"\xFEFF";
    for (const auto& line : lines) text += line + L"\r\n";
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written,
                nullptr);
    ::CloseHandle(file);
}

std::size_t ThreadCount(DWORD processId) {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    std::size_t count = 0;
    THREADENTRY32 entry{sizeof(entry)};
    for (BOOL more = ::Thread32First(snapshot, &entry); more;
         more = ::Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == processId) ++count;
    }
    ::CloseHandle(snapshot);
    return count;
}

std::optional<DWORD> WaitForExit(const RunningProgram& program, std::chrono::milliseconds timeout) {
    if (::WaitForSingleObject(program.info.hProcess, static_cast<DWORD>(timeout.count())) !=
        WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(program.info.hProcess, &code);
    return code;
}

std::optional<DWORD> RunToEnd(const std::wstring& arguments) {
    RunningProgram program;
    if (!StartProgram(ExecutableFolder() + L"\\tidewell.exe", arguments, program)) {
        return std::nullopt;
    }
    return WaitForExit(program, std::chrono::seconds(20));
}

HWND WaitForMessageBox(DWORD processId, std::chrono::milliseconds timeout) {
    return WaitForWindow(processId, L"#32770", timeout);
}

std::wstring MessageBoxText(HWND box) {
    // The text of a message box is its static control with the id 0xFFFF.
    wchar_t text[4096] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 4096);
    return text;
}

void PressOk(HWND box) {
    if (HWND ok = ::FindWindowExW(box, nullptr, L"Button", L"OK")) {
        ::PostMessageW(ok, BM_CLICK, 0, 0);
    }
}

namespace {

HWND NotificationArea() {
    return ::FindWindowW(L"__winex11_standalone_tray", nullptr);
}

bool ClickAt(POINT at, DWORD down, DWORD up) {
    ::SetCursorPos(at.x, at.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = down;
    input[1].mi.dwFlags = up;
    return ::SendInput(2, input, sizeof(INPUT)) == 2;
}

}  // namespace

bool NotificationAreaShown() {
    const HWND area = NotificationArea();
    return area && ::IsWindowVisible(area);
}

bool RightClickFirstNotificationIcon() {
    const HWND area = NotificationArea();
    if (!area || !::IsWindowVisible(area)) return false;
    RECT client{};
    ::GetClientRect(area, &client);
    // The first square: as wide as it is high, at the left.
    POINT at{(client.bottom - client.top) / 2, (client.bottom - client.top) / 2};
    ::ClientToScreen(area, &at);
    return ClickAt(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

HWND WaitForPopupMenu(DWORD processId, std::chrono::milliseconds timeout) {
    return WaitForWindow(processId, L"#32768", timeout);
}

void ClickMenuItem(HWND menu, int index, int itemCount) {
    RECT bounds{};
    ::GetWindowRect(menu, &bounds);
    const LONG itemHeight = (bounds.bottom - bounds.top) / itemCount;
    const POINT at{(bounds.left + bounds.right) / 2,
                   bounds.top + itemHeight * index + itemHeight / 2};
    ClickAt(at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

}  // namespace tidewell::e2e
