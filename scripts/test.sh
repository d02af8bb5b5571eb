#!/usr/bin/env bash
# The whole test command: installs what is missing, builds the native and the Windows build, runs
# the portable tests natively, the Win32 tests under Wine on a virtual display, the end-to-end
# tests on two virtual monitors, builds the installer, the Windows Installer package and the
# portable archive and tests them under Wine, and runs the bounded fuzz run. Non-zero when anything
# fails or cannot run. Everything it starts, it stops.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
trap 'stop_started; rm -f "$PID_FILE"' EXIT

need_packages
log "native build"
build_native
log "portable tests (native)"
ctest --test-dir "$NATIVE_BUILD" --output-on-failure

log "Windows build"
build_windows
setup_wine

status=0
display=$(start_xvfb 1280x1024)
log "portable and Win32 tests under Wine (display :$display)"
DISPLAY=":$display" ctest --test-dir "$WIN_BUILD" -L 'unit|win32' --output-on-failure || status=1
log "a setting file saved, and decks copied, onto a full volume (display :$display)"
DISPLAY=":$display" "$TIDEWELL_ROOT/tests/win32/persistence/full_volume_test.sh" "$WIN_BUILD" || status=1
restart_wineserver

display=$(start_monitors 1024x768 1024x768)
log "end-to-end tests under Wine on two monitors (display :$display)"
DISPLAY=":$display" ctest --test-dir "$WIN_BUILD" -L e2e --output-on-failure || status=1
log "presentations on an unplugged drive and in an unreadable folder (display :$display)"
DISPLAY=":$display" "$TIDEWELL_ROOT/tests/e2e/unreachable_test.sh" "$WIN_BUILD" || status=1
log "two screens tell one folder, and a browser shows the page (display :$display)"
DISPLAY=":$display" "$TIDEWELL_ROOT/tests/e2e/seen_from_afar_test.sh" "$WIN_BUILD" || status=1
log "two screens' play logs and their report, read back as CSV (display :$display)"
DISPLAY=":$display" "$TIDEWELL_ROOT/tests/e2e/play_report_test.sh" "$WIN_BUILD" || status=1
log "a share that stops answering (display :$display)"
DISPLAY=":$display" "$TIDEWELL_ROOT/tests/e2e/stalled_share_test.sh" "$WIN_BUILD" || status=1
log "the demonstration of scripts/run.sh (display :$display)"
DISPLAY=":$display" "$TIDEWELL_ROOT/tests/e2e/demo_test.sh" "$WIN_BUILD" || status=1
log "a loop on a network drive that goes away, with a deck saved half (display :$display)"
DISPLAY=":$display" "$TIDEWELL_ROOT/tests/e2e/share_away_test.sh" "$WIN_BUILD" || status=1
log "a link in the copies folder, and a deck made to keep its check busy (display :$display)"
DISPLAY=":$display" "$TIDEWELL_ROOT/tests/e2e/hostile_files_test.sh" "$WIN_BUILD" || status=1
restart_wineserver

display=$(start_monitors 1024x768 1024x768 800x600)
log "end-to-end tests under Wine on three monitors, one of another size (display :$display)"
DISPLAY=":$display" TIDEWELL_E2E_THREE_MONITORS=1 \
    wine "$WIN_BUILD/tidewell_e2e_tests.exe" --gtest_filter='ThreeMonitors.*' || status=1
restart_wineserver

log "installer, Windows Installer package and portable archive"
cmake --build "$WIN_BUILD" --target package
display=$(start_xvfb 1024x768)
log "installer test under Wine (display :$display)"
DISPLAY=":$display" "$TIDEWELL_ROOT/tests/packaging/installer_test.sh" "$WIN_BUILD" || status=1
log "Windows Installer package test under Wine (display :$display)"
DISPLAY=":$display" "$TIDEWELL_ROOT/tests/packaging/msi_test.sh" "$WIN_BUILD" || status=1
restart_wineserver

if [ -x "$TIDEWELL_ROOT/fuzz/run.sh" ]; then
    log "fuzzing (bounded)"
    "$TIDEWELL_ROOT/fuzz/run.sh" "$NATIVE_BUILD" || status=1
fi

[ "$status" -eq 0 ] && log "all tests passed" || log "SOME TESTS FAILED"
exit "$status"
