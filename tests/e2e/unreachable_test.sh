#!/usr/bin/env bash
# Stored presentations that cannot be reached are kept, for real: a Wine drive letter mapped to a
# "stick" and removed again before the start (unplugged), and a folder made unreadable with
# chmod 000. Root reads such a folder all the same, so as root every Wine process of this run
# (the wineserver included, which opens the files) runs without the two capabilities that let it.
# Needs an X display in DISPLAY and the Wine environment (WINEPREFIX, ...) that scripts/lib.sh
# sets up; stops the wineserver before and after.
#   tests/e2e/unreachable_test.sh <windows build dir>
set -euo pipefail
build=${1:?usage: unreachable_test.sh <windows build dir>}
work=$(mktemp -d /tmp/tidewell-unreachable.XXXXXX)
letter=""
for candidate in y x w v u t s r q p; do
    if [ ! -e "$WINEPREFIX/dosdevices/$candidate:" ]; then letter=$candidate; break; fi
done
[ -n "$letter" ] || { echo "no free drive letter in $WINEPREFIX/dosdevices" >&2; exit 1; }
cleanup() {
    rm -f "$WINEPREFIX/dosdevices/$letter:"
    chmod 755 "$work/locked" 2>/dev/null || true
    rm -rf "$work"
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
}
trap cleanup EXIT

mkdir -p "$work/stick/Shows" "$work/stick/Office" "$work/locked"
touch "$work/stick/Shows/stick one.ppt" "$work/stick/Shows/stick two.ppt" \
    "$work/stick/Office/POWERPNT.EXE" "$work/locked/locked.ppt" "$work/locked/locked too.ppt"
ln -s "$work/stick" "$WINEPREFIX/dosdevices/$letter:"
rm "$WINEPREFIX/dosdevices/$letter:"  # unplugged
chmod 000 "$work/locked"

run=()
if [ "$(id -u)" -eq 0 ]; then
    run=(setpriv --bounding-set=-dac_override,-dac_read_search)
fi
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
if "${run[@]}" ls "$work/locked" >/dev/null 2>&1; then
    echo "the locked folder can still be read: this test cannot run here" >&2
    exit 1
fi
TIDEWELL_TEST_UNPLUGGED_DRIVE="${letter^^}:" TIDEWELL_TEST_LOCKED_FOLDER="Z:${work//\//\\}\\locked" \
    "${run[@]}" wine "$build/tidewell_e2e_tests.exe" --gtest_also_run_disabled_tests \
    --gtest_filter='KeptSettings.DISABLED_*'
