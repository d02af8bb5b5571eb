#include "persistence_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "common/utf16.h"

namespace tidewell::testing {
namespace {

constexpr wchar_t kHoldPathVariable[] = L"TIDEWELL_TEST_HOLD_PATH";
constexpr wchar_t kHoldModeVariable[] = L"TIDEWELL_TEST_HOLD_MODE";
constexpr wchar_t kHoldEventsVariable[] = L"TIDEWELL_TEST_HOLD_EVENTS";

std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[1024];
    const DWORD length = ::GetEnvironmentVariableW(name, buffer, 1024);
    return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace

std::wstring ScratchFolder::File(const std::wstring& name, const Bytes& content) const {
    const std::wstring path = *this / name;
    WriteBytes(path, content);
    return path;
}

void WriteBytes(const std::wstring& path, const Bytes& bytes) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << "cannot create test file, error " << ::GetLastError();
    DWORD written = 0;
    ASSERT_TRUE(
        ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
}

Bytes ReadBytes(const std::wstring& path) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    Bytes bytes;
    if (!file) {
        ADD_FAILURE() << "cannot open test file, error " << ::GetLastError();
        return bytes;
    }
    std::uint8_t chunk[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) {
        bytes.insert(bytes.end(), chunk, chunk + read);
    }
    return bytes;
}

Bytes Utf16LeWithMark(const std::wstring& text) {
    Bytes bytes{0xFF, 0xFE};
    AppendUtf16(text, ByteOrder::LittleEndian, bytes);
    return bytes;
}

FileHolder::FileHolder(const std::wstring& path, Mode mode) {
    const std::wstring events = L"Local\\tidewell-hold-" +
                                std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                std::to_wstring(::GetTickCount());
    UniqueKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, (events + L"-ready").c_str()));
    release_.reset(::CreateEventW(nullptr, TRUE, FALSE, (events + L"-release").c_str()));

    // The child inherits these and finds its orders in them.
    ::SetEnvironmentVariableW(kHoldPathVariable, path.c_str());
    ::SetEnvironmentVariableW(kHoldModeVariable,
                              mode == Mode::Exclusive ? L"exclusive" : L"writer");
    ::SetEnvironmentVariableW(kHoldEventsVariable, events.c_str());

    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) +
                               L"\" --gtest_also_run_disabled_tests"
                               L" --gtest_filter=FileHolderChild.DISABLED_HoldsFileUntilReleased";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const BOOL started = ::CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE,
                                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info);
    ::SetEnvironmentVariableW(kHoldPathVariable, nullptr);
    ::SetEnvironmentVariableW(kHoldModeVariable, nullptr);
    ::SetEnvironmentVariableW(kHoldEventsVariable, nullptr);
    if (!started) {
        ADD_FAILURE() << "cannot start the holding process, error " << ::GetLastError();
        return;
    }
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    const HANDLE waits[] = {ready.get(), process_.get()};
    holding_ = ::WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0;
}

FileHolder::~FileHolder() {
    if (release_) ::SetEvent(release_.get());
    if (process_) ::WaitForSingleObject(process_.get(), 20000);
}

// Runs only as the child of a FileHolder: opens the file as told, reports that it holds it, and
// keeps it open until the parent lets go (or a minute passes, so that it never lingers).
TEST(FileHolderChild, DISABLED_HoldsFileUntilReleased) {
    const std::wstring path = Environment(kHoldPathVariable);
    const std::wstring events = Environment(kHoldEventsVariable);
    ASSERT_FALSE(path.empty());
    const bool exclusive = Environment(kHoldModeVariable) == L"exclusive";
    UniqueFileHandle file(::CreateFileW(path.c_str(),
                                        exclusive ? GENERIC_READ | GENERIC_WRITE : GENERIC_WRITE,
                                        exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << ::GetLastError();
    UniqueKernelHandle ready(::OpenEventW(EVENT_MODIFY_STATE, FALSE, (events + L"-ready").c_str()));
    UniqueKernelHandle release(::OpenEventW(SYNCHRONIZE, FALSE, (events + L"-release").c_str()));
    ASSERT_TRUE(ready && release);
    ::SetEvent(ready.get());
    ::WaitForSingleObject(release.get(), 60000);
}

}  // namespace tidewell::testing
