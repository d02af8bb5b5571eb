# shellcheck shell=bash disable=SC2034 # the variables set here are read by the tests
# Shared by the package tests (the NSIS installer and the Windows Installer package): Wine set-up,
# registry reading, starting the installed program, and the checks of the ".ppsv" registration.
# Sourced by a test that has set WIN_BUILD (the Windows build's folder) and TEST_NAME (the name its
# failures start with). Sets version (the project's) and program (the built tidewell.exe).

# shellcheck source=../../scripts/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
trap 'stop_started; rm -f "$PID_FILE"' EXIT

classes_key='Software\Classes'
progid='Tidewell.SettingFile'
# The program's stored preferences, as the installer script names the key (its uninstaller's
# /RemoveSettings deletes it). The tests run in the build's own Wine prefix, never a user's, so
# they may seed and check that key.
preferences_key="HKCU\\$(sed -n 's/^!define PREFERENCES_KEY "\(.*\)"$/\1/p' \
    "$TIDEWELL_ROOT/packaging/tidewell.nsi")"
# Where test files and folders go inside the prefix; every test removes it when it starts and ends.
TEST_FOLDER='C:\tidewell-package-test'

fail() {
    printf '%s FAILED: %s\n' "$TEST_NAME" "$*" >&2
    exit 1
}
pass() { printf 'ok - %s\n' "$*" >&2; }

[ "$preferences_key" != 'HKCU\' ] || fail "no PREFERENCES_KEY in packaging/tidewell.nsi"
# The Application log's event source, as the installer script names its key.
event_source_key=$(sed -n 's/^!define EVENT_SOURCE_KEY "\(.*\)"$/\1/p' \
    "$TIDEWELL_ROOT/packaging/tidewell.nsi")
event_source_key="HKLM\\${event_source_key//\$\{APP_NAME\}/Tidewell}"
[ "$event_source_key" != 'HKLM\' ] || fail "no EVENT_SOURCE_KEY in packaging/tidewell.nsi"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WIN_BUILD/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $WIN_BUILD/CMakeCache.txt"
program="$WIN_BUILD/tidewell.exe"

# `wine reg` may run the 32-bit reg.exe, which sees HKLM\Software through WOW6432Node; both
# packages are 64-bit and write the 64-bit view.
reg() { wine reg "$@" /reg:64; }
reg_value() { # key value: the data, or nothing when the value is missing
    reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
reg_key_exists() { reg query "$1" >/dev/null 2>&1; }
reg_default() { # key: its default value's data, or nothing
    reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *([^)]*) *REG_[A-Z_]* *//p'
}
unix_path() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
unix_path_to_windows() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# The build's Wine prefix, and a virtual display of its own unless $DISPLAY names one. Sets
# user_shortcut and common_shortcut (Tidewell.lnk in the user's and in the common Start menu) and
# program_files (the 64-bit Program Files, a Windows path).
start_wine_for_packages() {
    setup_wine
    # Shortcuts would otherwise also become menu entries of the Linux desktop.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
    if [ -z "${DISPLAY:-}" ]; then
        DISPLAY=":$(start_xvfb 1024x768)"
        export DISPLAY
        restart_wineserver
    fi
    # Where the shell folders of this prefix are, in one start of cmd.
    local folders
    mapfile -t folders < <(wine cmd /c 'echo %APPDATA%&echo %ProgramData%&echo %ProgramW6432%' |
        tr -d '\r')
    local programs='Microsoft/Windows/Start Menu/Programs/Tidewell.lnk'
    user_shortcut="$(unix_path "${folders[0]}")/$programs"
    common_shortcut="$(unix_path "${folders[1]}")/$programs"
    program_files="${folders[2]}"
    rm -rf "$(unix_path "$TEST_FOLDER")"
}

# Starts the installed program, waits for its main window, and closes it as a user would: Alt+F4
# on the focused window (Wine's taskkill does not find processes by name). Arguments: the program,
# then optionally the whole command that starts it, when that is not the program alone.
start_and_close() {
    local exe_windows=$1 window=""
    shift
    wine "${@:-$exe_windows}" >/dev/null 2>&1 &
    local wine_pid=$!
    for _ in $(seq 1 100); do
        window=$(xdotool search --name '^Tidewell$' 2>/dev/null | head -1) || true
        [ -n "$window" ] && break
        sleep 0.2
    done
    if [ -z "$window" ]; then
        kill "$wine_pid" 2>/dev/null || true
        fail "no window titled \"Tidewell\" after starting $exe_windows"
    fi
    # A key sent while the window is still settling after its first showing can be lost, so
    # the request is repeated, once a second, until the program has ended. What started it may
    # end first ("start" does not always wait for a shortcut's program): the window must be gone.
    for _ in $(seq 1 10); do
        xdotool windowfocus --sync "$window" key alt+F4 2>/dev/null || true
        for _ in $(seq 1 10); do
            if ! kill -0 "$wine_pid" 2>/dev/null && ! xdotool getwindowname "$window" >/dev/null 2>&1; then
                break 2
            fi
            sleep 0.1
        done
    done
    if kill -0 "$wine_pid" 2>/dev/null || xdotool getwindowname "$window" >/dev/null 2>&1; then
        kill "$wine_pid" 2>/dev/null || true
        fail "the installed program did not end after Alt+F4"
    fi
    pass "program started from $exe_windows and showed its window"
}

# Setting files: ".ppsv" names Tidewell's type in the installation's hive, and in no other, whose
# Open loads the file and whose Play verb plays it. Arguments: a name for the messages, the root
# key (HKCU or HKLM), the other root, and the installation folder (a Windows path).
check_setting_files_registered() {
    local mode=$1 root=$2 other=$3 exe="\"$4\\tidewell.exe\""
    local classes="$root\\$classes_key"
    [ "$(reg_default "$classes\\.ppsv")" = "$progid" ] || fail "$mode: .ppsv is not $progid"
    [ "$(reg_default "$classes\\$progid\\shell\\open\\command")" = "$exe \"%1\"" ] ||
        fail "$mode: Open of a setting file is not $exe \"%1\""
    [ "$(reg_default "$classes\\$progid\\shell\\play\\command")" = "$exe /play \"%1\"" ] ||
        fail "$mode: Play of a setting file is not $exe /play \"%1\""
    [ "$(reg_default "$classes\\$progid\\shell\\play")" = "Play" ] || fail "$mode: no verb \"Play\""
    if reg_key_exists "$other\\$classes_key\\$progid"; then
        fail "$mode: setting files also registered under $other"
    fi
    pass "$mode: .ppsv registered under $root (Open, Play with /play)"
}

# The event source names the installed program for its messages (arguments: a name for the
# messages, the installation folder as a Windows path), or (folder empty) is not registered.
check_event_source() {
    if [ -z "$2" ]; then
        if reg_key_exists "$event_source_key"; then fail "$1: $event_source_key is there"; fi
        return
    fi
    local named
    named=$(reg_value "$event_source_key" EventMessageFile)
    [ "$named" = "$2\\tidewell.exe" ] || fail "$1: the event source names '$named'"
    [ "$(reg_value "$event_source_key" TypesSupported)" = 0x7 ] ||
        fail "$1: the event source does not take errors, warnings and information"
    pass "$1: the event source $event_source_key names $named"
}

check_setting_files_unregistered() {
    local root
    for root in HKCU HKLM; do
        if reg_key_exists "$root\\$classes_key\\$progid" ||
            reg_key_exists "$root\\$classes_key\\.ppsv"; then
            fail "$1: the registration of .ppsv is left under $root"
        fi
    done
}

# Opens a setting file as a double-click does (the shell's Open of the file), closes the window
# that shows it, and checks that what the file held is what the program then stored. Wine's shell
# reads file types from HKLM\Software\Classes only (Windows merges the user's own), so only an
# all-users registration can be opened this way here.
open_setting_file_through_the_shell() {
    local mode=$1 dir
    local key='HKCU\SOFTWARE\tidewell-tests\installer' show="$TEST_FOLDER\\show.ppt"
    dir=$(unix_path "$TEST_FOLDER")
    mkdir -p "$dir"
    : >"$dir/show.ppt"
    { printf '\xff\xfe'; printf '1\r\nC:\\windows\\notepad.exe\r\n%s\r\n' "$show" |
        iconv -f UTF-8 -t UTF-16LE; } >"$dir/Lobby.ppsv"
    reg delete "$key" /f >/dev/null 2>&1 || true
    TIDEWELL_PREFERENCES_KEY=${key#HKCU\\} start_and_close 'Lobby.ppsv (Open)' \
        cmd /c start "" /wait "$TEST_FOLDER\\Lobby.ppsv"
    [ "$(reg_value "$key" files)" = "$show" ] ||
        fail "$mode: opening Lobby.ppsv did not load it (stored playlist: $(reg_value "$key" files))"
    reg delete "$key" /f >/dev/null 2>&1 || true
    rm -f "$dir/show.ppt" "$dir/Lobby.ppsv"
    pass "$mode: opening a setting file loads it into Tidewell"
}
