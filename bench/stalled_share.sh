#!/usr/bin/env bash
# How long "tidewell.exe /stop" takes, from its start to its end (Wine's start of the process
# included), while a share stops answering: (1) a start with /play reading its setting file there,
# (2) a looping run reading its rewritten setting file again between passes; and, to compare,
# (3) while a show plays and nothing stalls. The share is tools/stallfs as a Wine drive. Prints
# TABLE rows as the other benchmarks do; bench/run.sh runs it as "stall".
# Usage: WIN_BUILD=dir [ROUNDS=3] bench/stalled_share.sh   (needs DISPLAY and the Wine environment)
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/stalled_share_lib.sh"
build=${WIN_BUILD:?}
program=${BENCH_PROGRAM:-$build/tidewell.exe}
rounds=${ROUNDS:-3}
trap unmount_stalled_share EXIT
mount_stalled_share
shown=$(winepath -u "$TIDEWELL_TEST_STALLED_SHARE_FOLDER")
flag=$(winepath -u "$TIDEWELL_TEST_STALL_FLAG")
standin=$(winepath -w "$build/standin.exe")
export TIDEWELL_PREFERENCES_KEY='SOFTWARE\hollowfin-tests\bench-stall'
wine reg add "HKCU\\$TIDEWELL_PREFERENCES_KEY" /v chosenpptexfile /d "$standin" /f >/dev/null 2>&1
touch "$shown/a.ppt"
setting() { printf '1\r\n%s\r\n%s\r\n' "$standin" "${TIDEWELL_TEST_STALLED_SHARE}a.ppt" >"$shown/Lobby.ppsv"; }
# waits (30 s at most) until the file exists
wait_for() { local i; for i in $(seq 3000); do [ -e "$1" ] && return 0; sleep 0.01; done; return 1; }
# the milliseconds that "/stop" took, or "none" when it did not end within 30 s
time_stop() {
    local start end
    start=$(date +%s%N)
    timeout 30 wine "$program" /stop >/dev/null 2>&1 || { echo none; return; }
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}
# true once a stand-in of this build runs (others' builds on the machine are left out)
standin_runs() {
    local f first
    for f in /proc/[0-9]*/cmdline; do
        first=$({ tr '\0' '\n' <"$f"; } 2>/dev/null | head -1)
        [ "${first,,}" = "${standin,,}" ] && return 0
    done
    return 1
}
wait_for_standin() { local i; for i in $(seq 300); do standin_runs && return 0; sleep 0.1; done; return 1; }
median() { tr ' ' '\n' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
finish_round() { rm -f "$flag" "$flag.held"; wineserver -k >/dev/null 2>&1 || true; wineserver -w; }

declare -A figures
for situation in start reread playing; do
    times=()
    for ((round = 0; round < rounds; round++)); do
        setting
        case $situation in
        start)
            touch "$flag"
            wine "$program" /play /loop "${TIDEWELL_TEST_STALLED_SHARE}Lobby.ppsv" >/dev/null 2>&1 &
            wait_for "$flag.held"
            ;;
        reread)
            TIDEWELL_STANDIN_SECONDS=3 wine "$program" /play /loop "${TIDEWELL_TEST_STALLED_SHARE}Lobby.ppsv" >/dev/null 2>&1 &
            # the show is on (its program started), the file changes and the share stalls
            wait_for_standin
            printf '1\r\n%s\r\n%s\r\n%s\r\n' "$standin" "${TIDEWELL_TEST_STALLED_SHARE}a.ppt" \
                "${TIDEWELL_TEST_STALLED_SHARE}a.ppt" >"$shown/Lobby.ppsv"
            touch "$flag"
            wait_for "$flag.held"
            ;;
        playing)
            wine "$program" /play /loop "${TIDEWELL_TEST_STALLED_SHARE}Lobby.ppsv" >/dev/null 2>&1 &
            wait_for_standin
            ;;
        esac
        times+=("$(time_stop)")
        finish_round
    done
    figures[$situation]="median $(echo "${times[@]}" | median) ms (${times[*]})"
done
printf 'TABLE\t/stop while a start reads its setting file from a share that does not answer\t%s\n' "${figures[start]}"
printf 'TABLE\t/stop while a loop reads its setting file again from a share that does not answer\t%s\n' "${figures[reread]}"
printf 'TABLE\t/stop while a show plays and no share stalls (Wine starting the process included in all three)\t%s\n' "${figures[playing]}"
