#!/usr/bin/env bash
# Regenerates the user guide's pictures from the built program under Wine, never by hand:
#   docs/images/main-window.png       the main window with a small playlist, cropped to the window;
#   docs/images/show-on-monitor-2.png  both monitors of a two-monitor display while Tidewell plays:
#                                     its window hidden on monitor 1, the first show on monitor 2;
#   docs/images/backdrop-between-shows.png  the same two monitors between two shows: monitor 2
#                                     black while the presentation program starts the next one;
#   docs/images/entry-settings.png    the "Entry settings" dialog of an entry over the main window;
#   docs/images/overview.png          the page of two screens, one quiet for 4 minutes, as headless
#                                     Chromium draws it (the run of tests/e2e/seen_from_afar_test.sh).
# The shows are run by the stand-in presentation program (tools/standin) in place of PowerPoint,
# installed where PowerPoint is, so that the program field shows what a user's would.
# Everything runs in a Wine prefix of its own, so the tests' prefix keeps no stored preferences.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
work=$(mktemp -d /tmp/tidewell-screenshots.XXXXXX)
trap 'stop_started; rm -f "$PID_FILE"; rm -rf "$work"' EXIT

need_packages
build_windows
WIN_BUILD="$WIN_BUILD/screenshots" setup_wine
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
images="$TIDEWELL_ROOT/docs/images"
mkdir -p "$images"

# Main window client size at 96 DPI; the frame around it is what the X window adds.
client_width=629
client_height=423
# "Play All" (BitBtn1): left, top, width, height in the client area.
play_all=(344 352 81 25)

fail() {
    printf 'screenshots: %s\n' "$*" >&2
    exit 1
}

# --- The playlist and the presentation program, stored as the program stores them. -------------
demo='C:\Shows\Lobby'
presenter=$POWERPOINT_PATH
presentations=("Welcome.ppsx" "Quarterly results.pptx" "Breakfast menu.pptx" "Product tour.pps")
# Each entry's settings, as its line in the stored playlist carries them after a TAB.
tab=$'\t'
settings=("" "" "${tab}days=Mon-Fri${tab}hours=07:00-10:30${tab}showfor=300${tab}advance=10"
    "${tab}advance=8")
mkdir -p "$(unix_path "$demo")"
install_standin_as_powerpoint
files=""
for i in "${!presentations[@]}"; do
    # Real presentations, as LibreOffice Impress wrote them: a show is checked before it plays.
    case ${presentations[i]} in
    *.ppt | *.pps) deck=Welcome.ppt ;;
    *) deck=Welcome.pptx ;;
    esac
    cp "$TIDEWELL_ROOT/tests/data/presentations/$deck" \
        "$(winepath -u "$demo\\${presentations[i]}" | tr -d '\r')"
    files+="$demo\\${presentations[i]}${settings[i]}"$'\r\n'
done
files=${files%$'\r\n'}

# REG_SZ as UTF-16LE bytes with a NUL: the CR LF between the paths cannot pass through `reg add`.
reg_sz_hex() {
    printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -s ' \n' ',,' |
        sed 's/^,//; s/,$//; s/$/,00,00/'
}
reg_escape() { printf '%s' "${1//\\/\\\\}"; }
# A version 5 file is UTF-16LE with a byte-order mark; Wine reads hex(1) as ANSI bytes otherwise.
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$work/preferences.reg" <<EOF
Windows Registry Editor Version 5.00

[-HKEY_CURRENT_USER\\SOFTWARE\\hollowfin\\lanternrow]

[HKEY_CURRENT_USER\\SOFTWARE\\hollowfin\\lanternrow]
"files"=hex(1):$(reg_sz_hex "$files")
"pptexfile"="$(reg_escape "$presenter")"
"monitorc"="2"
EOF

# --- Helpers. ------------------------------------------------------------------------------------
wait_for_window() { # name pattern: prints the X window id
    local window="" _
    for _ in $(seq 1 150); do
        window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
        [ -n "$window" ] && break
        sleep 0.2
    done
    [ -n "$window" ] || fail "no window named $1 on $DISPLAY"
    echo "$window"
}

# Prints "x y width height" of an X window on the screen.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

close_program() { # X window, pid of wine
    xdotool windowfocus --sync "$1" key alt+F4 2>/dev/null || true
    for _ in $(seq 1 100); do
        kill -0 "$2" 2>/dev/null || return 0
        sleep 0.1
    done
    fail "Tidewell did not close"
}

# A plain desktop colour instead of the X server's grey weave. display tiles the picture over the
# root window and then exits with 1 all the same.
desktop_background() {
    convert -size 8x8 xc:'#3a6e9e' "$work/desktop.png"
    display -window root "$work/desktop.png" || true
}

# Both monitors of the screen, with a label under each, at half size: the README shows them beside
# the text. Arguments: the picture's name in docs/images, the two labels.
capture_monitors() {
    import -window root "$work/screen.png"
    convert "$work/screen.png" -background '#202020' -gravity south -splice 0x48 -fill white \
        -pointsize 26 -gravity southwest -annotate +24+10 "$2" \
        -gravity southeast -annotate +24+10 "$3" \
        -stroke '#202020' -strokewidth 4 -draw 'line 1024,0 1024,816' \
        -resize 50% "$images/$1"
    log "wrote $images/$1"
}

start_tidewell() {
    restart_wineserver
    wine reg import "$work/preferences.reg" >/dev/null 2>&1 ||
        fail "could not store the preferences"
    wine "$WIN_BUILD/tidewell.exe" >/dev/null 2>&1 &
    tidewell_pid=$!
    tidewell_window=$(wait_for_window '^Tidewell$')
    # The window is mapped before the list and the toolbar have finished drawing.
    sleep 1.5
}

# --- Two monitors; Tidewell opens on the first with monitor 2 chosen. ---------------------------
screen=$(start_monitors 1024x768 1024x768)
export DISPLAY=":$screen"
# Each show ends by itself after a few seconds, and the program takes a while to show the next,
# as PowerPoint does; the stand-in reads both from its environment.
export TIDEWELL_STANDIN_SECONDS=4
export TIDEWELL_STANDIN_DELAY_MS=3000
start_tidewell
# After Wine's start, which paints the root window black.
desktop_background

import -window "$tidewell_window" "$images/main-window.png"
log "wrote $images/main-window.png"

# --- "Play All", and the first show on monitor 2. ------------------------------------------------
# The window is the client area inside a fixed frame: equal borders left, right and below.
read -r x y width height < <(geometry "$tidewell_window")
border=$(((width - client_width) / 2))
top=$((height - client_height - border))
xdotool mousemove $((x + border + play_all[0] + play_all[2] / 2)) \
    $((y + top + play_all[1] + play_all[3] / 2)) click 1

# The first show, once the player has moved it onto monitor 2.
show=$(wait_for_window "${presentations[0]}\$")
for _ in $(seq 1 50); do
    read -r x _ < <(geometry "$show")
    [ "$x" -ge 1024 ] && break
    sleep 0.1
done
[ "$x" -ge 1024 ] || fail "the show did not move to monitor 2 (x = $x)"
sleep 0.5
capture_monitors show-on-monitor-2.png "Monitor 1: Tidewell's window is hidden" \
    'Monitor 2: the show'

# Between the first show and the second: no show window, and monitor 2 black.
for _ in $(seq 1 100); do
    xdotool search --onlyvisible --name "${presentations[0]}\$" >/dev/null 2>&1 || break
    sleep 0.1
done
sleep 0.5
xdotool search --onlyvisible --name "${presentations[1]}\$" >/dev/null 2>&1 &&
    fail "the second show came before the picture between two shows"
capture_monitors backdrop-between-shows.png "Monitor 1: untouched" \
    'Monitor 2: black until the next show'

# The run goes on through the playlist (a few seconds a show); the main window comes back after the
# last one, and is closed as a user would.
close_program "$(wait_for_window '^Tidewell$')" "$tidewell_pid"

# --- "Entry settings..." for the breakfast menu, the row above the last: the list has the focus at
# start. The picture holds the dialog and the window under it.
start_tidewell
desktop_background
xdotool windowfocus --sync "$tidewell_window" key End Up Return
dialog=$(wait_for_window '^Entry settings$')
sleep 1
read -r wx wy ww wh < <(geometry "$tidewell_window")
read -r dx dy dw dh < <(geometry "$dialog")
left=$((wx < dx ? wx : dx))
top=$((wy < dy ? wy : dy))
right=$((wx + ww > dx + dw ? wx + ww : dx + dw))
bottom=$((wy + wh > dy + dh ? wy + wh : dy + dh))
import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
    "$images/entry-settings.png"
log "wrote $images/entry-settings.png"
xdotool key Escape
close_program "$tidewell_window" "$tidewell_pid"

# --- Two screens' status files and pictures in one folder, and the page made of them. ----------
"$TIDEWELL_ROOT/tests/e2e/seen_from_afar_test.sh" "$WIN_BUILD" "$images/overview.png"
log "wrote $images/overview.png"
