#!/usr/bin/env bash
# The play run's figures: the processor time tidewell.exe uses while a 10 s show plays (target:
# idle, under 1% of one core) and the time from a show window appearing to its placement on
# monitor 2 (median and maximum over 25 shows; budget: the 100 ms poll). Builds what it needs,
# runs under Wine on a virtual two-monitor display, and stops everything it started.
# Usage: bench/playback_bench.sh [show seconds] [show count]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
trap 'stop_started; rm -f "$PID_FILE"' EXIT

need_packages
build_windows >/dev/null
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -municode -DUNICODE -D_UNICODE \
    "$TIDEWELL_ROOT/bench/playback_bench.cpp" -o "$WIN_BUILD/playback_bench.exe"
setup_wine
restart_wineserver
display=$(start_monitors 1024x768 1024x768)
DISPLAY=":$display" wine "$WIN_BUILD/playback_bench.exe" "$WIN_BUILD/tidewell.exe" \
    "$WIN_BUILD/standin.exe" "${1:-10}" "${2:-25}"
