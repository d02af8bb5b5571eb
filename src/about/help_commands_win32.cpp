// The Help menu's commands: three addresses handed to the shell, and the About box.
#include "about/addresses.h"
#include "common/ansi_text_win32.h"
#include "about/form2_win32.h"
#include "app/form1_win32.h"
#include "common/application_title.h"

namespace tidewell {

void TForm1::Help2Click() {
    UserShell().OpenA(Handle(), ToAnsi(HelpPageAddress(), AnsiCodePage::System));
}

void TForm1::Hollowfinswebsite1Click() {
    UserShell().OpenA(Handle(), ToAnsi(MakerWebAddress(), AnsiCodePage::System));
}

// Unlike the About box's link, the menu command builds and sends the request as wide text.
void TForm1::Emailsupport1Click() {
    UserShell().OpenW(Handle(), SupportMailRequest(kApplicationTitle));
}

void TForm1::About1Click() {
    Form2().ShowModal(Handle());
}

}  // namespace tidewell
