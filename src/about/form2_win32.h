#pragma once
// The About box: the program's title, version and the maker's two addresses as links. One object
// is created hidden at start and shown modally whenever the user asks for it; nothing in it is
// reset between showings.
#include <windows.h>

#include "common/dialogs_win32.h"
#include "common/unique_handle_win32.h"
#include "common/window_win32.h"

namespace tidewell {

// The box's controls, by component name.
enum class Form2Control : int {
    TntPanel1 = 100,
    Image1,
    TntLabel1,
    TntLabel2,
    TntLabel4,
    TntLabel5,
    TntLabel6,
    TntLabel7,
    TntButton1,
};

class TForm2 : public Window<TForm2> {
  public:
    // Errors are shown through `dialogs`; the links hand their addresses to `shell`.
    TForm2(Dialogs& dialogs, Shell& shell);
    ~TForm2();

    // Creates the window and its controls, hidden; the creation handler runs inside.
    void Create();
    // Shows the box over `owner`, which takes no input meanwhile, and returns when it closes.
    void ShowModal(HWND owner);
    bool IsModal() const { return modal_; }
    HWND Control(Form2Control id) const { return WindowBase::Control(static_cast<int>(id)); }

  private:
    friend class Window<TForm2>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnWindowGone() { modal_ = false; }
    void CreateControls();
    void OnCommand(int id, int code);

    void TntFormCreate();
    void TntButton1Click();
    void TntLabel5Click();
    void TntLabel7Click();

    Shell& shell_;
    bool modal_ = false;
    bool shownBefore_ = false;
    UniqueGdiObject windowFont_;
    UniqueGdiObject linkFont_;
    UniqueHICON icon_;
};

}  // namespace tidewell
