// Process start: the monitor list first, COM for the folder browser, then the two windows and the
// message loop until the main window closes.
#include <windows.h>
#include <commctrl.h>

#include "about/form2_win32.h"
#include "app/form1_win32.h"
#include "common/com_apartment_win32.h"
#include "common/message_pump_win32.h"
#include "persistence/preferences_win32.h"
#include "playback/monitors_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace tidewell;
    std::vector<MonitorEntry> monitors = EnumerateMonitors();

    const ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    SystemDialogs dialogs;
    SystemShell shell;
    TForm1 form1({&dialogs, &shell, std::move(monitors), PreferencesKeyFromEnvironment()});
    form1.Create();
    TForm2 form2(dialogs, shell);
    form2.Create();
    form1.AttachAbout(&form2);
    form1.ShowCentered();
    SetNavigationWindow(form1.Handle());
    return RunMessageLoop();
}
