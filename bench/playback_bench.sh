#!/usr/bin/env bash
# The play run's figures: the processor time tidewell.exe uses while a 10 s show plays (target:
# idle, under 1% of one core) and the time from a show window appearing to its placement on
# monitor 2 (median and maximum over 25 shows; budget: the 100 ms poll). Builds what it needs,
# runs under Wine on a virtual two-monitor display, and stops everything it started.
# Usage: [WIN_BUILD=dir] [BENCH_DISPLAY=n] bench/playback_bench.sh [show seconds] [show count]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
trap 'stop_started; rm -f "$PID_FILE"' EXIT

need_packages
build_windows >/dev/null
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -municode -DUNICODE -D_UNICODE \
    "$TIDEWELL_ROOT/bench/playback_bench.cpp" -o "$WIN_BUILD/playback_bench.exe"
setup_wine
restart_wineserver
# Two monitors side by side: Xephyr inside a host Xvfb. BENCH_DISPLAY picks the first display
# number to try (the host), for machines where several people share the X numbers.
host=$(start_xvfb 2048x768 "${BENCH_DISPLAY:-70}")
display=$(free_display $((host + 1)))
DISPLAY=":$host" Xephyr ":$display" -screen 1024x768+0+0 -screen 1024x768+1024+0 +xinerama \
    -extension RANDR -nolisten tcp >/dev/null 2>&1 &
echo $! >>"$PID_FILE"
wait_for_display "$display"
# Every Wine call from here on, winepath included, must see this display: the wineserver keeps
# the display of the first call.
export DISPLAY=":$display"
wine "$WIN_BUILD/playback_bench.exe" "$(winepath -w "$WIN_BUILD/tidewell.exe")" \
    "$(winepath -w "$WIN_BUILD/standin.exe")" "${1:-10}" "${2:-25}"
