#!/usr/bin/env bash
# Every benchmark in one command, printed as one table at the end. Builds what it needs, runs the
# real program under Wine on virtual displays (two monitors where a show is placed), and stops
# everything it started. Benchmarks are programs, not tests: nothing here passes or fails on a
# figure.
# The benchmark programs are built with everything else (bench/CMakeLists.txt).
# Usage: [WIN_BUILD=dir] [BENCH_DISPLAY=n] [BENCH_PROGRAM=other/tidewell.exe] bench/run.sh
#        [playback|playlist|startup|stall|reports|check ...]
# BENCH_PROGRAM measures another build of the program (an older one, say) with these benchmarks.
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"

# free_drive_letters N: N letters that the prefix has not given to a drive yet.
free_drive_letters() {
    local letter found=0
    for letter in t u v w x y; do
        [ -e "$WINEPREFIX/dosdevices/$letter:" ] && continue
        echo "$letter"
        found=$((found + 1))
        [ "$found" -eq "$1" ] && return
    done
}

# map_drives N: N further Wine drives, each a fresh folder of its own, removed at the end; their
# roots ("T:\") go into drive_roots.
mapped=()
drive_roots=()
map_drives() {
    local letter dir
    drive_roots=()
    for letter in $(free_drive_letters "$1"); do
        dir=$(mktemp -d /tmp/tidewell-bench-drive.XXXXXX)
        ln -s "$dir" "$WINEPREFIX/dosdevices/$letter:"
        mapped+=("$WINEPREFIX/dosdevices/$letter:" "$dir")
        drive_roots+=("${letter^^}:\\")
    done
}
unmap_drives() {
    local i
    for ((i = 0; i < ${#mapped[@]}; i += 2)); do
        rm -f "${mapped[i]}"
        rm -rf "${mapped[i + 1]}"
    done
    mapped=()
}

trap 'stop_started; unmap_drives; rm -rf "${deck_dir:-}"; rm -f "$PID_FILE" "${results:-}"' EXIT

which=("$@")
[ ${#which[@]} -gt 0 ] || which=(playback startup playlist stall reports check)
results=$(mktemp /tmp/tidewell-bench.XXXXXX)
program=${BENCH_PROGRAM:-$WIN_BUILD/tidewell.exe}

need_packages
build_windows >/dev/null
setup_wine

# on_display SIZES...: a fresh display (monitors side by side) for the next Wine run.
on_display() {
    stop_started
    local display
    if [ $# -gt 1 ]; then display=$(start_monitors "$@"); else display=$(start_xvfb "$1" "${BENCH_DISPLAY:-${TIDEWELL_DISPLAY_BASE:-70}}"); fi
    export DISPLAY=":$display"
}

run() {  # run EXE ARGS...: shows the benchmark's own report and keeps its table rows
    wine "$WIN_BUILD/$1.exe" "${@:2}" | tee -a "$results"
}

for bench in "${which[@]}"; do
    case "$bench" in
    playback)
        log "play run: CPU while a show plays, placement latency"
        on_display 1024x768 1024x768
        run playback_bench "$(winepath -w "$program")" \
            "$(winepath -w "$WIN_BUILD/standin.exe")" 10 25
        ;;
    startup)
        log "start-up time and peak memory with 5,000, 50,000 and 200,000 stored entries against none"
        on_display 1280x1024
        # Folders of 250 presentations, dealt over C: and two further drives.
        map_drives 2
        # Then one folder of 100,000 files named alike for 200,000 entries, and 12 entries of
        # 60,000 characters. Wine reads a whole folder to make each new file in it, so those files
        # are made here, from Linux, in seconds rather than in hours; the benchmark finds them
        # there under their own names.
        python3 - "${mapped[-1]}/one folder 200000" 100000 <<'PY'
import os, sys
folder, count = sys.argv[1], int(sys.argv[2])
os.makedirs(folder, exist_ok=True)
for i in range(count):
    letters = ''.join(chr(ord('a') + i // 26**digit % 26) for digit in range(4))
    open(os.path.join(folder, f'Lobby deck {letters}.pptx'), 'w').close()
PY
        run startup_bench "$(winepath -w "$program")" 5 250 5000,50000,200000:100000,long \
            "${drive_roots[@]}"
        unmap_drives
        ;;
    stall)
        log "/stop while a share does not answer"
        on_display 1024x768
        WIN_BUILD=$WIN_BUILD "$(dirname "$0")/stalled_share.sh" | tee -a "$results"
        ;;
    reports)
        log "/report of 100 screens' play logs, /overview of 10,000 status files"
        on_display 1024x768
        WIN_BUILD=$WIN_BUILD "$(dirname "$0")/reports.sh" | tee -a "$results"
        ;;
    playlist)
        log "playlist: 100,000-row append and remove, Add folder on 10,000 files"
        on_display 1280x1024
        run playlist_bench 100000 10000
        ;;
    check)
        log "check of a 50 MB deck: a real deck with 49 MB of pictures and 10 MB of slide text"
        deck_dir=$(mktemp -d /tmp/tidewell-bench-deck.XXXXXX)
        cp "$TIDEWELL_ROOT/tests/data/presentations/Welcome.pptx" "$deck_dir/Large.pptx"
        mkdir -p "$deck_dir/ppt/media" "$deck_dir/ppt/slides"
        head -c 49M /dev/urandom >"$deck_dir/ppt/media/image1.jpeg"
        # (yes ends by SIGPIPE, which pipefail would take for a failure)
        head -c 10M < <(yes '<a:p><a:r><a:t>Lobby notice</a:t></a:r></a:p>') \
            >"$deck_dir/ppt/slides/slide3.xml"
        (cd "$deck_dir" && zip -q -Z deflate Large.pptx ppt/media/image1.jpeg ppt/slides/slide3.xml)
        # Every part deflated, as PowerPoint writes them; random pictures pack to their own size,
        # so the deck is about 50 MB.
        on_display 1024x768
        run presentation_check_bench "$(winepath -w "$deck_dir/Large.pptx")" 5
        rm -rf "$deck_dir"
        log "copy and check of a 1.5 GB deck: a real deck with a 1.5 GB video stored in it"
        # Made here and deleted after: the deck, its copy and the video while it is packed need
        # about 4.5 GB of disk for a moment.
        deck_dir=$(mktemp -d /tmp/tidewell-bench-deck.XXXXXX)
        cp "$TIDEWELL_ROOT/tests/data/presentations/Welcome.pptx" "$deck_dir/Huge.pptx"
        mkdir -p "$deck_dir/ppt/media" "$deck_dir/copies"
        head -c 1536M /dev/urandom >"$deck_dir/ppt/media/video1.mp4"
        (cd "$deck_dir" && zip -q -0 Huge.pptx ppt/media/video1.mp4 && rm ppt/media/video1.mp4)
        run presentation_check_bench --copy "$(winepath -w "$deck_dir/Huge.pptx")" \
            "$(winepath -w "$deck_dir/copies")"
        rm -rf "$deck_dir"
        ;;
    *) log "unknown benchmark: $bench"; exit 2 ;;
    esac
done
stop_started

printf '\nTidewell benchmarks, %s, %s (%s cores), %s\n\n' "$(date -u +%Y-%m-%d)" \
    "$(uname -m)" "$(nproc)" "$(wine --version 2>/dev/null || echo wine)"
printf '| What | Figure |\n|---|---|\n'
grep -a '^TABLE' "$results" | tr -d '\r' | awk -F'\t' '{ printf "| %s | %s |\n", $2, $3 }'
