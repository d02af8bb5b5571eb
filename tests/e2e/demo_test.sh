#!/usr/bin/env bash
# The demonstration that scripts/run.sh starts, started by the same function: the test
# presentations play one after the other on monitor 2 while Tidewell's window stays hidden, the
# user's own stored settings stay as they were, and "tidewell.exe /stop" ends it all. Needs an X
# display of two monitors in DISPLAY and the Wine environment (WINEPREFIX, ...) of scripts/lib.sh.
#   tests/e2e/demo_test.sh <windows build dir>
set -euo pipefail
WIN_BUILD=${1:?usage: demo_test.sh <windows build dir>}
source "$(dirname "$0")/../../scripts/lib.sh"
work=$(mktemp -d /tmp/tidewell-demo.XXXXXX)
trap 'kill "${DEMO_PID:-}" 2>/dev/null || true; rm -rf "$work" "$PID_FILE"' EXIT
fail() { echo "demonstration: $*" >&2; exit 1; }
users_settings() { wine reg query 'HKCU\SOFTWARE\hollowfin\lanternrow' 2>&1 | tr -d '\r' || true; }
# The presentations the run has placed on monitor 2 so far, each once.
placed_on_2() { awk -F'\t' '$2 == "show-placed" && $3 == "2" { print $4 }' "$work/play.log" | sort -u; }

before=$(users_settings)
DEMO_ADVANCE=1 start_demo /log "Z:${work//\//\\}\\play.log"
for _ in $(seq 1 300); do
    [ "$(placed_on_2 2>/dev/null | wc -l)" -ge 2 ] && break
    kill -0 "$DEMO_PID" 2>/dev/null || fail "Tidewell ended by itself"
    sleep 0.2
done
[ "$(placed_on_2 | wc -l)" -ge 2 ] || fail "fewer than two presentations placed on monitor 2"
placed_on_2 | grep -qxF "$DEMO_FOLDER\\${DEMO_SHOWS[0]}" || fail "${DEMO_SHOWS[0]} was not placed"
! xdotool search --onlyvisible --name '^Tidewell$' >/dev/null 2>&1 || fail "Tidewell's window is shown"

wine "$WIN_BUILD/tidewell.exe" /stop || fail "/stop ended with $?"
for _ in $(seq 1 300); do
    kill -0 "$DEMO_PID" 2>/dev/null || break
    sleep 0.2
done
! kill -0 "$DEMO_PID" 2>/dev/null || fail "Tidewell still runs a minute after /stop"
wait "$DEMO_PID" || fail "Tidewell ended with $?"
grep -q $'\trun-end\t' "$work/play.log" || fail "the play log has no run-end"
[ "$(users_settings)" = "$before" ] || fail "the user's stored settings changed"
echo "demonstration: $(placed_on_2 | wc -l) presentations placed on monitor 2, ended by /stop"
