# Shared by the README's commands: installs what a fresh Debian machine lacks, builds, and sets up
# Wine and virtual displays. Sourced, not run.

TIDEWELL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
NATIVE_BUILD=${NATIVE_BUILD:-$TIDEWELL_ROOT/build/native}
WIN_BUILD=${WIN_BUILD:-$TIDEWELL_ROOT/build/windows}
PID_FILE=$(mktemp /tmp/tidewell-pids.XXXXXX)
# Wine's own fonts; a prefix does not get them by itself here (see setup_wine).
WINE_FONTS=/usr/share/wine/fonts

log() { printf '== %s\n' "$*" >&2; }

need_packages() {
    local missing=()
    command -v cmake >/dev/null || missing+=(cmake)
    command -v ninja >/dev/null || missing+=(ninja-build)
    command -v g++ >/dev/null || missing+=(g++)
    [ -d /usr/src/googletest ] || missing+=(googletest)
    command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(mingw-w64 g++-mingw-w64-x86-64-posix)
    command -v wine >/dev/null || missing+=(wine wine64)
    command -v Xvfb >/dev/null || missing+=(xvfb)
    command -v Xephyr >/dev/null || missing+=(xserver-xephyr)
    command -v xdotool >/dev/null || missing+=(xdotool)
    [ -f "$WINE_FONTS/tahoma.ttf" ] || missing+=(fonts-wine)
    command -v xwininfo >/dev/null || missing+=(x11-utils)
    command -v import >/dev/null || missing+=(imagemagick)
    command -v clang++ >/dev/null || missing+=(clang)
    command -v makensis >/dev/null || missing+=(nsis)
    command -v wixl >/dev/null || missing+=(wixl)
    command -v msibuild >/dev/null || missing+=(msitools)
    [ -f /usr/include/nlohmann/json.hpp ] || missing+=(nlohmann-json3-dev)
    command -v chromium >/dev/null || missing+=(chromium)
    command -v zip >/dev/null || missing+=(zip)
    command -v unzip >/dev/null || missing+=(unzip)
    command -v fusermount3 >/dev/null || missing+=(fuse3)
    pkg-config --exists fuse3 2>/dev/null || missing+=(libfuse3-dev pkg-config)
    [ -f /usr/include/zlib.h ] || missing+=(zlib1g-dev)
    [ -f /usr/x86_64-w64-mingw32/lib/libz.a ] || missing+=(libz-mingw-w64-dev)
    if [ ${#missing[@]} -gt 0 ]; then
        log "installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
    fi
}

build_native() {
    cmake -G Ninja -S "$TIDEWELL_ROOT" -B "$NATIVE_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$NATIVE_BUILD"
}

build_windows() {
    cmake -G Ninja -S "$TIDEWELL_ROOT" -B "$WIN_BUILD" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$TIDEWELL_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$WIN_BUILD"
}

# A prefix of the build's own; window management off so that hiding a window costs no 2 s stall.
setup_wine() {
    export WINEPREFIX="$WIN_BUILD/wineprefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
    if [ ! -f "$WINEPREFIX/.tidewell-ready" ]; then
        log "creating the Wine prefix"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.tidewell-ready"
    fi
    install_windows_fonts
}

# Without Marlett the title-bar buttons draw as letters ("0 1 r"), and without Tahoma the dialog
# font "MS Shell Dlg 2" falls back to a wider face, so that tests, benchmarks and screenshots would
# not see the program in the font Windows uses. Also run for prefixes made before the fonts were
# copied, hence outside the ready marker; a copy only happens when a font is missing.
install_windows_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
    mkdir -p "$fonts"
    for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
        [ -f "$fonts/$font" ] || cp "$WINE_FONTS/$font" "$fonts/$font"
    done
}

free_display() {
    local n=$1
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    echo "$n"
}

wait_for_display() {
    local i
    for i in $(seq 1 100); do
        DISPLAY=":$1" xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    log "display :$1 did not come up"
    return 1
}

# Display numbers are taken from the first free one upwards; TIDEWELL_DISPLAY_BASE moves the start,
# so that several people on one machine can keep to ranges of their own.

# Starts Xvfb with one screen of the given size; prints the display number.
start_xvfb() {
    local n
    n=$(free_display "${2:-${TIDEWELL_DISPLAY_BASE:-90}}")
    Xvfb ":$n" -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 &
    echo $! >>"$PID_FILE"
    wait_for_display "$n" || return 1
    echo "$n"
}

# Xephyr inside a host Xvfb, one -screen per monitor ("1024x768 1024x768"): prints the display.
start_monitors() {
    local sizes=("$@") total_w=0 max_h=0 x=0 args=() s w h host n
    for s in "${sizes[@]}"; do
        w=${s%x*}; h=${s#*x}
        total_w=$((total_w + w)); [ "$h" -gt "$max_h" ] && max_h=$h
    done
    host=$(start_xvfb "${total_w}x${max_h}" "${TIDEWELL_DISPLAY_BASE:-70}") || return 1
    for s in "${sizes[@]}"; do
        args+=(-screen "$s+$x+0"); x=$((x + ${s%x*}))
    done
    n=$(free_display $((host + 1)))
    DISPLAY=":$host" Xephyr ":$n" "${args[@]}" +xinerama -extension RANDR -nolisten tcp \
        >/dev/null 2>&1 &
    echo $! >>"$PID_FILE"
    wait_for_display "$n" || return 1
    echo "$n"
}

# The wineserver keeps the display it first saw: stop it before switching displays.
restart_wineserver() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
}

stop_started() {
    [ -n "${WINEPREFIX:-}" ] && restart_wineserver
    local pid
    # Xephyr first (listed after its host), then the hosts.
    for pid in $(tac "$PID_FILE" 2>/dev/null); do kill "$pid" 2>/dev/null || true; done
    for pid in $(cat "$PID_FILE" 2>/dev/null); do
        while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
    done
    : >"$PID_FILE"
}

# --- PowerPoint's place and the demonstration. ---------------------------------------------------
POWERPOINT_PATH='C:\Program Files\Microsoft Office\root\Office16\POWERPNT.EXE'
DEMO_FOLDER='C:\users\Public\Documents\Tidewell demo'
DEMO_SHOWS=(Welcome.pptx Menu.pptx Notices.pptx)
# The demonstration keeps its playlist under a key of its own, never under the user's.
DEMO_PREFERENCES_KEY='SOFTWARE\hollowfin-demo\lanternrow'

unix_path() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }

# Puts the stand-in (tools/standin) where PowerPoint is installed, in the prefix of setup_wine, or
# brings an older copy up to date. A program there that is no stand-in (one that does not hold the
# stand-in's variable names, in UTF-16) is a real PowerPoint and stays.
install_standin_as_powerpoint() {
    local program
    program=$(unix_path "$POWERPOINT_PATH")
    mkdir -p "$(dirname "$program")"
    if [ ! -e "$program" ] ||
        grep -qaP 'T\x00I\x00D\x00E\x00W\x00E\x00L\x00L\x00_\x00S\x00T\x00A\x00N\x00D\x00I\x00N' "$program"; then
        cp "$WIN_BUILD/standin.exe" "$program"
    fi
}

# The demonstration's setting file: the three test presentations (real ones, written by LibreOffice
# Impress), copied into the public documents, on monitor 2, played by PowerPoint where it lives.
prepare_demo() {
    local folder show
    install_standin_as_powerpoint
    folder=$(unix_path "$DEMO_FOLDER")
    mkdir -p "$folder"
    {
        printf '\xef\xbb\xbf2\r\n%s\r\n' "$POWERPOINT_PATH"
        for show in "${DEMO_SHOWS[@]}"; do
            cp "$TIDEWELL_ROOT/tests/data/presentations/$show" "$folder/"
            printf '%s\\%s\r\n' "$DEMO_FOLDER" "$show"
        done
    } >"$folder/Demo.ppsv"
}

# Starts the demonstration in the background on the display in DISPLAY, its process in DEMO_PID:
# the presentations play one after the other in a loop, the next slide every DEMO_ADVANCE seconds
# (4), and Tidewell ends when the run is stopped. Arguments go to tidewell.exe as well.
start_demo() {
    prepare_demo
    TIDEWELL_PREFERENCES_KEY="$DEMO_PREFERENCES_KEY" TIDEWELL_STANDIN_SLIDES=deck \
        wine "$WIN_BUILD/tidewell.exe" /play /loop /exit /advance "${DEMO_ADVANCE:-4}" "$@" \
        "$DEMO_FOLDER\\Demo.ppsv" &
    DEMO_PID=$!
}

# How many monitors the display in DISPLAY has.
monitor_count() {
    xdpyinfo -ext XINERAMA 2>/dev/null | grep -c '^ *head #' || true
}

# True once monitor 2 shows a slide of the stand-in (its dark blue at the monitor's corners) while
# no window of Tidewell is seen: the picture of the whole screen is then in FILE.
shows_on_monitor_2() {
    local left width height corner
    read -r width height left < <(xdpyinfo -ext XINERAMA |
        sed -n 's/^ *head #1: \([0-9]*\)x\([0-9]*\) @ \([0-9]*\),.*/\1 \2 \3/p')
    [ -n "${left:-}" ] || return 1
    xdotool search --onlyvisible --name '^Tidewell$' >/dev/null 2>&1 && return 1
    import -window root "$1" 2>/dev/null || return 1
    for corner in "$((left + 20)),20" "$((left + width - 20)),$((height - 20))"; do
        [ "$(convert "$1" -format "%[pixel:p{$corner}]" info:)" = "srgb(16,40,72)" ] || return 1
    done
}
