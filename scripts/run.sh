#!/usr/bin/env bash
# Builds Tidewell and starts it. On Linux it runs under Wine: on the current X display when there
# is one, otherwise on a virtual display of two monitors, where it also saves a screenshot of the
# screen and prints its path (the program then keeps running until it is closed or Ctrl+C).
set -euo pipefail
source "$(dirname "$0")/lib.sh"

need_packages
build_windows
setup_wine
exe="$WIN_BUILD/tidewell.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    log "starting Tidewell on display $DISPLAY"
    exec wine "$exe"
fi

trap 'stop_started; rm -f "$PID_FILE"' EXIT
display=$(start_monitors 1024x768 1024x768)
export DISPLAY=":$display"
restart_wineserver
log "starting Tidewell on virtual display $DISPLAY (two monitors)"
wine "$exe" &
program=$!
for _ in $(seq 1 100); do
    xdotool search --name '^Tidewell$' >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 1
shot="$TIDEWELL_ROOT/build/screenshot.png"
import -window root "$shot"
echo "screenshot: $shot"
wait "$program"
