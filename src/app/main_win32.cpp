// Process start: the monitor list first, COM for the folder browser, then the two windows and the
// message loop until the main window closes.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "about/form2_win32.h"
#include "app/form1_win32.h"
#include "app/message_pump_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace tidewell;
    std::vector<MonitorEntry> monitors = EnumerateMonitors();

    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    SystemDialogs dialogs;
    SystemShell shell;
    int exitCode = 0;
    {
        TForm1 form1({&dialogs, &shell, std::move(monitors), kPreferencesKeyPath});
        form1.Create();
        TForm2 form2(shell);
        form2.Create();
        form1.AttachAbout(&form2);
        form1.ShowCentered();
        SetNavigationWindow(form1.Handle());
        exitCode = RunMessageLoop();
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return exitCode;
}
