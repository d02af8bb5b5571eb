#!/usr/bin/env bash
# Remakes the test presentations from their flat OpenDocument sources with LibreOffice Impress
# (Debian: libreoffice-impress), so that the tests use files a real office program wrote. The
# results are kept in the repository; the test command does not run this.
set -euo pipefail
cd "$(dirname "$0")"
soffice --headless --convert-to pptx Welcome.fodp Menu.fodp Notices.fodp
soffice --headless --convert-to ppt Welcome.fodp
