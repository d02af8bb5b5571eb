#!/usr/bin/env bash
# Runs every fuzzer for a bounded time, one after the other.
#   fuzz/run.sh <native build dir> [seconds each] [fuzzer ...]
#     seconds: default $TIDEWELL_FUZZ_SECONDS or 20; fuzzers: default all of them.
#   TIDEWELL_FUZZ_RUNS=N runs each for N inputs instead (libFuzzer's -runs), with no time bound.
# New inputs are kept in <build>/fuzz/corpus/<fuzzer>; the seeds in fuzz/corpus/<fuzzer> (for the check of
# presentations, the real decks of tests/data/presentations) are only read. Fails
# when a fuzzer was not built (no clang with libFuzzer) or when one finds a fault.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: fuzz/run.sh <native build dir> [seconds each] [fuzzer ...]}
seconds=${2:-${TIDEWELL_FUZZ_SECONDS:-20}}
shift $(($# > 1 ? 2 : 1))
fuzzers=("$@")
[ ${#fuzzers[@]} -gt 0 ] || fuzzers=(setting_file_decoder presentation_zip powerpoint_streams)
decks="$here/../tests/data/presentations"
if [ -n "${TIDEWELL_FUZZ_RUNS:-}" ]; then
    bound=(-runs="$TIDEWELL_FUZZ_RUNS")
else
    bound=(-max_total_time="$seconds")
fi
status=0
for name in "${fuzzers[@]}"; do
    fuzzer="$build/fuzz/${name}_fuzzer"
    if [ ! -x "$fuzzer" ]; then
        echo "fuzz/run.sh: $fuzzer was not built: install clang (with libFuzzer) and rebuild" >&2
        exit 1
    fi
    case $name in
        presentation_zip) seeds=("$decks") ;;
        *) seeds=("$here/corpus/$name") ;;
    esac
    mkdir -p "$build/fuzz/corpus/$name"
    echo "== fuzzing $name" >&2
    "$fuzzer" "${bound[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz/$name-" "$build/fuzz/corpus/$name" "${seeds[@]}" || status=1
done
exit "$status"
