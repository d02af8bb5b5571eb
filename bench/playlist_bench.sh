#!/usr/bin/env bash
# The playlist's figures on the real main window under Wine: 100,000 entries appended, worked
# with and removed, and "Add folder" on a folder of 10,000 files. Builds what it needs, runs on a
# virtual display, and stops everything it started.
# Usage: [WIN_BUILD=dir] [BENCH_DISPLAY=n] bench/playlist_bench.sh [entries] [folder files]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
trap 'stop_started; rm -f "$PID_FILE"' EXIT

need_packages
build_windows >/dev/null
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -municode -DUNICODE -D_UNICODE \
    -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -D_WIN32_IE=0x0700 \
    -I"$TIDEWELL_ROOT/src" -I"$WIN_BUILD/generated" "$TIDEWELL_ROOT/bench/playlist_bench_win32.cpp" \
    "$WIN_BUILD/CMakeFiles/tidewell.dir/src/app/tidewell.rc.res" \
    "$WIN_BUILD/libtidewell_win32.a" "$WIN_BUILD/libtidewell_portable.a" \
    -lcomctl32 -lcomdlg32 -lshell32 -lole32 -lgdi32 -luser32 -ladvapi32 -luuid -lshlwapi \
    -o "$WIN_BUILD/playlist_bench.exe"
setup_wine
restart_wineserver
display=$(start_xvfb 1280x1024 "${BENCH_DISPLAY:-70}")
export DISPLAY=":$display"
wine "$WIN_BUILD/playlist_bench.exe" "${1:-100000}" "${2:-10000}"
