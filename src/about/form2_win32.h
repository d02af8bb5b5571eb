#pragma once
// The About box: the program's title, version and the maker's two addresses as links. One object
// is created hidden at start and shown modally whenever the user asks for it; nothing in it is
// reset between showings.
#include <windows.h>

#include "common/dialogs_win32.h"
#include "common/unique_handle_win32.h"

namespace tidewell {

class TForm2 {
  public:
    explicit TForm2(Shell& shell);
    ~TForm2();
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;

    // Creates the window and its controls, hidden; the creation handler runs inside.
    void Create();
    // Shows the box over `owner`, which takes no input meanwhile, and returns when it closes.
    void ShowModal(HWND owner);
    HWND Handle() const { return hwnd_; }
    bool IsModal() const { return modal_; }

    // ---- Controls, by component name ----
    HWND TntPanel1 = nullptr;
    HWND Image1 = nullptr;
    HWND TntLabel1 = nullptr;
    HWND TntLabel2 = nullptr;
    HWND TntLabel4 = nullptr;
    HWND TntLabel5 = nullptr;
    HWND TntLabel6 = nullptr;
    HWND TntLabel7 = nullptr;
    HWND TntButton1 = nullptr;

    // ---- Handlers ----
    void TntFormCreate();
    void TntButton1Click();
    void TntLabel5Click();
    void TntLabel7Click();

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    HWND CreateLabel(HWND parent, int id, int left, int top, const wchar_t* text, DWORD style);
    void FitLabelToText(HWND label);
    void CentreOnScreen();
    int Scale(int pixels) const;

    Shell& shell_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    bool modal_ = false;
    bool shownBefore_ = false;
    UniqueGdiObject windowFont_;
    UniqueGdiObject linkFont_;
    UniqueHICON icon_;
};

}  // namespace tidewell
