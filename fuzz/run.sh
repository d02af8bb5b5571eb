#!/usr/bin/env bash
# Runs the setting-file decoder fuzzer for a bounded time.
#   fuzz/run.sh <native build dir> [seconds]     (default: $TIDEWELL_FUZZ_SECONDS or 30)
# New inputs are kept in <build>/fuzz/corpus; the seeds in fuzz/corpus are only read. Fails when
# the fuzzer was not built (no clang with libFuzzer) or when it finds a fault.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: fuzz/run.sh <native build dir> [seconds]}
seconds=${2:-${TIDEWELL_FUZZ_SECONDS:-30}}
fuzzer="$build/fuzz/setting_file_decoder_fuzzer"
if [ ! -x "$fuzzer" ]; then
    echo "fuzz/run.sh: $fuzzer was not built: install clang (with libFuzzer) and rebuild" >&2
    exit 1
fi
mkdir -p "$build/fuzz/corpus"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/" "$build/fuzz/corpus" "$here/corpus"
