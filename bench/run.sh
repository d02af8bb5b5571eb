#!/usr/bin/env bash
# Every benchmark in one command, printed as one table at the end. Builds what it needs, runs the
# real program under Wine on virtual displays (two monitors where a show is placed), and stops
# everything it started. Benchmarks are programs, not tests: nothing here passes or fails on a
# figure.
# Usage: [WIN_BUILD=dir] [BENCH_DISPLAY=n] bench/run.sh [playback|playlist|startup ...]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
trap 'stop_started; rm -f "$PID_FILE" "${results:-}"' EXIT

which=("$@")
[ ${#which[@]} -gt 0 ] || which=(playback startup playlist)
results=$(mktemp /tmp/tidewell-bench.XXXXXX)

need_packages
build_windows >/dev/null
setup_wine

WIN_DEFINES=(-DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601
    -DWINVER=0x0601 -D_WIN32_IE=0x0700)
WIN_LIBS=(-lcomctl32 -lcomdlg32 -lshell32 -lole32 -lgdi32 -luser32 -ladvapi32 -luuid -lshlwapi)

# compile NAME [in-process]: a benchmark program beside the build's executables. In-process ones
# link the program's own libraries and resources to drive the real main window.
compile() {
    local name=$1 source
    source=$(ls "$TIDEWELL_ROOT"/bench/"$1"*.cpp | head -n 1)
    local extra=()
    if [ "${2:-}" = in-process ]; then
        extra=(-I"$TIDEWELL_ROOT/src" -I"$WIN_BUILD/generated"
            "$WIN_BUILD/CMakeFiles/tidewell.dir/src/app/tidewell.rc.res"
            "$WIN_BUILD/libtidewell_win32.a" "$WIN_BUILD/libtidewell_portable.a")
    fi
    x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -municode "${WIN_DEFINES[@]}" \
        "$source" "${extra[@]}" "${WIN_LIBS[@]}" -o "$WIN_BUILD/$name.exe"
}

# on_display SIZES...: a fresh display (monitors side by side) for the next Wine run.
on_display() {
    stop_started
    local display
    if [ $# -gt 1 ]; then display=$(start_monitors "$@"); else display=$(start_xvfb "$1" "${BENCH_DISPLAY:-70}"); fi
    export DISPLAY=":$display"
}

run() {  # run EXE ARGS...: shows the benchmark's own report and keeps its table rows
    wine "$WIN_BUILD/$1.exe" "${@:2}" | tee -a "$results"
}

for bench in "${which[@]}"; do
    case "$bench" in
    playback)
        log "play run: CPU while a show plays, placement latency"
        compile playback_bench
        on_display 1024x768 1024x768
        run playback_bench "$(winepath -w "$WIN_BUILD/tidewell.exe")" \
            "$(winepath -w "$WIN_BUILD/standin.exe")" 10 25
        ;;
    startup)
        log "start-up time and peak memory, 5,000 stored entries against none"
        compile startup_bench
        on_display 1280x1024
        run startup_bench "$(winepath -w "$WIN_BUILD/tidewell.exe")" 5000 5
        ;;
    playlist)
        log "playlist: 100,000-row append and remove, Add folder on 10,000 files"
        compile playlist_bench in-process
        on_display 1280x1024
        run playlist_bench 100000 10000
        ;;
    *) log "unknown benchmark: $bench"; exit 2 ;;
    esac
done
stop_started

printf '\nTidewell benchmarks, %s, %s (%s cores), %s\n\n' "$(date -u +%Y-%m-%d)" \
    "$(uname -m)" "$(nproc)" "$(wine --version 2>/dev/null || echo wine)"
printf '| What | Figure |\n|---|---|\n'
grep -a '^TABLE' "$results" | tr -d '\r' | awk -F'\t' '{ printf "| %s | %s |\n", $2, $3 }'
