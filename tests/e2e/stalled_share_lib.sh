# The stalling share of tools/stallfs as a Wine drive, for the end-to-end test and the benchmark.
# Sourced, not run. mount_stalled_share exports what the test program reads:
# TIDEWELL_TEST_STALLED_SHARE (the drive's root as Tidewell sees it), _FOLDER (the folder it
# shows, written straight) and TIDEWELL_TEST_STALL_FLAG (reads wait while this file exists).
stalled_work=""
stalled_letter=""

mount_stalled_share() {
    local root candidate
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    stalled_work=$(mktemp -d /tmp/tidewell-stalled.XXXXXX)
    for candidate in s r q p o n; do
        if [ ! -e "$WINEPREFIX/dosdevices/$candidate:" ]; then stalled_letter=$candidate; break; fi
    done
    [ -n "$stalled_letter" ] || { echo "no free drive letter in $WINEPREFIX/dosdevices" >&2; return 1; }
    gcc -O1 -o "$stalled_work/stallfs" "$root/tools/stallfs/stallfs.c" \
        $(pkg-config --cflags --libs fuse3)
    mkdir -p "$stalled_work/shown" "$stalled_work/share"
    "$stalled_work/stallfs" "$stalled_work/shown" "$stalled_work/stall" "$stalled_work/share"
    ln -s "$stalled_work/share" "$WINEPREFIX/dosdevices/$stalled_letter:"
    export TIDEWELL_TEST_STALLED_SHARE="${stalled_letter^^}:\\"
    export TIDEWELL_TEST_STALLED_SHARE_FOLDER="Z:${stalled_work//\//\\}\\shown"
    export TIDEWELL_TEST_STALL_FLAG="Z:${stalled_work//\//\\}\\stall"
}

unmount_stalled_share() {
    [ -n "$stalled_work" ] || return 0
    rm -f "$stalled_work/stall"
    [ -n "$stalled_letter" ] && rm -f "$WINEPREFIX/dosdevices/$stalled_letter:"
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    fusermount3 -u "$stalled_work/share" 2>/dev/null || true
    rm -rf "$stalled_work"
    stalled_work=""
}
