#pragma once
// The Help menu's commands: three addresses handed to the shell, and the About box.
#include <windows.h>

#include "about/form2_win32.h"
#include "common/dialogs_win32.h"

namespace tidewell {

class HelpCommands {
  public:
    explicit HelpCommands(Shell& shell) : shell_(shell) {}

    // The About box shown by About(); the program makes it once, hidden, at start.
    void AttachAbout(TForm2* about) { about_ = about; }

    void Help(HWND owner);
    void Website(HWND owner);
    void EmailSupport(HWND owner);
    void About(HWND owner);

  private:
    Shell& shell_;
    TForm2* about_ = nullptr;
};

}  // namespace tidewell
