#include "support/form_fixture.h"

#include <atomic>

#include "app/message_pump_win32.h"

namespace tidewell::testing {

std::wstring UniqueTestKeyPath() {
    static std::atomic<int> counter{0};
    return L"SOFTWARE\\hollowfin-tests\\run" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
           std::to_wstring(counter++);
}

void DeleteTestKey(const std::wstring& path) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
}

std::vector<MonitorEntry> MonitorsOfSize(std::initializer_list<RECT> bounds) {
    std::vector<MonitorEntry> monitors;
    for (const RECT& r : bounds) monitors.push_back({nullptr, r});
    return monitors;
}

void PumpMessages() {
    PumpPendingMessages();
}

void FormFixture::SetUp() {
    keyPath_ = UniqueTestKeyPath();
}

void FormFixture::TearDown() {
    form_.reset();
    SetMessageHook(nullptr);
    // The destroyed window posted WM_QUIT; take it so that it does not leak into the next test.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    DeleteTestKey(keyPath_);
}

void FormFixture::CreateForm(std::vector<MonitorEntry> monitors) {
    if (monitors.empty()) monitors = MonitorsOfSize({{0, 0, 1024, 768}, {1024, 0, 2048, 768}});
    form_ =
        std::make_unique<TForm1>(Form1Settings{&dialogs_, &shell_, std::move(monitors), keyPath_});
    form_->Create();
    ASSERT_NE(form_->Handle(), nullptr);
}

void FormFixture::Click(int commandId) {
    ::SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

}  // namespace tidewell::testing
