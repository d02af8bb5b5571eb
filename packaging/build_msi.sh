#!/usr/bin/env bash
# Builds Tidewell's Windows Installer package from tidewell.wxs beside this script, with wixl and
# msibuild (Debian's packages wixl and msitools). The CMake target "package" runs it; so does the
# package's test, to build a newer package.
#
# Usage: packaging/build_msi.sh <version> <tidewell.exe> <tidewell.ico> <output .msi>
set -euo pipefail
if [ $# -ne 4 ]; then
    echo "usage: $0 <version> <tidewell.exe> <tidewell.ico> <output .msi>" >&2
    exit 2
fi
version=$1
output=$(realpath -m "$4")
wxs="$(cd "$(dirname "$0")" && pwd)/tidewell.wxs"

# wixl finds the files a package holds by names relative to the folder it runs in: the program
# and its icon are gathered in a folder of their own.
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$2" "$folder/tidewell.exe"
cp "$3" "$folder/tidewell.ico"
rm -f "$output"
(cd "$folder" && wixl -a x64 -D Version="$version" -o "$output" "$wxs")

# wixl leaves IncludeMaximum out of the Upgrade table. The row that finds the Tidewell to replace
# gets it here, so that a package also replaces an installed one of its own version (another
# build, with another product code) instead of installing beside it. Attributes is part of the
# row's key, so the row is written anew: 256 + 512, both ends of the range included.
upgrade_code=$(msiinfo export "$output" Property | tr -d '\r' | sed -n 's/^UpgradeCode\t//p')
[ -n "$upgrade_code" ] || { echo "$0: no UpgradeCode in $output" >&2; exit 1; }
msibuild "$output" \
    -q "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'OLDER_TIDEWELL_FOUND'" \
    -q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMin\`, \`VersionMax\`, \`Attributes\`,
        \`ActionProperty\`) VALUES ('$upgrade_code', '0.0.0', '$version', 768,
        'OLDER_TIDEWELL_FOUND')"
