#pragma once

#include <windows.h>

#include <string>

namespace standin {

enum class FirstWindow { None, MessageBox, Window };
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
};

Options ReadOptions();

}  // namespace standin
