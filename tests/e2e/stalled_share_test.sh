#!/usr/bin/env bash
# A share that stops answering, for real: tools/stallfs shows a folder as a Wine drive whose reads
# wait while a flag file exists, as reads from a share whose server has gone quiet wait. Needs
# FUSE (/dev/fuse, fuse3 and libfuse3-dev), an X display in DISPLAY and the Wine environment
# (WINEPREFIX, ...) that scripts/lib.sh sets up; stops the wineserver before and after.
#   tests/e2e/stalled_share_test.sh <windows build dir> [gtest filter]
set -euo pipefail
build=${1:?usage: stalled_share_test.sh <windows build dir> [gtest filter]}
source "$(dirname "$0")/stalled_share_lib.sh"
trap unmount_stalled_share EXIT
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
mount_stalled_share
wine "$build/tidewell_e2e_tests.exe" --gtest_also_run_disabled_tests \
    --gtest_filter="${2:-StalledShare.DISABLED_*}"
