#!/usr/bin/env bash
# Files that someone else may put where Tidewell looks, made with Unix tools: a symbolic link
# in a copies folder named like a copy (Wine shows it as a reparse point) to a folder with files,
# beside a real copy no list has named for 31 days; and a deck made from a real test deck whose
# directory names one large part 20,000 times. Needs an X display in DISPLAY and the Wine
# environment (WINEPREFIX, ...) that scripts/lib.sh sets up.
#   tests/e2e/hostile_files_test.sh <windows build dir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: hostile_files_test.sh <windows build dir>}
work=$(mktemp -d /tmp/tidewell-hostile.XXXXXX)
trap 'rm -rf "$work"' EXIT
windows() { echo "Z:${1//\//\\}"; }

mkdir -p "$work/copies" "$work/documents" "$work/copies/fedcba9876543210"
printf 'minutes\r\n' >"$work/documents/minutes.txt"
printf 'Tidewell copy\r\n' >"$work/documents/copy-of.txt"
ln -s "$work/documents" "$work/copies/0123456789abcdef"
cp "$here/../data/presentations/Menu.pptx" "$work/copies/fedcba9876543210/Menu.pptx"
printf 'Tidewell copy\r\n' >"$work/copies/fedcba9876543210/copy-of.txt"
touch -h -d '31 days ago' "$work/documents/copy-of.txt" "$work/documents" \
    "$work/copies/fedcba9876543210/copy-of.txt" "$work/copies/fedcba9876543210" \
    "$work/copies/0123456789abcdef"
python3 "$here/make_busy_deck.py" "$here/../data/presentations/Welcome.pptx" "$work/Busy.pptx"

TIDEWELL_TEST_LINKED_COPIES=$(windows "$work/copies") \
TIDEWELL_TEST_LINK_TARGET=$(windows "$work/documents") \
TIDEWELL_TEST_UNNAMED_COPY=$(windows "$work/copies/fedcba9876543210") \
TIDEWELL_TEST_BUSY_DECK=$(windows "$work/Busy.pptx") \
    wine "$build/tidewell_e2e_tests.exe" --gtest_also_run_disabled_tests \
    --gtest_filter='HostileFiles.DISABLED_*'
