#include "support/form_fixture.h"

#include <atomic>

#include <commctrl.h>

#include "app/resource.h"
#include "common/message_pump_win32.h"
#include "support/window_queries.h"

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
    // The window removes its own message hook as it goes; nothing is left to clear here.
    form_.reset();
    // The destroyed window posted WM_QUIT; take it so that it does not leak into the next test.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    DeleteTestKey(keyPath_);
}

void FormFixture::CreateForm(std::vector<MonitorEntry> monitors) {
    if (monitors.empty()) monitors = MonitorsOfSize({{0, 0, 1024, 768}, {1024, 0, 2048, 768}});
    Form1Settings settings{&dialogs_, &shell_, std::move(monitors), keyPath_};
    if (drawToolbarImages_) settings.drawToolbarImages = drawToolbarImages_;
    if (startPlacementWatcher_) settings.startPlacementWatcher = startPlacementWatcher_;
    if (enumerateMonitors_) settings.enumerateMonitors = enumerateMonitors_;
    settings.runTimings = runTimings_;
    settings.setExecutionState = [this](EXECUTION_STATE state) {
        executionStates_.push_back(state);
        return EXECUTION_STATE{ES_CONTINUOUS};
    };
    form_ = std::make_unique<TForm1>(std::move(settings));
    form_->Create();
    ASSERT_NE(form_->Handle(), nullptr);
}

bool FormFixture::PlayToTheEnd(DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (form_->Playback().IsPlaying()) {
        if (::GetTickCount64() > deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        PumpPendingMessages();
    }
    // What the run's end posted (an error to show) is dispatched too.
    PumpPendingMessages();
    return true;
}

void FormFixture::Click(int commandId) {
    ::SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

std::wstring FormFixture::ProgramPath() const {
    return TextOf(Control(IDC_TntEdit1));
}

void FormFixture::SetProgramPath(const std::wstring& path) {
    ::SetWindowTextW(Control(IDC_TntEdit1), path.c_str());
}

int FormFixture::MonitorNumber() const {
    return static_cast<short>(::SendMessageW(Control(IDC_TntUpDown1), UDM_GETPOS32, 0, 0));
}

void FormFixture::SetMonitorNumber(int number) {
    ::SendMessageW(Control(IDC_TntUpDown1), UDM_SETPOS32, 0, number);
}

bool FormFixture::IsCommandEnabled(int commandId) const {
    if (const HWND button = Control(commandId)) return ::IsWindowEnabled(button) != FALSE;
    return ::SendMessageW(Control(IDC_TntToolBar1), TB_ISBUTTONENABLED, commandId, 0) != 0;
}

}  // namespace tidewell::testing
