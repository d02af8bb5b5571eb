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
TEST_NAME='installer test'
# shellcheck source=package_test_lib.sh
source "$(dirname "$0")/package_test_lib.sh"
installer="$WIN_BUILD/Tidewell-$version-setup.exe"
portable="$WIN_BUILD/Tidewell-$version-portable.zip"

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tidewell'
uninstaller_name='Uninstall Tidewell.exe'

[ -f "$installer" ] || fail "no installer at $installer (build the \"package\" target)"
[ -f "$portable" ] || fail "no portable archive at $portable (build the \"package\" target)"

# The portable archive: exactly the program and the read-me, the program being the built one.
entries=$(unzip -Z1 "$portable" | sort | tr '\n' ' ')
[ "$entries" = "README.txt tidewell.exe " ] || fail "portable archive holds: $entries"
unzip -p "$portable" tidewell.exe | cmp -s - "$program" || fail "portable tidewell.exe differs"
unzip -p "$portable" README.txt | grep -q "Tidewell $version" || fail "read-me lacks the version"
unzip -p "$portable" README.txt | head -1 | grep -q $'\r$' || fail "read-me lacks CR LF line ends"
pass "portable archive holds tidewell.exe and README.txt"

start_wine_for_packages

# Remains of an earlier run that failed half-way would hide what this run does.
cleanup() {
    reg delete "HKCU\\$uninstall_key" /f >/dev/null 2>&1 || true
    reg delete "HKLM\\$uninstall_key" /f >/dev/null 2>&1 || true
    local root
    for root in HKCU HKLM; do
        reg delete "$root\\$classes_key\\.ppsv" /f >/dev/null 2>&1 || true
        reg delete "$root\\$classes_key\\$progid" /f >/dev/null 2>&1 || true
    done
    rm -rf "$(unix_path "$TEST_FOLDER")" "$(unix_path "$program_files\\Tidewell")"
    rm -f "$user_shortcut" "$common_shortcut"
}
cleanup

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
    [ "$root" = HKLM ] && open_setting_file_through_the_shell "$mode"
    # Only an installation for all users may write the machine's registry.
    check_event_source "$mode" "$([ "$root" = HKLM ] && printf '%s' "$folder")"

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
    check_event_source "$mode: uninstalled" ""
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
portable_dir=$(unix_path "$TEST_FOLDER")/portable
mkdir -p "$portable_dir"
unzip -q -o "$portable" tidewell.exe -d "$portable_dir"
start_and_close "$TEST_FOLDER\\portable\\tidewell.exe"
check_setting_files_unregistered "portable"
check_event_source "portable" ""
rm -rf "$portable_dir"
pass "the portable program registered no file type"
install_cycle CurrentUser HKCU "$TEST_FOLDER\\per user" yes "$user_shortcut" "" yes
install_cycle AllUsers HKLM "$program_files\\Tidewell" no "$common_shortcut" /RemoveSettings no
cleanup
pass "installer test passed in $((SECONDS - start)) s"
