#pragma once
// Resources that every window of the program shares. Read by both windres and the compiler: plain
// #defines only.

#define IDI_TIDEWELL 100
#define IDR_MANIFEST 1
