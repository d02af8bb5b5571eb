#include "about/help_commands_win32.h"

#include "about/addresses.h"
#include "common/ansi_text_win32.h"
#include "common/application_title.h"

namespace tidewell {

void HelpCommands::Help(HWND owner) {
    shell_.OpenA(owner, ToAnsi(HelpPageAddress(), AnsiCodePage::System));
}

void HelpCommands::Website(HWND owner) {
    shell_.OpenA(owner, ToAnsi(MakerWebAddress(), AnsiCodePage::System));
}

// Unlike the About box's link, the menu command builds and sends the request as wide text.
void HelpCommands::EmailSupport(HWND owner) {
    shell_.OpenW(owner, SupportMailRequest(kApplicationTitle));
}

void HelpCommands::About(HWND owner) {
    if (about_) about_->ShowModal(owner);
}

}  // namespace tidewell
