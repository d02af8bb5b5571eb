#!/usr/bin/env bash
# Installs the built Tidewell installer under Wine, silently, once for the current user and once for
# all users; starts the installed program from its installed place, checks the uninstall entry and
# the Start-menu shortcut, uninstalls silently and checks that everything installed is gone, and
# that the user's stored preferences stay unless /RemoveSettings is given. Also checks the portable
# archive. Exits non-zero at the first failure, saying what failed.
#
# Usage: tests/packaging/installer_test.sh <Windows build dir>   (after `cmake --build <dir>
# --target package`). Uses the build's Wine prefix and $DISPLAY, or a virtual display of its own.
set -euo pipefail
WIN_BUILD=$(cd "${1:?usage: $0 <Windows build dir>}" && pwd)
source "$(dirname "$0")/../../scripts/lib.sh"
trap 'stop_started; rm -f "$PID_FILE"' EXIT

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WIN_BUILD/CMakeCache.txt")
installer="$WIN_BUILD/Tidewell-$version-setup.exe"
portable="$WIN_BUILD/Tidewell-$version-portable.zip"
program="$WIN_BUILD/tidewell.exe"

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tidewell'
# The key the uninstaller's /RemoveSettings deletes, as the installer script names it. This test
# runs in the build's own Wine prefix, never a user's, so it may seed and check that key.
preferences_key="HKCU\\$(sed -n 's/^!define PREFERENCES_KEY "\(.*\)"$/\1/p' \
    "$TIDEWELL_ROOT/packaging/tidewell.nsi")"
classes_key='Software\Classes'
progid='Tidewell.SettingFile'
uninstaller_name='Uninstall Tidewell.exe'

fail() {
    printf 'installer test FAILED: %s\n' "$*" >&2
    exit 1
}
pass() { printf 'ok - %s\n' "$*" >&2; }

[ -n "$version" ] || fail "no project version in $WIN_BUILD/CMakeCache.txt"
[ "$preferences_key" != 'HKCU\' ] || fail "no PREFERENCES_KEY in packaging/tidewell.nsi"
[ -f "$installer" ] || fail "no installer at $installer (build the \"package\" target)"
[ -f "$portable" ] || fail "no portable archive at $portable (build the \"package\" target)"

# The portable archive: exactly the program and the read-me, the program being the built one.
entries=$(unzip -Z1 "$portable" | sort | tr '\n' ' ')
[ "$entries" = "README.txt tidewell.exe " ] || fail "portable archive holds: $entries"
unzip -p "$portable" tidewell.exe | cmp -s - "$program" || fail "portable tidewell.exe differs"
unzip -p "$portable" README.txt | grep -q "Tidewell $version" || fail "read-me lacks the version"
unzip -p "$portable" README.txt | head -1 | grep -q $'\r$' || fail "read-me lacks CR LF line ends"
pass "portable archive holds tidewell.exe and README.txt"

setup_wine
# Shortcuts would otherwise also become menu entries of the Linux desktop.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
if [ -z "${DISPLAY:-}" ]; then
    DISPLAY=":$(start_xvfb 1024x768)"
    export DISPLAY
    restart_wineserver
fi

# `wine reg` may run the 32-bit reg.exe, which sees HKLM\Software through WOW6432Node; the
# installer is 64-bit and writes the 64-bit view.
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

# Where the shell folders of this prefix are, in one start of cmd.
mapfile -t folders < <(wine cmd /c 'echo %APPDATA%&echo %ProgramData%&echo %ProgramW6432%' |
    tr -d '\r')
user_shortcut="$(unix_path "${folders[0]}")/Microsoft/Windows/Start Menu/Programs/Tidewell.lnk"
common_shortcut="$(unix_path "${folders[1]}")/Microsoft/Windows/Start Menu/Programs/Tidewell.lnk"
program_files="${folders[2]}"

# Remains of an earlier run that failed half-way would hide what this run does.
cleanup() {
    reg delete "HKCU\\$uninstall_key" /f >/dev/null 2>&1 || true
    reg delete "HKLM\\$uninstall_key" /f >/dev/null 2>&1 || true
    local root
    for root in HKCU HKLM; do
        reg delete "$root\\$classes_key\\.ppsv" /f >/dev/null 2>&1 || true
        reg delete "$root\\$classes_key\\$progid" /f >/dev/null 2>&1 || true
    done
    rm -rf "$WINEPREFIX/drive_c/tidewell-installer-test" "$(unix_path "$program_files\\Tidewell")"
    rm -f "$user_shortcut" "$common_shortcut"
}
cleanup

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
    # the request is repeated, once a second, until the program has ended.
    for _ in $(seq 1 10); do
        xdotool windowfocus --sync "$window" key alt+F4 2>/dev/null || true
        for _ in $(seq 1 10); do
            kill -0 "$wine_pid" 2>/dev/null || break 2
            sleep 0.1
        done
    done
    if kill -0 "$wine_pid" 2>/dev/null; then
        kill "$wine_pid" 2>/dev/null || true
        fail "the installed program did not end after Alt+F4"
    fi
    pass "program started from $exe_windows and showed its window"
}

# The uninstaller copies itself to a temporary folder and runs from there, so that it can delete
# its own file: the process started here ends at once. Waiting for the wineserver to exit waits
# for every Wine process of the prefix, the copy included.
# The command is the entry's QuietUninstallString: a quoted path, then switches.
uninstall_silently() {
    local command=$1 path switches
    shift
    path=${command#\"}
    path=${path%%\"*}
    read -r -a switches <<<"${command#\""$path"\"}"
    wine "$path" "${switches[@]}" "$@" >/dev/null 2>&1 || fail "uninstaller failed: $command $*"
    timeout 60 wineserver -w || fail "the uninstaller did not end within 60 s"
}

# Setting files: ".ppsv" names Tidewell's type in the installation's hive, and in no other, whose
# Open loads the file and whose Play verb plays it.
check_setting_files_registered() {
    local mode=$1 root=$2 other=$3 folder=$4 exe="\"$4\\tidewell.exe\""
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
# that shows it, and checks that what the file held is what the program then stored.
open_setting_file_through_the_shell() {
    local mode=$1 dir="$WINEPREFIX/drive_c/tidewell-installer-test"
    local key='HKCU\SOFTWARE\tidewell-tests\installer' show='C:\tidewell-installer-test\show.ppt'
    mkdir -p "$dir"
    : >"$dir/show.ppt"
    { printf '\xff\xfe'; printf '1\r\nC:\\windows\\notepad.exe\r\n%s\r\n' "$show" |
        iconv -f UTF-8 -t UTF-16LE; } >"$dir/Lobby.ppsv"
    reg delete "$key" /f >/dev/null 2>&1 || true
    TIDEWELL_PREFERENCES_KEY=${key#HKCU\\} start_and_close 'Lobby.ppsv (Open)' \
        cmd /c start "" /wait 'C:\tidewell-installer-test\Lobby.ppsv'
    [ "$(reg_value "$key" files)" = "$show" ] ||
        fail "$mode: opening Lobby.ppsv did not load it (stored playlist: $(reg_value "$key" files))"
    reg delete "$key" /f >/dev/null 2>&1 || true
    pass "$mode: opening a setting file loads it into Tidewell"
}

# One install and uninstall. Arguments: mode (CurrentUser or AllUsers), root key (HKCU or HKLM),
# install folder (Windows path), whether /D= names it, the shortcut expected, uninstall switches,
# and whether the preferences must survive the uninstall (yes or no).
install_cycle() {
    local mode=$1 root=$2 folder=$3 pass_folder=$4 shortcut=$5 uninstall_switches=$6 keep=$7
    local command dir
    dir=$(unix_path "$folder")
    # The installer reads /D= unquoted to the end of its command line, spaces included, as a user
    # types it into cmd; wine would quote an argument holding a space, so cmd gets the whole line.
    command="$(unix_path_to_windows "$installer") /S /$mode"
    [ "$pass_folder" = yes ] && command+=" /D=$folder"
    wine cmd /c "$command" >/dev/null 2>&1 || fail "$mode: installer exited non-zero"
    [ -f "$dir/tidewell.exe" ] || fail "$mode: no tidewell.exe in $folder"
    cmp -s "$dir/tidewell.exe" "$program" || fail "$mode: installed tidewell.exe is not the built one"
    [ -f "$dir/$uninstaller_name" ] || fail "$mode: no uninstaller in $folder"
    [ -f "$shortcut" ] || fail "$mode: no Start-menu shortcut at $shortcut"
    pass "$mode: installed into $folder with a Start-menu shortcut"

    local key="$root\\$uninstall_key"
    [ "$(reg_value "$key" DisplayName)" = "Tidewell" ] || fail "$mode: no uninstall entry $key"
    [ "$(reg_value "$key" DisplayVersion)" = "$version" ] ||
        fail "$mode: DisplayVersion is not $version"
    [ "$(reg_value "$key" InstallLocation)" = "$folder" ] ||
        fail "$mode: InstallLocation is not $folder"
    local quiet
    quiet=$(reg_value "$key" QuietUninstallString)
    [ "$quiet" = "\"$folder\\$uninstaller_name\" /$mode /S" ] ||
        fail "$mode: QuietUninstallString is $quiet"
    pass "$mode: uninstall entry under $root names version $version"
    local other=HKLM
    [ "$root" = HKLM ] && other=HKCU
    check_setting_files_registered "$mode" "$root" "$other" "$folder"
    # Wine's shell reads file types from HKLM\Software\Classes only (Windows merges the user's
    # own), so a per-user registration can be opened through the shell on Windows alone.
    [ "$root" = HKLM ] && open_setting_file_through_the_shell "$mode"

    start_and_close "$folder\\tidewell.exe"

    # Preferences as the program stores them; whether they survive is the uninstaller's choice.
    reg add "$preferences_key" /v monitorc /d 1 /f >/dev/null 2>&1 ||
        fail "could not seed the preferences"
    # shellcheck disable=SC2086 # no switches is no argument
    uninstall_silently "$quiet" $uninstall_switches
    [ ! -e "$dir" ] || fail "$mode: $folder still exists after uninstall: $(ls -A "$dir")"
    [ ! -e "$shortcut" ] || fail "$mode: shortcut left at $shortcut"
    if reg_key_exists "$key"; then fail "$mode: uninstall entry $key left"; fi
    check_setting_files_unregistered "$mode"
    if [ "$keep" = yes ] && ! reg_key_exists "$preferences_key"; then
        fail "$mode: silent uninstall removed the preferences"
    fi
    if [ "$keep" = no ] && reg_key_exists "$preferences_key"; then
        fail "$mode: /RemoveSettings left the preferences"
    fi
    pass "$mode: silent uninstall${uninstall_switches:+ $uninstall_switches} removed the program," \
        "the shortcut and the entry (preferences kept: $keep)"
}

start=$SECONDS
# The portable program registers nothing: only the installer does.
portable_dir="$WINEPREFIX/drive_c/tidewell-installer-test/portable"
mkdir -p "$portable_dir"
unzip -q -o "$portable" tidewell.exe -d "$portable_dir"
start_and_close 'C:\tidewell-installer-test\portable\tidewell.exe'
check_setting_files_unregistered "portable"
rm -rf "$portable_dir"
pass "the portable program registered no file type"
install_cycle CurrentUser HKCU 'C:\tidewell-installer-test\per user' yes "$user_shortcut" "" yes
install_cycle AllUsers HKLM "$program_files\\Tidewell" no "$common_shortcut" /RemoveSettings no
cleanup
pass "installer test passed in $((SECONDS - start)) s"
