#!/usr/bin/env bash
# A network drive that goes away, for real: a Wine drive letter of the type "network" (as a
# mapped share is to Windows) pointing at a folder that the test renames away and back. Needs an
# X display in DISPLAY and the Wine environment (WINEPREFIX, ...) that scripts/lib.sh sets up;
# stops the wineserver before and after, and leaves the prefix's drives as they were.
#   tests/e2e/share_away_test.sh <windows build dir>
set -euo pipefail
build=${1:?usage: share_away_test.sh <windows build dir>}
work=$(mktemp -d /tmp/tidewell-share-away.XXXXXX)
letter=""
for candidate in m l k j i h; do
    if [ ! -e "$WINEPREFIX/dosdevices/$candidate:" ]; then letter=$candidate; break; fi
done
[ -n "$letter" ] || { echo "no free drive letter in $WINEPREFIX/dosdevices" >&2; exit 1; }
cleanup() {
    rm -f "$WINEPREFIX/dosdevices/$letter:"
    wine reg delete 'HKLM\Software\Wine\Drives' /v "$letter:" /f >/dev/null 2>&1 || true
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/share"
ln -s "$work/share" "$WINEPREFIX/dosdevices/$letter:"
wine reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d network /f >/dev/null 2>&1
# The drive's type is read when the wineserver starts.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
# Wine keeps no Application log: it prints each event's inserts on its "eventlog" channel instead,
# warnings as "warn:" and information as "trace:".
events="$work/events.txt"
status=0
TIDEWELL_TEST_NETWORK_DRIVE="${letter^^}:\\" TIDEWELL_TEST_NETWORK_FOLDER="Z:${work//\//\\}\\share" \
    WINEDEBUG="$WINEDEBUG,warn+eventlog,trace+eventlog" \
    wine "$build/tidewell_e2e_tests.exe" --gtest_also_run_disabled_tests \
    --gtest_filter='ShareAway.DISABLED_*' 2>"$events" || status=$?
grep -v ':eventlog:' "$events" >&2 || true
# An outage is told as a warning whose last insert is when the copy was made (600); the share's
# return as information naming the deck that came from it again (601).
grep -Eq 'warn:eventlog:ReportEventW L"[0-9]{4}-[0-9]{2}-[0-9]{2}T' "$events" ||
    { echo "share_away_test: the outage was not told" >&2; status=1; }
grep -Eq 'trace:eventlog:ReportEventW L".*Menu\.pptx"' "$events" ||
    { echo "share_away_test: the share's return was not told" >&2; status=1; }
[ "$status" = 0 ] || exit "$status"
# The share of tools/stallfs as a network drive too: its reads then wait while a show goes on.
source "$(dirname "$0")/stalled_share_lib.sh"
trap 'wine reg delete "HKLM\\Software\\Wine\\Drives" /v "$stalled_letter:" /f >/dev/null 2>&1; cleanup; unmount_stalled_share' EXIT
mount_stalled_share
wine reg add 'HKLM\Software\Wine\Drives' /v "$stalled_letter:" /d network /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wine "$build/tidewell_e2e_tests.exe" --gtest_also_run_disabled_tests \
    --gtest_filter='StalledCopies.DISABLED_*'
