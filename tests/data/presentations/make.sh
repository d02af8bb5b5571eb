#!/usr/bin/env bash
# Remakes the test presentations from their flat OpenDocument sources with LibreOffice Impress
# (Debian: libreoffice-impress), so that the tests use files a real office program wrote. The
# results are kept in the repository; the test command does not run this.
set -euo pipefail
cd "$(dirname "$0")"
soffice --headless --convert-to pptx Welcome.fodp Menu.fodp Notices.fodp
soffice --headless --convert-to ppt Welcome.fodp
# The same parts in the same order, packed again by a writer that always writes ZIP64 records
# (as streaming writers and those of very large files do): the end record then points to them.
parts=$(mktemp -d)
trap 'rm -rf "$parts"' EXIT
unzip -q Welcome.pptx -d "$parts"
rm -f Welcome-zip64.pptx
unzip -Z1 Welcome.pptx | (cd "$parts" && zip -q -X -D -nw -fz "$OLDPWD/Welcome-zip64.pptx" -@)
