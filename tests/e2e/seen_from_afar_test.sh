#!/usr/bin/env bash
# Two screens tell one folder what they do, and the page made from it shows both in a real
# browser: the end-to-end test (SeenFromAfar, under Wine) plays the runs and builds the page in a
# folder of this script's; then the picture is decoded here, and the page is opened in headless
# Chromium, whose DOM and drawing are checked. Needs an X display of two monitors in DISPLAY and
# the Wine environment (WINEPREFIX, ...) that scripts/lib.sh sets up.
#   tests/e2e/seen_from_afar_test.sh <windows build dir> [where to keep the page's picture]
set -euo pipefail
build=${1:?usage: seen_from_afar_test.sh <windows build dir> [page picture]}
keep_picture=${2:-}
work=$(mktemp -d /tmp/tidewell-afar.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/screens"
fail() { echo "seen from afar: $*" >&2; exit 1; }

TIDEWELL_E2E_SCREENS="Z:${work//\//\\}\\screens" wine "$build/tidewell_e2e_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='SeenFromAfar.DISABLED_*'

# The picture: a PNG of monitor 2's proportions, at most 960 pixels wide, showing the stand-in's
# slide (its dark blue) rather than the black backdrop or the desktop.
read -r mon_w mon_h < <(xdpyinfo -ext XINERAMA | sed -n 's/^ *head #1: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
[ -n "${mon_w:-}" ] || fail "monitor 2 not found on display $DISPLAY"
picture="$work/screens/lobby.png"
read -r png_w png_h < <(identify -format '%w %h\n' "png:$picture") || fail "the picture does not decode"
[ "$png_w" -le 960 ] || fail "the picture is $png_w pixels wide"
[ $((png_w * mon_h - png_h * mon_w)) -le "$mon_w" ] && [ $((png_h * mon_w - png_w * mon_h)) -le "$mon_h" ] ||
    fail "the picture is ${png_w}x$png_h, the monitor ${mon_w}x$mon_h"
for corner in "20,20" "$((png_w - 20)),$((png_h - 20))"; do
    colour=$(convert "$picture" -format "%[pixel:p{$corner}]" info:)
    [ "$colour" = "srgb(16,40,72)" ] || fail "the picture shows $colour at $corner, not the show"
done

# The page, in the browser: two cards, the quiet screen's marked stale, the playing one's
# picture drawn, and the red of the stale mark on screen.
page="file://$work/screens/index.html"
chrome=(timeout 120 chromium --headless --no-sandbox --disable-gpu --no-first-run
    --disable-background-networking --disable-component-update --disable-sync
    --user-data-dir="$work/profile" --window-size=760,520 --hide-scrollbars)
"${chrome[@]}" --dump-dom "$page" >"$work/dom.html" 2>/dev/null
python3 - "$work/dom.html" <<'PY' || fail "the page's cards are not as expected"
import sys
from html.parser import HTMLParser

cards = []  # [classes, name, picture] of each card, as the browser built them

class Cards(HTMLParser):
    in_name = False
    def handle_starttag(self, tag, attrs):
        if tag == "article": cards.append([dict(attrs).get("class", "").split(), "", None])
        if tag == "img" and cards: cards[-1][2] = dict(attrs).get("src")
        self.in_name = tag == "h2"
    def handle_data(self, data):
        if self.in_name and cards: cards[-1][1] += data
    def handle_endtag(self, tag): self.in_name = False

Cards().feed(open(sys.argv[1], encoding="utf-8").read())
print("cards in the browser:", cards)
by_name = {name: (classes, picture) for classes, name, picture in cards}
assert sorted(by_name) == ["hall", "lobby"], by_name
assert "stale" in by_name["hall"][0] and "stale" not in by_name["lobby"][0]
assert by_name["lobby"][1] == "lobby.png"
PY
"${chrome[@]}" --screenshot="$work/page.png" "$page" >/dev/null 2>&1
count_colour() { convert "$work/page.png" -depth 8 txt:- | grep -ci " #$1 " || true; }
[ "$(count_colour 102848)" -gt 2000 ] || fail "the screen's picture is not drawn on the page"
[ "$(count_colour D00000)" -gt 200 ] || fail "no stale mark in red on the page"
[ -z "$keep_picture" ] || cp "$work/page.png" "$keep_picture"
echo "seen from afar: status files, picture and page as expected"
