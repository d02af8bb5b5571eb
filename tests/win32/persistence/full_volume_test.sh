#!/usr/bin/env bash
# A full disk, for real: mounts a 64 KiB tmpfs, puts an old setting file on it, fills the rest, and
# runs the disabled Win32 tests that need it: "Save setting" onto that file, and local copies with
# no room to be made. Needs root (mount), an X display in DISPLAY and the Wine environment
# (WINEPREFIX, ...) that scripts/lib.sh sets up.
#   tests/win32/persistence/full_volume_test.sh <windows build dir>
set -euo pipefail
build=${1:?usage: full_volume_test.sh <windows build dir>}
volume=$(mktemp -d /tmp/tidewell-full.XXXXXX)
cleanup() {
    umount "$volume" 2>/dev/null || true
    rmdir "$volume"
}
trap cleanup EXIT
mount -t tmpfs -o size=64k tidewell-full "$volume"
printf 'old setting file' >"$volume/show.ppsv"
dd if=/dev/zero of="$volume/filler" bs=4k 2>/dev/null || true  # stops at "no space left"
TIDEWELL_TEST_FULL_FOLDER="Z:${volume//\//\\}" wine "$build/tidewell_win32_tests.exe" \
    --gtest_also_run_disabled_tests \
    --gtest_filter='SettingFiles.DISABLED_Save_VolumeFull_*:LocalCopies.DISABLED_NoRoom*'
