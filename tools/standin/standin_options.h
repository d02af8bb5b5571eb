#pragma once

#include <windows.h>

#include <string>

namespace standin {

enum class FirstWindow { None, MessageBox, Window };
// How the program behaves as a whole, as real presentation programs do.
enum class Mode {
    Show,     // one process, one show window
    Exit,     // ends at once without a window (a launcher stub, refused switches)
    HandOff,  // single instance: a copy already running is handed the file and shows it in a
              // new window, and this process ends at once; without one, this copy shows it and
              // then serves the copies that follow while any show of its own is open
    Dialog,   // never shows a show window: a message box about the file instead
};
// What becomes of the first window when its time is up.
enum class FirstWindowEnd { Close, FallBehind };

// How one run of the stand-in behaves. Every option comes from an
// environment variable (so a test can set it for the shows that Tidewell
// starts) and may be overridden by a switch of the same name on the command
// line (handy when starting the stand-in by hand). See README.md.
struct Options {
    std::wstring file;      // the presentation named on the command line
    std::wstring switches;  // the slide-show switches seen, e.g. "/S /F"
    double seconds = 0;     // show length; 0 = until a key or a click
    std::wstring logPath;   // append one line per run when set
    std::wstring windowClass = L"screenClass";
    FirstWindow first = FirstWindow::None;
    DWORD firstMs = 1000;  // how long the first window stays
    FirstWindowEnd firstEnd = FirstWindowEnd::Close;
    DWORD disabledMs = 0;  // start disabled, enable after this long
    DWORD delayMs = 0;     // pause before the show window appears
    POINT position{0, 0};  // where the show window appears
    SIZE size{0, 0};       // 0 = the primary display's size
    int untilPlaced = 0;   // end once placed this many times; 0 = placement does not end it
    Mode mode = Mode::Show;
    std::wstring endEvent;   // a named event: each time it is set, the newest open show ends
    std::wstring showEvent;  // a named event: the show window appears once it is set
    int slides = 0;  // a slide show of this many slides, paged with Page Down; 0 = one picture
    bool slidesOfDeck = false;  // as many slides as the presentation file holds (at least one)
    bool hold = false;  // the file is held open as PowerPoint holds it: others may read, not write
};

Options ReadOptions();

}  // namespace standin
