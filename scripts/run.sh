#!/usr/bin/env bash
# Builds Tidewell and shows what it is for: three small presentations playing one after the other
# on monitor 2, in a loop, while Tidewell's window stays hidden, as on a lobby screen. On Linux it
# runs under Wine, with the stand-in presentation program where PowerPoint is installed, and keeps
# its playlist under a preferences key of its own. When there is no X display, it starts a virtual
# display of two monitors, saves a screenshot once a presentation shows on monitor 2 and prints its
# path; the demonstration plays until it is stopped ("tidewell.exe /stop", or Ctrl+C).
#   scripts/run.sh            the demonstration
#   scripts/run.sh --editor   the program as a user opens it: the playlist editor
set -euo pipefail
source "$(dirname "$0")/lib.sh"

mode=demonstration
case "${1:-}" in
    "") ;;
    --editor) mode=editor ;;
    *)
        echo "usage: scripts/run.sh [--editor]" >&2
        exit 2
        ;;
esac

need_packages
build_windows
setup_wine
exe="$WIN_BUILD/tidewell.exe"
trap 'stop_started; rm -f "$PID_FILE"' EXIT

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    if [ "$mode" = demonstration ] && [ "$(monitor_count)" -lt 2 ]; then
        log "the demonstration plays on monitor 2, and display $DISPLAY has one: starting the editor"
        mode=editor
    fi
else
    display=$(start_monitors 1024x768 1024x768)
    export DISPLAY=":$display"
    restart_wineserver
    shot="$TIDEWELL_ROOT/build/screenshot.png"
fi

if [ "$mode" = editor ]; then
    log "starting Tidewell on display $DISPLAY"
    wine "$exe" &
    program=$!
    if [ -n "${shot:-}" ]; then
        for _ in $(seq 1 100); do
            xdotool search --onlyvisible --name '^Tidewell$' >/dev/null 2>&1 && break
            sleep 0.2
        done
        sleep 1
        import -window root "$shot"
        echo "screenshot: $shot"
    fi
    wait "$program"
    exit
fi

log "starting the demonstration on monitor 2 of display $DISPLAY"
start_demo
if [ -n "${shot:-}" ]; then
    taken=""
    for _ in $(seq 1 300); do
        shows_on_monitor_2 "$shot" && taken=yes && break
        kill -0 "$DEMO_PID" 2>/dev/null || break
        sleep 0.2
    done
    [ -n "$taken" ] || { log "no presentation showed on monitor 2 within a minute"; exit 1; }
    echo "screenshot: $shot"
fi
echo "to stop the demonstration: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX wine $exe /stop"
echo "(or Ctrl+C here)"
wait "$DEMO_PID"
