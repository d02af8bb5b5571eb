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
failed=()
# One step of the test command. A step that fails is named again at the very end, with the ctest
# tests that failed in it, so that a log cut down to its last lines still says what failed.
step() {
    local label=$1
    shift
    log "$label (display $DISPLAY)"
    local since
    since=$(date +%s)
    "$@" && return 0
    status=1
    failed+=("$label")
    local list="$WIN_BUILD/Testing/Temporary/LastTestsFailed.log"
    if [ "$1" = windows_tests ] && [ -s "$list" ] && [ "$(stat -c %Y "$list")" -ge "$since" ]; then
        local tests
        mapfile -t tests < <(sed 's/^[0-9]*:/   /' "$list")
        failed+=("${tests[@]}")
    fi
}
windows_tests() { ctest --test-dir "$WIN_BUILD" --output-on-failure "$@"; }
e2e() { "$TIDEWELL_ROOT/tests/e2e/$1" "$WIN_BUILD"; }

display=$(start_xvfb 1280x1024)
export DISPLAY=":$display"
step "portable and Win32 tests under Wine" windows_tests -L 'unit|win32'
step "a setting file saved, and decks copied, onto a full volume" \
    "$TIDEWELL_ROOT/tests/win32/persistence/full_volume_test.sh" "$WIN_BUILD"
restart_wineserver

display=$(start_monitors 1024x768 1024x768)
export DISPLAY=":$display"
step "end-to-end tests under Wine on two monitors" windows_tests -L e2e
step "presentations on an unplugged drive and in an unreadable folder" e2e unreachable_test.sh
step "two screens tell one folder, and a browser shows the page" e2e seen_from_afar_test.sh
step "two screens' play logs and their report, read back as CSV" e2e play_report_test.sh
step "a share that stops answering" e2e stalled_share_test.sh
step "the demonstration of scripts/run.sh" e2e demo_test.sh
step "a loop on a network drive that goes away, with a deck saved half" e2e share_away_test.sh
step "a link in the copies folder, and a deck made to keep its check busy" e2e hostile_files_test.sh
restart_wineserver

display=$(start_monitors 1024x768 1024x768 800x600)
export DISPLAY=":$display"
step "end-to-end tests under Wine on three monitors, one of another size" \
    env TIDEWELL_E2E_THREE_MONITORS=1 wine "$WIN_BUILD/tidewell_e2e_tests.exe" --gtest_filter='ThreeMonitors.*'
restart_wineserver

log "installer, Windows Installer package and portable archive"
cmake --build "$WIN_BUILD" --target package
display=$(start_xvfb 1024x768)
export DISPLAY=":$display"
step "installer test under Wine" "$TIDEWELL_ROOT/tests/packaging/installer_test.sh" "$WIN_BUILD"
step "Windows Installer package test under Wine" "$TIDEWELL_ROOT/tests/packaging/msi_test.sh" "$WIN_BUILD"
restart_wineserver

# libFuzzer's progress lines run to thousands; they are kept in a file and shown only on a finding.
if [ -x "$TIDEWELL_ROOT/fuzz/run.sh" ]; then
    fuzz_log="$NATIVE_BUILD/fuzz/last-run.log"
    mkdir -p "$(dirname "$fuzz_log")"
    fuzzing() { "$TIDEWELL_ROOT/fuzz/run.sh" "$NATIVE_BUILD" >"$fuzz_log" 2>&1 || { tail -n 60 "$fuzz_log"; false; }; }
    step "fuzzing (bounded)" fuzzing
    grep -E '^(== fuzzing|Done [0-9]+ runs)' "$fuzz_log" >&2 || true
fi

if [ "$status" -eq 0 ]; then
    log "all tests passed"
else
    log "SOME TESTS FAILED:"
    printf '   %s\n' "${failed[@]}" >&2
fi
exit "$status"
